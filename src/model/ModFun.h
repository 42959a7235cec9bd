#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QObject>
#include <QString>

#include "model/ValueTables.h"

/// The parameter model: the 129-byte image of both channels, the values derived from it, the
/// summaries the overview panel shows and the operations that send a block of the image to the
/// unit. Depends on link (frames, recovery rule) and shell (number texts); the response curves
/// follow it through the hook the graph registers (`SetCurveHook`).
///
/// Every send operation follows one order: read the image bytes (the caller has written the new
/// codes), store the derived values, set the summary, send the frame last. A code outside its
/// table is looked up as the table's nearest end; the frame carries the image bytes as they
/// stand. The single-block senders leave the recovery rule to their caller:
///     ModFun::SendGate(3 * c);
///     if (ModTxRx::RecoverFromFailure() != ModTxRx::LinkOutcome::LinkUp)
///         return;
/// The windows do not write the image: they call the setters below (`SetEqBand`, `SetGateCode`,
/// ...), which write the codes and then send with the recovery rule.
namespace ModFun {

inline constexpr char ModelName[] = "MX-RF418";
inline constexpr int SummaryCount = 20;

/// The summary label of a block is 10 * channel + block.
enum SummaryBlock { GateBlock = 0, EqBlock = 1, FilterBlock = 2, DelayBlock = 4, LimiterBlock = 7 };

struct State
{
    std::array<std::uint8_t, ValueTables::ImageSize> ParamImage{};
    /// Derived from the image by the senders; the inputs of the response curves. Band b < 15 is
    /// channel A band b + 1, else channel B band b - 14; filters are A high-pass, A low-pass,
    /// B high-pass, B low-pass.
    std::array<double, ValueTables::BandCount> BandGainDb{};
    std::array<double, ValueTables::BandCount> BandFreqHz{};
    /// The band's index into `QTable`, held as a number.
    std::array<double, ValueTables::BandCount> BandQCode{};
    std::array<double, ValueTables::FilterCount> CrossoverFreqHz{};
    /// 0 bypass, 1 first order, 2 second order; any other value leaves the filter's curve as it is.
    std::array<double, ValueTables::FilterCount> CrossoverSlope{};
    /// 1.0 = muted, per channel.
    std::array<double, 2> Mute{};
    /// 1.0 while channels A and B are linked; `ChannelLink` is the same as 1 or 0.
    double LinkAB = 0;
    std::int16_t ChannelLink = 0;
    /// 1.0 = graphic equaliser, else parametric.
    double GeqSelected = 0;
    /// 1.0 = delays shown as distance.
    double DelayInMetres = 0;
    std::array<QString, 2> ChannelNames;
    /// The panel's "Channel Link" box: the panel keeps it here, `SendLink` reads it and the
    /// whole-state transfer sets it (announced by `linkBoxChanged`).
    bool LinkBoxTicked = false;

    /// Tool tips of the panel's summary labels `Label100`, index 10 * channel + block.
    std::array<QString, SummaryCount> Summary;
    /// Captions of the equaliser labels (entries 1 and 11): "GEQ" or "PEQ".
    std::array<QString, 2> EqCaption;
    /// Tool tips of the mute pictures: "Muted" or "Unmuted" (the picture follows `Mute`).
    std::array<QString, 2> MuteText;
    QString PresetSource;
    QString PresetTitle;
    /// The overview window's title, set by `ShowPresetName`.
    QString PanelTitle;
};

extern State state;

/// Windows connect to these to show what the model has just set; tests read `state` instead.
class Notifier : public QObject
{
    Q_OBJECT
signals:
    /// `Summary[label]` was set.
    void summaryChanged(int label);
    /// The caption of label 1 or 11 (`EqCaption[label / 10]`) was set.
    void captionChanged(int label);
    void muteChanged(int channel);
    void channelNamesChanged();
    /// The whole-state transfer set the link box (with `UpdatingControls` raised).
    void linkBoxChanged(bool ticked);
    void titleChanged(const QString &title);
    /// `ModLock::state.LockState` changed (load after connecting, lock window): the panel
    /// applies its lock view again.
    void lockStateChanged();
    /// `ModLock::state.ServiceFlag` changed: the panel shows or hides "Preset factory to PC".
    void serviceFlagChanged();
};

Notifier &notifier();

/// All zero image, everything cleared (the curve hook stays).
void Reset();
/// Demo mode: bytes 0..127 become the default image, byte 128 is cleared.
void LoadDefaultImage();

/// Band b = 0..29 (b < 15 channel A band b + 1, else channel B band b - 14): command 0x05.
void SendEqBand(int band);
/// Filter f = 0..3 (A high-pass, A low-pass, B high-pass, B low-pass): command 0x04.
void SendCrossover(int filter);
/// Channel c: command 0x02.
void SendDelay(int channel);
/// Gate index g = 0..5 of the gate editor's controls: the channel is g / 3, so channel c is
/// sent with `SendGate(3 * c)`. Command 0x14.
void SendGate(int gateIndex);
/// Channel c: command 0x07, release before attack as the unit expects.
void SendLimiter(int channel);
/// Flips `Mute[c]` (1.0 becomes 0, anything else 1.0), writes it into the image, shows it and
/// sends command 0x0A.
void ToggleMute(int channel);
/// The mute tool tip of channel c ("Muted" while `Mute[c]` is not 0).
void ShowMuteState(int channel);
/// Link from `LinkBoxTicked`: sets `LinkAB`, `ChannelLink` and the flags byte, command 0x12.
void SendLink();
/// The equaliser type of both channels from `GeqSelected`: sets the flags byte and the "GEQ" /
/// "PEQ" captions, command 0x13 with the type (1 graphic) in d5.
void SendEqType();
/// `PanelTitle` = "MX-RF418 - " + `PresetSource` + " : " + `PresetTitle`.
void ShowPresetName();

/// Brings derived state, summaries, captions, curves and the unit in line with the whole
/// image: both channels muted, every block sent (44 frames), mute states put back.
/// Answers false when a transfer failed and the link could not be mended: sending stopped
/// there (the recovery rule has told the operator and closed the panel) and the image keeps
/// its own mute bytes.
bool SendWholeState();
/// Copies every block of channel A onto channel B and sends channel B's blocks, ending with
/// B's mute set to A's. Answers false, having stopped, as `SendWholeState` does.
bool LinkCopyAToB();

/// Link A & B: the unit applies an edit of one channel to the other itself, so while the
/// channels are linked the program only mirrors it in its model and windows: `showOnOther` sets
/// the other channel's controls (with `UpdatingControls` raised, so that their handlers keep
/// still), then `takeOther` takes them into the model with sending suspended. Answers whether
/// the channels were linked and the edit mirrored.
bool MirrorOntoLinkedChannel(const std::function<void()> &showOnOther,
                             const std::function<void()> &takeOther);

// The setters the windows edit the model with. Each writes its codes into the image, derives
// the values and the summary, sends the block's frame and applies the recovery rule: false when
// the transfer failed and the link could not be mended (the operator was told and the overview
// panel closed); the model keeps the new codes either way. The graph rebuilds the curves after.

/// The three codes of a band: gain index 0..60 (dB = index / 2 - 15), index into `FreqTable`,
/// index into `QTable`.
struct BandCodes
{
    int gain = 30;
    int frequency = 0;
    int q = 0;
};
/// Frequency index and slope code (0 bypass, 1 6 dB/oct, 2 12 dB/oct) of a crossover filter.
struct FilterCodes
{
    int frequency = 0;
    int slope = 0;
};
/// Limiter codes of a channel: threshold 0..150 (dB = code / 5 - 30), indexes into
/// `ReleaseTable` and `AttackTable`.
struct LimiterCodes
{
    int threshold = 0;
    int release = 0;
    int attack = 0;
};

/// The band's codes in the image, each limited to its table.
BandCodes EqBandCodes(int band);
/// Writes the band (each code limited to its table), sends it (command 0x05) and rebuilds its
/// curve once the unit has it.
bool SetEqBand(int band, const BandCodes &codes);
/// While a band's marker or gain slider is held its derived gain and frequency follow (and the
/// curve built from them); the image and the unit take the band when it is let go.
void PreviewEqBand(int band, double gainDb, double frequencyHz);
/// The filter's codes in the image, each limited to its table.
FilterCodes CrossoverCodes(int filter);
/// Writes the filter (each code limited to its table), sends it (command 0x04) and rebuilds its
/// curve once the unit has it.
bool SetCrossover(int filter, const FilterCodes &codes);
/// The equaliser type of both channels: `GeqSelected`, then `SendEqType`.
bool SetEqType(bool graphic);
/// The gate-on byte of channel c (1 on, 0 off), then the gate frame (command 0x14).
bool SetGateOn(int channel, bool on);
/// One gate code of channel c: `field` 0 threshold, 1 release, 2 attack, as the image holds them
/// after the gate-on byte; then the gate frame.
bool SetGateCode(int channel, int field, int code);
/// The limiter codes of channel c as the image holds them.
LimiterCodes ChannelLimiterCodes(int channel);
/// The three limiter codes of channel c, then the limiter frame (command 0x07).
bool SetLimiter(int channel, const LimiterCodes &codes);
/// The delay of channel c in whole milliseconds (two bytes, high first) and steps of 0.0208 ms,
/// then the delay frame (command 0x02).
bool SetDelay(int channel, int coarse, int fine);
/// Link A & B as the panel's box sets it: switching on copies channel A onto B in the model
/// with sending suspended (the unit copies by itself), then the link frame (command 0x12).
bool SetChannelLink(bool on);
/// Delays in metres or milliseconds (`SetDistanceUnit`), written into the unit's flags byte
/// (`SendSystemFlags`).
bool SetDelayUnit(bool metres);

/// Which curve a transfer asks the graph to rebuild.
enum class CurveOf { Band, Filter };
/// The model's transfers (whole state, link copy, channel copy) ask the response curves to follow
/// each band and filter they send: the graph registers what rebuilds the curve of band or filter
/// `index` from the derived values, drawing the channel's picture only when `drawn`. An empty
/// function unregisters.
void SetCurveHook(std::function<void(CurveOf curve, int index, bool drawn)> hook);
/// Asks the registered hook to rebuild one curve; nothing happens without one.
void RebuildCurve(CurveOf curve, int index, bool drawn);

/// The delay of channel c as shown: milliseconds cut to three decimals, times 0.34 in metres.
double DelayShown(int channel);

} // namespace ModFun
