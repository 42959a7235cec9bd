#include "eqimport/EqPlan.h"

#include <cmath>

#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "model/SettingHistory.h"

namespace EqPlan {

using namespace ValueTables;

namespace {

constexpr std::uint8_t GraphicBit = 1;

ChannelBands FlatBands(Mode mode, const ChannelBands &current)
{
    ChannelBands bands = current;
    for (int k = 0; k < BandsPerChannel; ++k) {
        bands[k].gain = FilterEdit::FlatSlider;
        if (mode == Mode::Graphic)
            bands[k] = {FilterEdit::FlatSlider, FilterEdit::GraphicFrequencyIndex(k),
                        FilterEdit::GraphicQIndex};
    }
    return bands;
}

int GainCode(double gainDb, QStringList &notes)
{
    const int code = NearestPointIndex(gainDb, FilterEdit::GainOfIndex, LastGainCode);
    if (std::fabs(gainDb) > FilterEdit::GainOfIndex(LastGainCode))
        notes << QStringLiteral("gain clipped to %1 dB").arg(FilterEdit::GainOfIndex(code));
    return code;
}

int FrequencyCode(double hz, QStringList &notes)
{
    const int code = ModGraph::NearestFrequencyIndex(hz);
    if (hz < LowestHz || hz > HighestHz)
        notes << QStringLiteral("Fc clipped to %1 Hz").arg(FreqTable[code]);
    return code;
}

/// Parametric: the next free band with the nearest table values.
void PlaceParametric(Row &row, Plan &plan, int &nextBand)
{
    if (nextBand == BandsPerChannel) {
        row.notes << QStringLiteral("not imported: the unit has %1 bands").arg(BandsPerChannel);
        return;
    }
    const EqText::Filter &given = row.given;
    row.codes.gain = GainCode(given.gainDb, row.notes);
    row.codes.frequency = FrequencyCode(given.frequencyHz, row.notes);
    row.codes.q = QCodeFor(given.q, row.codes.gain);
    const double wanted = given.q * ModGraph::QDivisor(FilterEdit::GainOfIndex(row.codes.gain));
    if (wanted - 0.1 < QTable.front() || wanted - 0.1 > QTable.back())
        row.notes << QStringLiteral("Q clipped to the unit's range");
    row.band = nextBand++;
    plan.bands[row.band] = row.codes;
}

/// Graphic: the gain of the band whose fixed frequency is nearest (on the log scale).
void PlaceGraphic(Row &row, Plan &plan, std::array<int, BandsPerChannel> &takenByLine)
{
    const double logHz = std::log(row.given.frequencyHz);
    const int band = NearestPointIndex(
        logHz, [](int k) { return std::log(FreqTable[FilterEdit::GraphicFrequencyIndex(k)]); },
        BandsPerChannel - 1);
    if (takenByLine[band] != 0) {
        row.notes << QStringLiteral("not imported: band %1 holds the filter of line %2")
                         .arg(band + 1)
                         .arg(takenByLine[band]);
        return;
    }
    takenByLine[band] = row.given.line;
    row.codes = plan.bands[band];
    row.codes.gain = GainCode(row.given.gainDb, row.notes);
    row.notes << QStringLiteral("graphic: the band's own Fc and Q");
    row.band = band;
    plan.bands[band] = row.codes;
}

QString StepName(Channels channels)
{
    const QString name = QStringLiteral("EQ import");
    return channels == Channels::Both ? name
                                      : ModFun::ChannelStepName(static_cast<int>(channels), name);
}

} // namespace

int QCodeFor(double q, int gainCode)
{
    const double divisor = ModGraph::QDivisor(FilterEdit::GainOfIndex(gainCode));
    return NearestTableIndex(q * divisor - 0.1, QTable);
}

Plan MakePlan(const EqText::Read &read, Mode mode, const ChannelBands &current)
{
    Plan plan;
    plan.mode = mode;
    plan.bands = FlatBands(mode, current);
    int nextBand = 0;
    std::array<int, BandsPerChannel> takenByLine{};
    for (const EqText::Filter &filter : read.filters) {
        Row row{filter, -1, {}, {}};
        if (!filter.skipped.isEmpty())
            row.notes << QStringLiteral("skipped: ") + filter.skipped;
        else if (mode == Mode::Parametric)
            PlaceParametric(row, plan, nextBand);
        else
            PlaceGraphic(row, plan, takenByLine);
        plan.rows.push_back(row);
    }
    if (read.preampDb)
        plan.notes << QStringLiteral("Preamp %1 dB not applied: the unit has no preamp")
                          .arg(*read.preampDb);
    plan.curves = EqResponse::Compare(read.filters, plan.bands);
    return plan;
}

ChannelBands CurrentBands(int channel)
{
    ChannelBands bands{};
    for (int k = 0; k < BandsPerChannel; ++k)
        bands[k] = ModFun::EqBandCodes(channel * BandsPerChannel + k);
    return bands;
}

ModFun::Image ImportedImage(const Plan &plan, Channels channels, const ModFun::Image &image)
{
    ModFun::Image target = image;
    for (int channel = 0; channel < 2; ++channel) {
        if (channels != Channels::Both && static_cast<int>(channels) != channel)
            continue;
        for (int k = 0; k < BandsPerChannel; ++k) {
            const ModFun::BandCodes &codes = plan.bands[k];
            auto *band = target.data() + EqBandOffsets[channel * BandsPerChannel + k];
            band[0] = static_cast<std::uint8_t>(codes.gain);
            band[1] = static_cast<std::uint8_t>(codes.frequency);
            band[2] = static_cast<std::uint8_t>(codes.q);
        }
    }
    if (plan.mode == Mode::Graphic)
        target[FlagsByteIndex] |= GraphicBit;
    else
        target[FlagsByteIndex] &= ~GraphicBit;
    return target;
}

bool Apply(const Plan &plan, Channels channels)
{
    const ModFun::OperatorStep step(StepName(channels));
    return ModFun::ApplyImage(ImportedImage(plan, channels, ModFun::state.ParamImage));
}

QString BandText(const ModFun::BandCodes &codes)
{
    return QStringLiteral("%1 Hz  %2 dB  Q %3")
        .arg(At(FreqTable, codes.frequency))
        .arg(FilterEdit::GainOfIndex(codes.gain), 0, 'f', 1)
        .arg(At(QTable, codes.q));
}

QString Outcome(const Row &row)
{
    QStringList parts = row.notes;
    if (row.band >= 0)
        parts.prepend(QStringLiteral("band %1: ").arg(row.band + 1) + BandText(row.codes));
    return parts.join(QStringLiteral("; "));
}

} // namespace EqPlan
