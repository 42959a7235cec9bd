#include "model/ModFun.h"

#include <algorithm>
#include <cmath>

#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/PanelFlags.h"
#include "shell/ModCountry.h"

namespace ModFun {

State state;

using namespace ValueTables;
using ModCountry::NumberText;

namespace {

constexpr std::uint8_t DelayCommand = 0x02;
constexpr std::uint8_t CrossoverCommand = 0x04;
constexpr std::uint8_t EqBandCommand = 0x05;
constexpr std::uint8_t LimiterCommand = 0x07;
constexpr std::uint8_t MuteCommand = 0x0A;
constexpr std::uint8_t LinkCommand = 0x12;
constexpr std::uint8_t EqTypeCommand = 0x13;
constexpr std::uint8_t GateCommand = 0x14;

bool IsChannel(int channel)
{
    return channel == 0 || channel == 1;
}

std::uint8_t Byte(int index)
{
    return state.ParamImage[static_cast<std::size_t>(index)];
}

void SetSummary(int channel, SummaryBlock block, const QString &text)
{
    const int label = 10 * channel + block;
    state.Summary[static_cast<std::size_t>(label)] = text;
    emit notifier().summaryChanged(label);
}

void StoreBandValues(int band)
{
    const int at = EqBandOffsets[band];
    ModGraph::state.BandGainDb[band] = (Byte(at) - 30) / 2.0;
    ModGraph::state.BandFreqHz[band] = At(FreqTable, Byte(at + 1));
    ModGraph::state.BandQCode[band] = Byte(at + 2);
}

QString EqSummaryText(int channel)
{
    const auto first = ModGraph::state.BandGainDb.begin() + channel * BandsPerChannel;
    const bool flat = std::all_of(first, first + BandsPerChannel, [](double g) { return g == 0; });
    return flat ? QStringLiteral("EQ Flat") : QStringLiteral("~~~~~~");
}

QString FilterText(int filter)
{
    return NumberText(ModGraph::state.CrossoverFreqHz[filter]) + QStringLiteral(" Hz, ") +
        NameAt(SlopeNames, CodeOf(ModGraph::state.CrossoverSlope[filter]));
}

QString GateSummaryText(int channel)
{
    const int at = GateOffsets[channel];
    if (Byte(at) != 1)
        return QStringLiteral(" Disabled ");
    return QStringLiteral(" Thr= ") + NumberText(Byte(at + 1) * 5 - 90) +
        QStringLiteral(" ; Rel=") + NumberText(At(GateTimeTable, Byte(at + 2))) +
        QStringLiteral(" ; Atk=") + NumberText((Byte(at + 3) + 5) / 10.0);
}

QString LimiterSummaryText(int channel)
{
    const int at = LimiterOffsets[channel];
    // (code - 150) / 5 rather than code / 5 - 30: the same value without the cancellation
    // that would print -0.199999999999999 for code 149.
    return QStringLiteral("Thr=") + NumberText((Byte(at + 2) - 150) / 5.0) +
        QStringLiteral(" dB - Rel=") + NumberText(At(ReleaseTable, Byte(at + 1))) +
        QStringLiteral(" ms - Atk=") + NumberText(At(AttackTable, Byte(at))) +
        QStringLiteral(" ms");
}

bool DelayInMetres()
{
    return state.DelayInMetres == 1.0;
}

void SetChannelNames()
{
    state.ChannelNames = {QStringLiteral("CH.A - Left"), QStringLiteral("CH.B - Right")};
    emit notifier().channelNamesChanged();
}

void SetEqCaptions()
{
    const QString caption =
        state.GeqSelected == 1.0 ? QStringLiteral("GEQ") : QStringLiteral("PEQ");
    for (int channel = 0; channel < 2; ++channel) {
        state.EqCaption[channel] = caption;
        emit notifier().captionChanged(10 * channel + EqBlock);
    }
}

/// Bit 0 graphic equaliser, bit 1 channels linked.
std::uint8_t FlagsByte()
{
    const int linked = state.LinkAB == 1.0 ? 1 : 0;
    const int graphic = state.GeqSelected == 1.0 ? 1 : 0;
    return static_cast<std::uint8_t>(2 * linked + graphic);
}

void SetLinkBoxFromModel()
{
    PanelFlags::state.UpdatingControls = true;
    state.LinkBoxTicked = state.LinkAB == 1.0;
    emit notifier().linkBoxChanged(state.LinkBoxTicked);
    state.ChannelLink = state.LinkBoxTicked ? 1 : 0;
    PanelFlags::state.UpdatingControls = false;
}

/// Rebuilds one curve; only the last curve of a channel in a run is drawn.
void RebuildCurve(void (*compute)(int), int index, bool drawn)
{
    ModGraph::state.CurveDrawEnabled = drawn;
    compute(index);
    ModGraph::state.CurveDrawEnabled = true;
}

bool IsLastCurveOfChannel(int filter)
{
    return filter % 2 == 1;
}

void SendGateOfChannel(int channel)
{
    SendGate(3 * channel);
}

/// Sends through `send`, then applies the recovery rule: false when the transfer could not go on.
bool SendAndRecover(void (*send)(int), int index)
{
    send(index);
    return ModTxRx::RecoverFromFailure();
}

bool SendAndRebuildBand(int band)
{
    if (!SendAndRecover(SendEqBand, band))
        return false;
    RebuildCurve(ModGraph::ComputeBandCurve, band, false);
    return true;
}

bool SendAndRebuildFilter(int filter)
{
    if (!SendAndRecover(SendCrossover, filter))
        return false;
    RebuildCurve(ModGraph::ComputeFilterCurve, filter, IsLastCurveOfChannel(filter));
    return true;
}

/// Sets `Mute[c]` so that `ToggleMute` ends with `muted`, and toggles.
bool SendMuteState(int channel, double muted)
{
    state.Mute[channel] = 1.0 - muted;
    return SendAndRecover(ToggleMute, channel);
}

/// After a failure the whole state could not recover from: the image gets its own mute bytes
/// back, and the model and panel show them.
bool AbandonWithMuteBytes(const std::array<std::uint8_t, 2> &muteBytes)
{
    for (int channel = 0; channel < 2; ++channel) {
        state.ParamImage[MuteOffsets[channel]] = muteBytes[channel];
        state.Mute[channel] = muteBytes[channel] == 1 ? 1.0 : 0.0;
        ShowMuteState(channel);
    }
    return false;
}

/// Sends every block of the channels from `firstChannel` to B, in the unit's order: the bands,
/// the filters (each followed by its curve), then delays, gates and limiters.
bool SendBlocksFrom(int firstChannel)
{
    for (int band = firstChannel * BandsPerChannel; band < BandCount; ++band) {
        if (!SendAndRebuildBand(band))
            return false;
    }
    for (int filter = 2 * firstChannel; filter < FilterCount; ++filter) {
        if (!SendAndRebuildFilter(filter))
            return false;
    }
    for (auto send : {SendDelay, SendGateOfChannel, SendLimiter}) {
        for (int channel = firstChannel; channel < 2; ++channel) {
            if (!SendAndRecover(send, channel))
                return false;
        }
    }
    return true;
}

void CopyBlockToB(int offsetA, int offsetB, int size)
{
    std::copy_n(state.ParamImage.begin() + offsetA, size, state.ParamImage.begin() + offsetB);
}

void CopyChannelAToB()
{
    for (int band = 0; band < BandsPerChannel; ++band)
        CopyBlockToB(EqBandOffsets[band], EqBandOffsets[band + BandsPerChannel], EqBandSize);
    for (int filter = 0; filter < 2; ++filter)
        CopyBlockToB(CrossoverOffsets[filter], CrossoverOffsets[filter + 2], CrossoverSize);
    CopyBlockToB(DelayOffsets[0], DelayOffsets[1], DelaySize);
    CopyBlockToB(GateOffsets[0], GateOffsets[1], GateSize);
    CopyBlockToB(LimiterOffsets[0], LimiterOffsets[1], LimiterSize);
}

} // namespace

Notifier &notifier()
{
    static Notifier instance;
    return instance;
}

void Reset()
{
    state = State{};
}

void LoadDefaultImage()
{
    std::copy(DefaultImage.begin(), DefaultImage.end(), state.ParamImage.begin());
    state.ParamImage[PresetImageSize] = 0;
}

void SendEqBand(int band)
{
    if (band < 0 || band >= BandCount)
        return;
    const int channel = band / BandsPerChannel;
    const int at = EqBandOffsets[band];
    StoreBandValues(band);
    SetSummary(channel, EqBlock, EqSummaryText(channel));
    ModTxRx::TransferFrame(EqBandCommand, channel, band % BandsPerChannel, 0, Byte(at + 1),
                           Byte(at + 2), Byte(at));
}

void SendCrossover(int filter)
{
    if (filter < 0 || filter >= FilterCount)
        return;
    const int channel = filter / 2;
    const int at = CrossoverOffsets[filter];
    ModGraph::state.CrossoverFreqHz[filter] = At(FreqTable, Byte(at));
    ModGraph::state.CrossoverSlope[filter] = Byte(at + 1);
    SetSummary(channel, FilterBlock,
               QStringLiteral("HP: ") + FilterText(2 * channel) + QStringLiteral(" - LP: ") +
                   FilterText(2 * channel + 1));
    ModTxRx::TransferFrame(CrossoverCommand, channel, filter % 2, 0, 0, Byte(at), Byte(at + 1));
}

void SendDelay(int channel)
{
    if (!IsChannel(channel))
        return;
    const int at = DelayOffsets[channel];
    SetSummary(channel, DelayBlock,
               QStringLiteral(" ") + NumberText(DelayShown(channel)) +
                   NameAt(DelayUnitNames, DelayInMetres()) + QStringLiteral(" "));
    ModTxRx::TransferFrame(DelayCommand, channel, 0, 0, Byte(at), Byte(at + 1), Byte(at + 2));
}

void SendGate(int gateIndex)
{
    const int channel = gateIndex / 3;
    if (gateIndex < 0 || !IsChannel(channel))
        return;
    const int at = GateOffsets[channel];
    SetSummary(channel, GateBlock, GateSummaryText(channel));
    ModTxRx::TransferFrame(GateCommand, channel, 0, Byte(at), Byte(at + 1), Byte(at + 2),
                           Byte(at + 3));
}

void SendLimiter(int channel)
{
    if (!IsChannel(channel))
        return;
    const int at = LimiterOffsets[channel];
    SetSummary(channel, LimiterBlock, LimiterSummaryText(channel));
    ModTxRx::TransferFrame(LimiterCommand, channel, 0, 0, Byte(at + 1), Byte(at), Byte(at + 2));
}

void ToggleMute(int channel)
{
    if (!IsChannel(channel))
        return;
    state.Mute[channel] = state.Mute[channel] == 1.0 ? 0.0 : 1.0;
    const std::uint8_t muted = state.Mute[channel] == 1.0 ? 1 : 0;
    state.ParamImage[MuteOffsets[channel]] = muted;
    ShowMuteState(channel);
    ModTxRx::TransferFrame(MuteCommand, channel, 0, 0, 0, 0, muted);
}

void ShowMuteState(int channel)
{
    if (!IsChannel(channel))
        return;
    state.MuteText[channel] =
        state.Mute[channel] != 0 ? QStringLiteral("Muted") : QStringLiteral("Unmuted");
    emit notifier().muteChanged(channel);
}

void SendLink()
{
    state.LinkAB = state.LinkBoxTicked ? 1.0 : 0.0;
    state.ChannelLink = state.LinkBoxTicked ? 1 : 0;
    state.ParamImage[FlagsByteIndex] = FlagsByte();
    ModTxRx::TransferFrame(LinkCommand, 0, 0, 0, 0, 0, state.LinkBoxTicked ? 1 : 0);
}

void SendEqType()
{
    state.ParamImage[FlagsByteIndex] = FlagsByte();
    SetEqCaptions();
    ModTxRx::TransferFrame(EqTypeCommand, 0, 0, 0, 0, 0, state.GeqSelected == 1.0 ? 1 : 0);
}

void ShowPresetName()
{
    state.PanelTitle = QLatin1String(ModelName) + QStringLiteral(" - ") + state.PresetSource +
        QStringLiteral(" : ") + state.PresetTitle;
    emit notifier().titleChanged(state.PanelTitle);
}

bool SendWholeState()
{
    state.ChannelLink = 0;
    const std::array<std::uint8_t, 2> muteBytes{Byte(MuteOffsets[0]), Byte(MuteOffsets[1])};
    for (int channel = 0; channel < 2; ++channel) {
        if (!SendMuteState(channel, 1.0))
            return AbandonWithMuteBytes(muteBytes);
    }
    SetChannelNames();
    const std::uint8_t flags = Byte(FlagsByteIndex);
    state.GeqSelected = (flags & 1) ? 1.0 : 0.0;
    SetEqCaptions();
    state.LinkAB = (flags & 2) ? 1.0 : 0.0;
    for (int band = 0; band < BandCount; ++band)
        StoreBandValues(band);
    if (!SendBlocksFrom(0))
        return AbandonWithMuteBytes(muteBytes);
    SetLinkBoxFromModel();
    for (int channel = 0; channel < 2; ++channel)
        state.ParamImage[MuteOffsets[channel]] = muteBytes[channel];
    for (int channel = 0; channel < 2; ++channel) {
        if (!SendMuteState(channel, Byte(MuteOffsets[channel])))
            return AbandonWithMuteBytes(muteBytes);
    }
    return true;
}

bool LinkCopyAToB()
{
    CopyChannelAToB();
    if (!SendBlocksFrom(1))
        return false;
    return SendMuteState(1, state.Mute[0]);
}

double DelayShown(int channel)
{
    if (!IsChannel(channel))
        return 0;
    const int at = DelayOffsets[channel];
    const double ms = (Byte(at) * 256 + Byte(at + 1)) + Byte(at + 2) * 0.0208;
    const double cut = std::floor(ms * 1000) / 1000;
    return DelayInMetres() ? cut * 0.34 : cut;
}

} // namespace ModFun
