#pragma once

#include "Setting.h"

namespace Emulator {

/// Meter reply bytes r0..r5: input A, input B, output A, output B, limiter A, limiter B.
using MeterBytes = std::array<Byte, 6>;

/// Meter scales: the byte that reads 0 dB on each kind of meter.
inline constexpr double InputZeroDb = 91;
inline constexpr double OutputZeroDb = 122;
inline constexpr double LimiterNoReduction = 127;

/// The level of the music playing into `channel` at `seconds` since start, in dB on the input
/// scale: slow song sections, a beat and some short-term movement, mostly between -25 and +1 dB.
double MusicLevelDb(int channel, double seconds);

/// The six meters at `seconds`: a muted channel shows its input but a dark output and no limiter
/// activity. The output meter reports the level before the limiter; a level above the channel's
/// limiter threshold shows the reduction down to the threshold on the limiter meter (the program
/// adds the two to show what leaves the unit).
MeterBytes ReadMeters(const Setting &setting, double seconds);

} // namespace Emulator
