#include "model/SystemFlags.h"

#include "link/ModTxRx.h"
#include "model/ModFun.h"

namespace SystemFlags {

State state;

namespace {

constexpr std::uint8_t MemoryWriteCommand = 0x11;
constexpr std::uint8_t SystemFlagsAddress = 0x10;

} // namespace

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
    ModTxRx::TransferFrame(MemoryWriteCommand, 0, SystemFlagsAddress, 0, state.Byte, 0, 0);
}

} // namespace SystemFlags
