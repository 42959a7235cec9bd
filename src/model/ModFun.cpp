#include "model/ModFun.h"

#include <algorithm>
#include <cmath>

#include <QScopedValueRollback>

#include "link/ModTxRx.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "shell/ModCountry.h"

namespace ModFun {

State state;

using namespace ValueTables;
using namespace UnitProtocol;
using ModCountry::NumberText;

namespace {

std::function<void(CurveOf, int, bool)> curveHook;

bool IsChannel(int channel)
{
    return channel == 0 || channel == 1;
}

std::uint8_t Byte(int index)
{
    return state.ParamImage[static_cast<std::size_t>(index)];
}

std::uint8_t &ImageByte(int index)
{
    return state.ParamImage[static_cast<std::size_t>(index)];
}

/// A value as the code of a table whose last index is `last`: its nearest end when outside.
std::uint8_t Code(int value, int last)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, last));
}

bool IsBand(int band)
{
    return band >= 0 && band < BandCount;
}

bool IsFilter(int filter)
{
    return filter >= 0 && filter < FilterCount;
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
    state.BandGainDb[band] = (Byte(at) - 30) / 2.0;
    state.BandFreqHz[band] = At(FreqTable, Byte(at + 1));
    state.BandQCode[band] = Byte(at + 2);
}

QString EqSummaryText(int channel)
{
    const auto first = state.BandGainDb.begin() + channel * BandsPerChannel;
    const bool flat = std::all_of(first, first + BandsPerChannel, [](double g) { return g == 0; });
    return flat ? QStringLiteral("EQ Flat") : QStringLiteral("~~~~~~");
}

QString FilterText(int filter)
{
    return NumberText(state.CrossoverFreqHz[filter]) + QStringLiteral(" Hz, ") +
        NameAt(SlopeNames, CodeOf(state.CrossoverSlope[filter]));
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
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

bool SendAndRebuildBand(int band)
{
    if (!SendAndRecover(SendEqBand, band))
        return false;
    // Only the last curve of a channel in a run is drawn.
    RebuildCurve(CurveOf::Band, band, false);
    return true;
}

bool SendAndRebuildFilter(int filter)
{
    if (!SendAndRecover(SendCrossover, filter))
        return false;
    RebuildCurve(CurveOf::Filter, filter, IsLastCurveOfChannel(filter));
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
    state.CrossoverFreqHz[filter] = At(FreqTable, Byte(at));
    state.CrossoverSlope[filter] = Byte(at + 1);
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

bool MirrorOntoLinkedChannel(const std::function<void()> &showOnOther,
                             const std::function<void()> &takeOther)
{
    if (state.ChannelLink == 0)
        return false;
    {
        const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
        showOnOther();
    }
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    takeOther();
    return true;
}

BandCodes EqBandCodes(int band)
{
    if (!IsBand(band))
        return {};
    const int at = EqBandOffsets[band];
    return {Code(Byte(at), LastGainCode), Code(Byte(at + 1), LastFreqCode),
            Code(Byte(at + 2), LastQCode)};
}

bool SetEqBand(int band, const BandCodes &codes)
{
    if (!IsBand(band))
        return true;
    const int at = EqBandOffsets[band];
    ImageByte(at) = Code(codes.gain, LastGainCode);
    ImageByte(at + 1) = Code(codes.frequency, LastFreqCode);
    ImageByte(at + 2) = Code(codes.q, LastQCode);
    if (!SendAndRecover(SendEqBand, band))
        return false;
    // Whoever edits (a window, the web remote), the curve and the open windows follow.
    RebuildCurve(CurveOf::Band, band, true);
    return true;
}

void PreviewEqBand(int band, double gainDb, double frequencyHz)
{
    if (!IsBand(band))
        return;
    state.BandGainDb[band] = gainDb;
    state.BandFreqHz[band] = frequencyHz;
}

FilterCodes CrossoverCodes(int filter)
{
    if (!IsFilter(filter))
        return {};
    const int at = CrossoverOffsets[filter];
    return {Code(Byte(at), LastFreqCode), Code(Byte(at + 1), LastSlopeCode)};
}

bool SetCrossover(int filter, const FilterCodes &codes)
{
    if (!IsFilter(filter))
        return true;
    const int at = CrossoverOffsets[filter];
    ImageByte(at) = Code(codes.frequency, LastFreqCode);
    ImageByte(at + 1) = Code(codes.slope, LastSlopeCode);
    if (!SendAndRecover(SendCrossover, filter))
        return false;
    RebuildCurve(CurveOf::Filter, filter, true);
    return true;
}

bool SetEqType(bool graphic)
{
    state.GeqSelected = graphic ? 1.0 : 0.0;
    SendEqType();
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

bool SetGateOn(int channel, bool on)
{
    if (!IsChannel(channel))
        return true;
    ImageByte(GateOffsets[channel]) = on ? 1 : 0;
    return SendAndRecover(SendGateOfChannel, channel);
}

bool SetGateCode(int channel, int field, int code)
{
    if (!IsChannel(channel) || field < 0 || field >= GateSize - 1)
        return true;
    ImageByte(GateOffsets[channel] + 1 + field) = static_cast<std::uint8_t>(code);
    return SendAndRecover(SendGateOfChannel, channel);
}

LimiterCodes ChannelLimiterCodes(int channel)
{
    if (!IsChannel(channel))
        return {};
    const int at = LimiterOffsets[channel];
    return {Byte(at + 2), Byte(at + 1), Byte(at)};
}

bool SetLimiter(int channel, const LimiterCodes &codes)
{
    if (!IsChannel(channel))
        return true;
    const int at = LimiterOffsets[channel];
    ImageByte(at) = static_cast<std::uint8_t>(codes.attack);
    ImageByte(at + 1) = static_cast<std::uint8_t>(codes.release);
    ImageByte(at + 2) = static_cast<std::uint8_t>(codes.threshold);
    return SendAndRecover(SendLimiter, channel);
}

bool SetDelay(int channel, int coarse, int fine)
{
    if (!IsChannel(channel))
        return true;
    const int at = DelayOffsets[channel];
    ModTxRx::SplitToBytes(coarse, 0);
    ImageByte(at) = ModTxRx::state.WorkBytes[2];
    ImageByte(at + 1) = ModTxRx::state.WorkBytes[3];
    ImageByte(at + 2) = static_cast<std::uint8_t>(fine);
    return SendAndRecover(SendDelay, channel);
}

bool SetChannelLink(bool on)
{
    state.LinkAB = on ? 1.0 : 0.0;
    if (on) {
        const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        LinkCopyAToB();
    }
    state.ChannelLink = on ? 1 : 0;
    state.LinkBoxTicked = on;
    SendLink();
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

bool SetDelayUnit(bool metres)
{
    SystemFlags::SetDistanceUnit(metres);
    SystemFlags::SendSystemFlags();
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

void SetCurveHook(std::function<void(CurveOf curve, int index, bool drawn)> hook)
{
    curveHook = std::move(hook);
}

void RebuildCurve(CurveOf curve, int index, bool drawn)
{
    if (curveHook)
        curveHook(curve, index, drawn);
}

double DelayShown(int channel)
{
    if (!IsChannel(channel))
        return 0;
    const int at = DelayOffsets[channel];
    const double ms = (Byte(at) * 256 + Byte(at + 1)) + Byte(at + 2) * DelayFineStepMs;
    const double cut = std::floor(ms * 1000) / 1000;
    return DelayInMetres() ? cut * MetresPerMs : cut;
}

} // namespace ModFun
