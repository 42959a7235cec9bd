#pragma once

#include <array>
#include <cstdint>

/// The unit's password and lock state as the program holds them. The lock bit itself lives in
/// the system flags byte of the parameter model (`ModFun::SetLockBit`), which it shares with the
/// delay editor's distance bit.
namespace ModLock {

struct State
{
    /// Character codes of the unit's 4-character password.
    std::array<int, 4> StoredPassword {};
    /// 1 = locked.
    std::int16_t LockState = 0;
    /// Shows the "Preset factory to PC" button; toggled by the service code.
    bool ServiceFlag = false;
};

extern State state;

void Reset();

} // namespace ModLock
