#include "model/SystemFlags.h"

#include "link/ModTxRx.h"
#include "link/UnitProtocol.h"
#include "model/ModFun.h"

namespace SystemFlags {

State state;

void Reset()
{
    state = State{};
}

void KeepSystemFlags(std::uint8_t unitByte)
{
    state.Byte = unitByte & (LockBit | DistanceBit);
    ModFun::state.DelayInMetres = (unitByte & DistanceBit) ? 1.0 : 0.0;
}

void SetLockBit(bool locked)
{
    state.Byte = locked ? (state.Byte | LockBit) : (state.Byte & ~LockBit);
}

void SetDistanceUnit(bool metres)
{
    ModFun::state.DelayInMetres = metres ? 1.0 : 0.0;
    state.Byte = metres ? (state.Byte | DistanceBit) : (state.Byte & ~DistanceBit);
}

void SendSystemFlags()
{
    ModTxRx::TransferFrame(UnitProtocol::WriteMemoryCommand, 0, UnitProtocol::SystemFlagsAddress, 0,
                           state.Byte, 0, 0);
}

} // namespace SystemFlags
