#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include <QString>

/// The value tables that turn the unit's one-byte codes into shown values, the factory preset
/// images and the block offsets inside the parameter image. All of it is constant data, built
/// by the compiler and never changed. Depends on nothing else of ours.
namespace ValueTables {

inline constexpr int ImageSize = 129;
inline constexpr int PresetImageSize = 128;
inline constexpr int ChannelBlockSize = 64;
inline constexpr int BandsPerChannel = 15;
inline constexpr int BandCount = 30;
inline constexpr int FilterCount = 4;
inline constexpr int FactoryPresetCount = 16;
/// The common flags byte: bit 0 graphic equaliser, bit 1 channels linked.
inline constexpr int FlagsByteIndex = 127;

using PresetImage = std::array<std::uint8_t, PresetImageSize>;

// clang-format off
inline constexpr std::array<double, 121> FreqTable{
    20, 21, 22, 23, 25, 26, 28, 30, 31, 33, 36, 38, 40, 42, 45, 47, 50, 53, 57, 59, 63, 67, 71,
    76, 80, 85, 90, 95, 100, 106, 113, 119, 125, 134, 143, 151, 160, 170, 180, 190, 200, 212,
    225, 237, 250, 266, 283, 299, 315, 336, 358, 379, 400, 425, 450, 475, 500, 532, 565, 597,
    630, 672, 715, 757, 800, 850, 900, 950, 1000, 1062, 1125, 1187, 1250, 1337, 1425, 1512,
    1600, 1700, 1800, 1900, 2000, 2125, 2250, 2375, 2500, 2662, 2825, 2987, 3150, 3362, 3575,
    3787, 4000, 4250, 4500, 4750, 5000, 5325, 5650, 5975, 6300, 6725, 7150, 7575, 8000, 8500,
    9000, 9500, 10000, 10625, 11250, 11875, 12500, 13375, 14250, 15125, 16000, 17000, 18000,
    19000, 20000};
// clang-format on

namespace detail {

/// Q of code k; each entry is the double nearest to its decimal value (0.45, 1.1, ...).
constexpr double QOfCode(int k)
{
    if (k < 12)
        return (40 + 5 * k) / 100.0;
    if (k < 102)
        return (10 + (k - 12)) / 10.0;
    return k - 92;
}

template<std::size_t N, class Entry> constexpr std::array<double, N> MakeTable(Entry entry)
{
    std::array<double, N> table{};
    for (std::size_t k = 0; k < N; ++k)
        table[k] = entry(static_cast<int>(k));
    return table;
}

} // namespace detail

inline constexpr auto QTable = detail::MakeTable<221>(detail::QOfCode);
inline constexpr auto AttackTable = detail::MakeTable<50>([](int k) { return k + 1.0; });
inline constexpr auto ReleaseTable =
    detail::MakeTable<206>([](int k) { return k <= 175 ? k + 25.0 : 200.0 + 5 * (k - 175); });
inline constexpr std::array<double, 9> GateTimeTable{1, 5, 10, 15, 20, 30, 40, 60, 80};

inline constexpr std::array<const char *, 3> SlopeNames{"Bypass", "-6dB/oct", "-12dB/oct"};
inline constexpr std::array<const char *, 2> DelayUnitNames{" ms", " m"};

/// The frequency range of the tables, the curves and the typed frequencies.
inline constexpr double LowestHz = FreqTable.front();
inline constexpr double HighestHz = FreqTable.back();

// The last code of each value: its table's last entry, or the last of its steps.
/// Equaliser gain: -15 .. +15 dB in 0.5 dB steps.
inline constexpr int LastGainCode = 60;
inline constexpr int LastFreqCode = static_cast<int>(FreqTable.size()) - 1;
inline constexpr int LastQCode = static_cast<int>(QTable.size()) - 1;
inline constexpr int LastSlopeCode = static_cast<int>(SlopeNames.size()) - 1;
inline constexpr int LastAttackCode = static_cast<int>(AttackTable.size()) - 1;
inline constexpr int LastReleaseCode = static_cast<int>(ReleaseTable.size()) - 1;
/// Limiter threshold: -30 .. 0 dB in 0.2 dB steps.
inline constexpr int LastThresholdCode = 150;
/// Gate threshold: -90 .. -60 dB in 5 dB steps.
inline constexpr int LastGateThresholdCode = 6;
inline constexpr int LastGateTimeCode = static_cast<int>(GateTimeTable.size()) - 1;
/// Gate attack: 0.5 .. 1.0 s in 0.1 s steps.
inline constexpr int LastGateAttackCode = 5;

/// The delay: whole milliseconds 0..300 (two bytes), then 0..47 fine steps of 0.0208 ms; shown
/// as a distance at 0.34 m a millisecond.
inline constexpr int LastDelayMs = 300;
inline constexpr int LastDelayFineCode = 47;
inline constexpr double DelayFineStepMs = 0.0208;
inline constexpr double MetresPerMs = 0.34;

inline constexpr std::array<const char *, FactoryPresetCount> FactoryPresetNames{
    "  Flat  ", "bass_deb", "bbc_mon ", " brilli ", " hi_def ", "Loudness", "Percuss.", "presence",
    "  Soft  ", "S. boost", "Virt Sub", "FemVoice", "  Flat  ", "bbc_mon ", " brilli ", "Loudness"};

/// Byte positions of each block in the parameter image, channel A first.
inline constexpr auto EqBandOffsets = [] {
    std::array<int, BandCount> offsets{};
    for (int b = 0; b < BandCount; ++b)
        offsets[b] = (b / BandsPerChannel) * ChannelBlockSize + 3 * (b % BandsPerChannel);
    return offsets;
}();
inline constexpr std::array<int, 2> LimiterOffsets{45, 109};
/// A high-pass, A low-pass, B high-pass, B low-pass.
inline constexpr std::array<int, FilterCount> CrossoverOffsets{51, 53, 115, 117};
inline constexpr std::array<int, 2> DelayOffsets{55, 119};
inline constexpr std::array<int, 2> MuteOffsets{58, 122};
inline constexpr std::array<int, 2> GateOffsets{59, 123};
/// Bytes of each block from its offset: gain, frequency, Q; frequency, slope; ms high, ms low,
/// fine; on, threshold, time, attack; attack, release, threshold.
inline constexpr int EqBandSize = 3;
inline constexpr int CrossoverSize = 2;
inline constexpr int DelaySize = 3;
inline constexpr int GateSize = 4;
inline constexpr int LimiterSize = 3;

namespace detail {

using Gains = std::array<std::uint8_t, BandsPerChannel>;

/// Every factory preset: bands on the 2/3-octave frequencies with one Q, limiter 5 ms / 100 ms /
/// 0 dB, filters bypassed at 20 Hz and 20 kHz, no delay, not muted, gate off, linked parametric.
constexpr PresetImage MakeFactoryImage(std::uint8_t qCode, const Gains &gains)
{
    constexpr std::array<std::uint8_t, 19> tail{4, 75, 150, 24, 68, 0, 0, 0, 120, 0,
                                                0, 0,  0,   0,  0,  0, 0, 0, 0};
    PresetImage image{};
    for (int channel = 0; channel < 2; ++channel) {
        const int base = channel * ChannelBlockSize;
        for (int k = 0; k < BandsPerChannel; ++k) {
            image[base + 3 * k] = gains[k];
            image[base + 3 * k + 1] = static_cast<std::uint8_t>(4 + 8 * k);
            image[base + 3 * k + 2] = qCode;
        }
        for (std::size_t i = 0; i < tail.size(); ++i)
            image[base + 45 + i] = tail[i];
    }
    image[FlagsByteIndex] = 2;
    return image;
}

// clang-format off
inline constexpr std::array<Gains, FactoryPresetCount> FactoryGains{{
    {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {29, 30, 25, 24, 24, 28, 30, 30, 30, 30, 34, 36, 36, 35, 30},
    {6, 24, 29, 34, 35, 34, 30, 30, 30, 30, 34, 35, 38, 34, 35},
    {30, 30, 38, 40, 35, 32, 30, 30, 38, 38, 30, 34, 34, 45, 36},
    {30, 30, 30, 30, 30, 30, 30, 30, 30, 34, 36, 32, 39, 52, 32},
    {30, 30, 41, 40, 36, 32, 30, 30, 30, 30, 30, 34, 36, 43, 31},
    {25, 29, 29, 46, 29, 44, 32, 30, 30, 30, 30, 35, 45, 28, 39},
    {25, 28, 28, 28, 28, 29, 29, 30, 32, 36, 39, 40, 36, 30, 25},
    {30, 32, 38, 35, 35, 32, 33, 32, 30, 30, 35, 34, 32, 28, 17},
    {30, 42, 46, 44, 44, 30, 30, 30, 30, 30, 42, 41, 42, 48, 30},
    {30, 35, 41, 42, 39, 30, 30, 30, 30, 30, 30, 31, 31, 31, 30},
    {30, 30, 30, 30, 30, 35, 39, 42, 43, 36, 30, 30, 45, 42, 30},
    {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {6, 24, 29, 34, 35, 34, 30, 30, 30, 30, 34, 35, 38, 34, 35},
    {30, 30, 38, 40, 35, 32, 30, 30, 38, 38, 30, 34, 34, 45, 36},
    {30, 30, 41, 40, 36, 32, 30, 30, 30, 30, 30, 34, 36, 43, 31}}};
// clang-format on

} // namespace detail

inline constexpr auto FactoryPresetImages = [] {
    std::array<PresetImage, FactoryPresetCount> images{};
    for (int n = 0; n < FactoryPresetCount; ++n)
        images[n] = detail::MakeFactoryImage(n < 12 ? 24 : 12, detail::FactoryGains[n]);
    return images;
}();

/// The demo-mode starting image: factory preset 1.
inline constexpr const PresetImage &DefaultImage = FactoryPresetImages[0];

/// The second code the password window accepts (it toggles the service flag instead of
/// unlocking); compared as capitals, one character per entry.
inline constexpr std::array<const char *, 4> ServiceCode{"Q", "7", "R", "F"};

/// Entry `code` of a table, with a code outside the table taken as the nearest end, so no code
/// from a file or from the unit can read past it.
template<class Entry, std::size_t N> constexpr Entry At(const std::array<Entry, N> &table, int code)
{
    return table[static_cast<std::size_t>(std::clamp(code, 0, static_cast<int>(N) - 1))];
}

/// A name table entry as text (out-of-range codes as in `At`).
template<std::size_t N> QString NameAt(const std::array<const char *, N> &table, int code)
{
    return QString::fromLatin1(At(table, code));
}

/// A code held as a double (`BandQCode`, `CrossoverSlope`) as a table index: NaN and values
/// outside the int range become 0 before `At` clamps.
int CodeOf(double code);

/// The nearest-value search shared by the typed-number checks and the frequency searches:
/// points 0..last in rising order; the exact point wins, a value halfway between two points
/// goes to the lower one, below the first gives 0 and above the last gives `last`.
template<class Point> int NearestPointIndex(double x, Point point, int last)
{
    int lower = 0;
    for (int k = 0; k <= last; ++k) {
        const double g = point(k);
        if (g < x) {
            lower = k;
            continue;
        }
        if (g == x)
            return k;
        const double below = x - point(lower);
        const double above = g - x;
        return above >= below ? lower : k;
    }
    return last;
}

/// `NearestPointIndex` over a whole table of rising doubles.
int NearestTableIndex(double x, std::span<const double> table);

} // namespace ValueTables
