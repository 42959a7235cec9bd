#pragma once

#include "link/ModTxRx.h"

#include <array>
#include <cstdint>

/// The six level meters of the overview panel: decoding the unit's meter reply (command 0x21)
/// into lit segments and the colour of every segment. Depends on nothing else of ours; the panel
/// passes the mute state in.
namespace Meters {

inline constexpr int BarCount = 6;
inline constexpr int SegmentsPerBar = 7;
/// Bars: 0 input A, 1 input B, 2 output A, 3 output B, 4 limiter A, 5 limiter B.
inline constexpr int FirstOutputBar = 2;
inline constexpr int FirstLimiterBar = 4;

/// The raw values (byte x 256) that read 0 dB: bytes 91, 122 and 127.
inline constexpr double InputReference = 23296;
inline constexpr double OutputReference = 31232;
inline constexpr double LimiterReference = 32512;
/// A silent (or muted) level.
inline constexpr double SilentDb = -90;

struct State
{
    /// Lit segments of the six bars in entries 0..5; 6..8 are not used. Before any reply the
    /// level bars are dark and the limiters show no reduction.
    std::array<double, 9> MeterSegments{0, 0, 0, 0, 6, 6, 0, 0, 0};
    /// Limiter gain in dB of channels A and B from the last reply (entry 2 is not used).
    std::array<double, 3> LimiterGain{};
    /// The levels in dB that bars 0..3 show (input A, B, output A, B with its limiter gain).
    std::array<double, 4> LevelDb{SilentDb, SilentDb, SilentDb, SilentDb};
};

extern State state;

void Reset();

/// 20 log10(raw / reference) cut down to one decimal (towards minus infinity).
double DecibelsOf(double raw, double reference);

/// Level in dB to the lit segments 0..7 of a level bar.
int LevelToSegments(double levelDb);
/// Limiter gain in dB (0 or less) to the segments 0..6 of a limiter bar: 6 = no reduction.
int ReductionToSegments(double gainDb);

/// One meter poll (command 0x21) with the recovery rule. The reply is decoded only when the unit
/// answered the poll itself: after a reopen the last reply is the identity query's, and the bars
/// keep what they showed. Answers the link's outcome.
ModTxRx::LinkOutcome Poll(const std::array<double, 2> &mute);
/// Decodes the six data bytes of a meter reply (input A, input B, output A, output B, limiter A,
/// limiter B) into `state`. A muted channel shows a dark output bar and no limiter reduction.
/// The unit reports the output before its limiter, so the limiter gain is added to it.
void DecodeReply(const std::array<std::uint8_t, 6> &data, const std::array<double, 2> &mute);

enum class Colour { Off, Green, Orange, Red, Yellow };
using BarColours = std::array<Colour, SegmentsPerBar>;

/// Level bar with n lit segments, bottom first: green, the sixth orange, the seventh red.
BarColours LevelBarColours(int litSegments);
/// Limiter bar with n segments (6 = no reduction): the top is always red, below it the top
/// 6 - n segments green, the rest off.
BarColours LimiterBarColours(int segments);
/// An output bar shows its limiter working: while the limiter of the channel reduces the gain
/// and the output does not clip, its top segment is yellow.
BarColours OutputBarColours(int litSegments, int limiterSegments);

/// The colours of bar 0..5 from `state`.
BarColours BarColoursFor(int bar);

} // namespace Meters
