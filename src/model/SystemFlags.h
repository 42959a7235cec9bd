#pragma once

#include <cstdint>

/// The unit's system flags byte (address 0x0010) as the program holds it: the lock window owns
/// bit 7, the delay editor bit 6, and each changes only its own bit. Depends on model/ModFun
/// (the delays are shown in metres with the distance bit) and link (the frame).
namespace SystemFlags {

inline constexpr std::uint8_t LockBit = 0x80;
inline constexpr std::uint8_t DistanceBit = 0x40;

struct State
{
    std::uint8_t Byte = 0;
};

extern State state;

void Reset();

/// Keeps the lock and distance bits of the byte read from the unit; the delays are shown in
/// metres when its distance bit is set.
void KeepSystemFlags(std::uint8_t unitByte);
void SetLockBit(bool locked);
/// Delays in metres or milliseconds: `ModFun::state.DelayInMetres` and the distance bit together.
void SetDistanceUnit(bool metres);
/// Writes the byte into the unit's memory at 0x0010 (command 0x11), both bits as held.
void SendSystemFlags();

} // namespace SystemFlags
