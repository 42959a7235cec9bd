#include "FactoryPresets.h"

namespace Emulator {

namespace {

struct FactoryRow
{
    Byte qCode;
    std::array<Byte, BandCount> gains;
};

// The firmware's 16 presets differ only in their equaliser Q and gains; everything else is flat.
constexpr std::array<FactoryRow, FactoryPresetCount> FactoryRows{{
    {24, {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}}, // "  Flat  "
    {24, {29, 30, 25, 24, 24, 28, 30, 30, 30, 30, 34, 36, 36, 35, 30}}, // "bass_deb"
    {24, {6, 24, 29, 34, 35, 34, 30, 30, 30, 30, 34, 35, 38, 34, 35}}, // "bbc_mon "
    {24, {30, 30, 38, 40, 35, 32, 30, 30, 38, 38, 30, 34, 34, 45, 36}}, // " brilli "
    {24, {30, 30, 30, 30, 30, 30, 30, 30, 30, 34, 36, 32, 39, 52, 32}}, // " hi_def "
    {24, {30, 30, 41, 40, 36, 32, 30, 30, 30, 30, 30, 34, 36, 43, 31}}, // "Loudness"
    {24, {25, 29, 29, 46, 29, 44, 32, 30, 30, 30, 30, 35, 45, 28, 39}}, // "Percuss."
    {24, {25, 28, 28, 28, 28, 29, 29, 30, 32, 36, 39, 40, 36, 30, 25}}, // "presence"
    {24, {30, 32, 38, 35, 35, 32, 33, 32, 30, 30, 35, 34, 32, 28, 17}}, // "  Soft  "
    {24, {30, 42, 46, 44, 44, 30, 30, 30, 30, 30, 42, 41, 42, 48, 30}}, // "S. boost"
    {24, {30, 35, 41, 42, 39, 30, 30, 30, 30, 30, 30, 31, 31, 31, 30}}, // "Virt Sub"
    {24, {30, 30, 30, 30, 30, 35, 39, 42, 43, 36, 30, 30, 45, 42, 30}}, // "FemVoice"
    {12, {30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}}, // "  Flat  "
    {12, {6, 24, 29, 34, 35, 34, 30, 30, 30, 30, 34, 35, 38, 34, 35}}, // "bbc_mon "
    {12, {30, 30, 38, 40, 35, 32, 30, 30, 38, 38, 30, 34, 34, 45, 36}}, // " brilli "
    {12, {30, 30, 41, 40, 36, 32, 30, 30, 30, 30, 30, 34, 36, 43, 31}}, // "Loudness"
}};

/// Channel bytes 45..62 of every factory preset: limiter 5 ms / 100 ms / 0 dB, filters bypassed
/// at 20 Hz and 20 kHz, no delay, not muted, gate off.
constexpr std::array<Byte, 18> FactoryTail{4, 75, 150, 24, 68, 0, 0, 0, 120,
                                           0, 0,  0,   0,  0,  0, 0, 0, 0};

void FillChannel(Setting &setting, int channel, const FactoryRow &row)
{
    const int base = channel * ChannelSize;
    for (int band = 0; band < BandCount; ++band) {
        setting[base + band * 3 + BandGain] = row.gains[band];
        setting[base + band * 3 + BandFreq] = static_cast<Byte>(4 + 8 * band);
        setting[base + band * 3 + BandQ] = row.qCode;
    }
    for (std::size_t i = 0; i < FactoryTail.size(); ++i)
        setting[base + LimiterAttack + i] = FactoryTail[i];
}

} // namespace

Setting FactoryPreset(int index)
{
    Setting setting{};
    if (index < 0 || index >= FactoryPresetCount)
        return setting;
    FillChannel(setting, 0, FactoryRows[index]);
    FillChannel(setting, 1, FactoryRows[index]);
    setting[FlagsByte] = FlagLinked;
    return setting;
}

} // namespace Emulator
