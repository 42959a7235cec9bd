#include "Meters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Emulator {

namespace {

/// A repeatable pseudo-random number in [0, 1) for a channel and a time slot.
double Noise(int channel, long slot)
{
    auto x = static_cast<std::uint32_t>(slot) * 2654435761u ^
        static_cast<std::uint32_t>(channel) * 40503u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (x & 0xFFFF) / 65536.0;
}

double Sine(double periodSeconds, double seconds, double phase)
{
    return std::sin(2 * std::numbers::pi * seconds / periodSeconds + phase);
}

Byte ToMeterByte(double zeroDb, double db)
{
    return static_cast<Byte>(std::clamp(std::lround(zeroDb * std::pow(10.0, db / 20)), 0L, 255L));
}

double LimiterThresholdDb(Byte code)
{
    return code / 5.0 - 30;
}

} // namespace

double MusicLevelDb(int channel, double seconds)
{
    const double phase = 1.3 * channel; // the same song, a slightly different mix on each side
    const double section =
        -12 + 5 * Sine(29, seconds, 0.4 * phase) + 3 * Sine(11.3, seconds, phase);
    const double beatPhase = std::fmod(seconds * 2 + 0.05 * channel, 1.0); // 120 beats a minute
    const double beat = 6 * std::exp(-6 * beatPhase);
    const double wobble = 1.5 * Sine(0.3, seconds, phase);
    const double noise = 2 * Noise(channel, std::lround(std::floor(seconds * 20))) - 1;
    return std::clamp(section + beat + wobble + noise, -40.0, 2.0);
}

MeterBytes ReadMeters(const Setting &setting, double seconds)
{
    MeterBytes meters{};
    for (int channel = 0; channel < ChannelCount; ++channel) {
        const int block = channel * ChannelSize;
        const double input = MusicLevelDb(channel, seconds);
        meters[channel] = ToMeterByte(InputZeroDb, input);
        if (setting[block + MuteByte] != 0) {
            meters[2 + channel] = 0;
            meters[4 + channel] = static_cast<Byte>(LimiterNoReduction);
            continue;
        }
        const double threshold = LimiterThresholdDb(setting[block + LimiterThreshold]);
        const double limited = std::min(input, threshold);
        meters[2 + channel] = ToMeterByte(OutputZeroDb, input);
        meters[4 + channel] = ToMeterByte(LimiterNoReduction, limited - input);
    }
    return meters;
}

} // namespace Emulator
