#include "editors/Meters.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "link/UnitProtocol.h"

namespace Meters {

State state;

namespace {

constexpr int LimiterNoReduction = 6;
constexpr int TopSegment = SegmentsPerBar - 1;

struct Threshold
{
    double atLeast;
    int segments;
};

constexpr Threshold LevelThresholds[] = {
    {0.1, 7}, {-3.1, 6}, {-6.1, 5}, {-9.1, 4}, {-12.1, 3}, {-15.1, 2}, {-20.1, 1},
};

constexpr Threshold ReductionThresholds[] = {
    {-0.1, 6}, {-2.9, 5}, {-5.9, 4}, {-8.9, 3}, {-11.9, 2}, {-14.9, 1},
};

int SegmentsFor(double value, std::span<const Threshold> thresholds)
{
    for (const Threshold &row : thresholds) {
        if (value >= row.atLeast)
            return row.segments;
    }
    return 0;
}

double RawOf(std::uint8_t byte)
{
    return byte * 256.0;
}

double LevelOf(std::uint8_t byte, double reference)
{
    return byte == 0 ? SilentDb : DecibelsOf(RawOf(byte), reference);
}

bool IsMuted(double mute)
{
    return mute == 1.0;
}

} // namespace

void Reset()
{
    state = State{};
}

double DecibelsOf(double raw, double reference)
{
    return std::floor(20 * std::log10(raw / reference) * 10) / 10;
}

int LevelToSegments(double levelDb)
{
    return SegmentsFor(levelDb, LevelThresholds);
}

int ReductionToSegments(double gainDb)
{
    return SegmentsFor(gainDb, ReductionThresholds);
}

void DecodeReply(const std::array<std::uint8_t, 6> &data, const std::array<double, 2> &mute)
{
    for (int channel = 0; channel < 2; ++channel) {
        state.LevelDb[channel] = LevelOf(data[channel], InputReference);
        state.MeterSegments[channel] = LevelToSegments(state.LevelDb[channel]);

        const std::uint8_t limiter = data[FirstLimiterBar + channel];
        double gain = limiter == 0 ? 0 : DecibelsOf(RawOf(limiter), LimiterReference);
        if (IsMuted(mute[channel]))
            gain = 0;
        state.LimiterGain[channel] = gain;
        state.MeterSegments[FirstLimiterBar + channel] = ReductionToSegments(gain);

        double output = LevelOf(data[FirstOutputBar + channel], OutputReference);
        if (IsMuted(mute[channel]))
            output = SilentDb;
        state.LevelDb[FirstOutputBar + channel] = output + gain;
        state.MeterSegments[FirstOutputBar + channel] = LevelToSegments(output + gain);
    }
}

BarColours LevelBarColours(int litSegments)
{
    BarColours colours;
    for (int k = 0; k < SegmentsPerBar; ++k) {
        const Colour lit = k < 5 ? Colour::Green : (k == 5 ? Colour::Orange : Colour::Red);
        colours[k] = k < litSegments ? lit : Colour::Off;
    }
    return colours;
}

BarColours LimiterBarColours(int segments)
{
    // Each segment below the top that the reduction reaches is green, from the top down.
    BarColours colours;
    const int firstGreen = std::clamp(segments, 0, LimiterNoReduction);
    for (int k = 0; k < TopSegment; ++k)
        colours[k] = k >= firstGreen ? Colour::Green : Colour::Off;
    colours[TopSegment] = Colour::Red;
    return colours;
}

BarColours OutputBarColours(int litSegments, int limiterSegments)
{
    BarColours colours = LevelBarColours(litSegments);
    if (limiterSegments != LimiterNoReduction && colours[TopSegment] == Colour::Off)
        colours[TopSegment] = Colour::Yellow;
    return colours;
}

BarColours BarColoursFor(int bar)
{
    const auto segments = [](int b) { return static_cast<int>(state.MeterSegments[b]); };
    if (bar >= FirstLimiterBar)
        return LimiterBarColours(segments(bar));
    if (bar >= FirstOutputBar)
        return OutputBarColours(segments(bar), segments(bar + 2));
    return LevelBarColours(segments(bar));
}

ModTxRx::LinkOutcome Poll(const std::array<double, 2> &mute)
{
    ModTxRx::TransferFrame(UnitProtocol::MeterPollCommand, 0, 0, 0, 0, 0, 0);
    const bool answered = !ModTxRx::state.TransferFailed;
    const ModTxRx::LinkOutcome outcome = ModTxRx::RecoverFromFailure();
    if (answered && outcome == ModTxRx::LinkOutcome::LinkUp) {
        const auto &rx = ModTxRx::state.RxFrame;
        DecodeReply({rx[3], rx[4], rx[5], rx[6], rx[7], rx[8]}, mute);
    }
    return outcome;
}

} // namespace Meters
