// Any meter reply with any mute state: every bar shows a count inside its scale, a louder byte
// never shows less, a muted channel shows a dark output and no limiter work, and the bars light as
// many segments as their counts say.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "FuzzInput.h"
#include "editors/Meters.h"

namespace {

using Reply = std::array<std::uint8_t, 6>;
using Mute = std::array<double, 2>;

constexpr int LevelTop = 7;
constexpr int NoReduction = 6;

/// The mute as the model may hold it: off, on, or any double at all.
double MuteFrom(FuzzInput &input)
{
    switch (input.Byte() % 4) {
    case 0:
        return 0;
    case 1:
        return 1.0;
    default: {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | input.Byte();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

int Segments(int bar)
{
    const double count = Meters::state.MeterSegments[bar];
    Require(count == std::floor(count), "whole segment counts");
    const int top = bar >= Meters::FirstLimiterBar ? NoReduction : LevelTop;
    Require(count >= 0 && count <= top, "segment count inside the bar");
    return static_cast<int>(count);
}

std::array<int, Meters::BarCount> Decode(const Reply &reply, const Mute &mute)
{
    Meters::Reset();
    Meters::DecodeReply(reply, mute);
    std::array<int, Meters::BarCount> segments{};
    for (int bar = 0; bar < Meters::BarCount; ++bar)
        segments[bar] = Segments(bar);
    for (std::size_t unused = Meters::BarCount; unused < Meters::state.MeterSegments.size();
         ++unused)
        Require(Meters::state.MeterSegments[unused] == 0, "unused entries untouched");
    return segments;
}

int CountOf(const Meters::BarColours &colours, Meters::Colour colour)
{
    return static_cast<int>(std::count(colours.begin(), colours.end(), colour));
}

void CheckBars(const std::array<int, Meters::BarCount> &segments)
{
    using Meters::Colour;
    for (int bar = 0; bar < Meters::BarCount; ++bar) {
        const Meters::BarColours colours = Meters::BarColoursFor(bar);
        if (bar >= Meters::FirstLimiterBar) {
            Require(colours.back() == Colour::Red, "limiter top always red");
            Require(CountOf(colours, Colour::Green) == NoReduction - segments[bar],
                    "one green segment per step of reduction");
            continue;
        }
        const int dark = CountOf(colours, Colour::Off);
        const int yellow = CountOf(colours, Colour::Yellow);
        Require(Meters::SegmentsPerBar - dark - yellow == segments[bar], "lit segments = count");
        const bool limiting = bar >= Meters::FirstOutputBar &&
            segments[bar + Meters::FirstLimiterBar - Meters::FirstOutputBar] != NoReduction;
        Require(yellow == (limiting && segments[bar] < LevelTop ? 1 : 0),
                "yellow top exactly while the limiter works below clip");
    }
}

void CheckGainsAndMute(const Reply &reply, const Mute &mute)
{
    // A limiter byte reads 20 log10(byte / 127) dB: from about -42.1 (byte 1) to +6.1 (byte 255).
    for (int channel = 0; channel < 2; ++channel) {
        const double gain = Meters::state.LimiterGain[channel];
        Require(std::isfinite(gain) && gain >= -42.1 && gain <= 6.1, "limiter gain in range");
        const bool silentLimiter = reply[Meters::FirstLimiterBar + channel] == 0;
        if (mute[channel] == 1.0 || silentLimiter)
            Require(gain == 0, "no limiter work when muted or silent");
        if (mute[channel] == 1.0)
            Require(Meters::state.MeterSegments[Meters::FirstOutputBar + channel] == 0,
                    "muted output dark");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    Reply reply{};
    for (std::uint8_t &byte : reply)
        byte = input.Byte();
    const Mute mute{MuteFrom(input), MuteFrom(input)};

    const auto segments = Decode(reply, mute);
    CheckGainsAndMute(reply, mute);
    CheckBars(segments);

    // Raising any one byte of the reply lowers no bar; a limiter byte of 0 is the unit's "no
    // reduction", so its step to 1 is left out.
    for (std::size_t raised = 0; raised < reply.size(); ++raised) {
        const bool limiterFromZero = raised >= Meters::FirstLimiterBar && reply[raised] == 0;
        if (reply[raised] == 255 || limiterFromZero)
            continue;
        Reply louder = reply;
        ++louder[raised];
        const auto after = Decode(louder, mute);
        for (int bar = 0; bar < Meters::BarCount; ++bar)
            Require(after[bar] >= segments[bar], "a louder byte lowers no bar");
    }
    return 0;
}
