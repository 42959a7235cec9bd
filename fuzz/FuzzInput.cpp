#include "FuzzInput.h"

#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "presets/ModPreset.h"
#include "shell/Messages.h"

int FuzzSerial::Open(const QString &, int)
{
    open = input.Byte() % 8 != 0;
    return open ? 0 : 1;
}

int FuzzSerial::Exchange(FrameBuffer &buffer, int, bool, bool, int)
{
    const std::uint8_t choice = input.Byte();
    if (choice % 16 == 15)
        return ExchangeTimeout;
    for (std::uint8_t &byte : buffer)
        byte = input.Byte();
    return ExchangeOk;
}

void ResetProgramWithSerial(SerialComponent *serial)
{
    Messages::Reset();
    ModTxRx::Reset();
    ModFun::Reset();
    ModPreset::Reset();
    ModLock::Reset();
    ModTxRx::state.SerialPort = serial;
}
