#pragma once

#include "Frame.h"

namespace Emulator {

/// The unit's non-volatile memory: 4096 bytes addressed by 16-bit addresses.
inline constexpr int MemorySize = 4096;
using Memory = std::array<Byte, MemorySize>;

/// Bit 7 locks the front panel, bit 6 shows delays as distance.
inline constexpr int LockAddress = 0x0010;
inline constexpr int CurrentPresetAddress = 0x0013;
/// Four character codes, read back with a four-byte read.
inline constexpr int PasswordAddress = 0x001A;
inline constexpr int PasswordSize = 4;
/// A one-byte write here carries the whole new password in its data bytes d2..d5.
inline constexpr int PasswordWriteAddress = 0x001E;
inline constexpr Byte DefaultPasswordCode = 0x30; // "0000"
/// One mark per user place; the place holds a preset when its mark is 0x55 ("U").
inline constexpr int UsedMarkAddress = 0x0030;
inline constexpr Byte UsedMark = 0x55;
inline constexpr int UserPlaceCount = 16;
inline constexpr int PresetImageAddress = 288; // + place * 128
inline constexpr int PresetNameAddress = 3872; // + place * 8
inline constexpr int PresetNameSize = 8;

/// Memory of a unit fresh from the factory: unlocked, preset 1, password "0000", no user preset.
Memory FreshMemory();

/// Reads as 0 outside the memory.
Byte ReadMemory(const Memory &memory, int address);
/// Ignored outside the memory.
void WriteMemory(Memory &memory, int address, Byte value);

inline int PresetImageAddressOf(int place)
{
    return PresetImageAddress + place * 128;
}
inline bool PlaceUsed(const Memory &memory, int place)
{
    return ReadMemory(memory, UsedMarkAddress + place) == UsedMark;
}

} // namespace Emulator
