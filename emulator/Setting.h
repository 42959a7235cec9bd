#pragma once

#include "Frame.h"

namespace Emulator {

/// The unit's current setting: 128 one-byte codes, channel A in bytes 0..63, channel B in 64..127
/// with the same layout; byte 127 (channel B's last byte) holds the flags common to both.
inline constexpr int SettingSize = 128;
inline constexpr int ChannelSize = 64;
using Setting = std::array<Byte, SettingSize>;

/// Offsets inside a channel block.
inline constexpr int BandCount = 15;
inline constexpr int BandGain = 0; // + 3 * band
inline constexpr int BandFreq = 1;
inline constexpr int BandQ = 2;
inline constexpr int LimiterAttack = 45;
inline constexpr int LimiterRelease = 46;
inline constexpr int LimiterThreshold = 47;
inline constexpr int HighPassFreq = 51;
inline constexpr int HighPassSlope = 52;
inline constexpr int LowPassFreq = 53;
inline constexpr int LowPassSlope = 54;
inline constexpr int DelayMsHigh = 55;
inline constexpr int DelayMsLow = 56;
inline constexpr int DelayFine = 57;
inline constexpr int MuteByte = 58;
inline constexpr int GateOn = 59;
inline constexpr int GateThreshold = 60;
inline constexpr int GateTime = 61;
inline constexpr int GateAttack = 62;
/// Bytes 0..62 belong to the channel; byte 63 is reserved in A and the flags byte in B.
inline constexpr int ChannelParameterBytes = 63;

inline constexpr int FlagsByte = 127;
inline constexpr Byte FlagGraphicEq = 0x01;
inline constexpr Byte FlagLinked = 0x02;

inline constexpr int ChannelCount = 2;

} // namespace Emulator
