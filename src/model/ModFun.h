#pragma once

#include <array>
#include <cstdint>

#include <QObject>
#include <QString>

#include "model/ValueTables.h"

/// The parameter model: the 129-byte image of both channels, the state derived from it, the
/// summaries the overview panel shows and the operations that send a block of the image to the
/// unit. Depends on link (frames), graph (the derived doubles and the curves) and shell (number
/// texts).
///
/// Every send operation follows one order: read the image bytes (the caller has written the new
/// codes), store the derived values, set the summary, send the frame last. A code outside its
/// table is looked up as the table's nearest end; the frame carries the image bytes as they
/// stand. The single-block senders leave the recovery rule to their caller:
///     ModFun::SendGate(3 * c);
///     if (!ModTxRx::RecoverFromFailure())
///         return;
namespace ModFun {

inline constexpr char ModelName[] = "MX-RF418";
inline constexpr int SummaryCount = 20;

/// The summary label of a block is 10 * channel + block.
enum SummaryBlock { GateBlock = 0, EqBlock = 1, FilterBlock = 2, DelayBlock = 4, LimiterBlock = 7 };

struct State
{
    std::array<std::uint8_t, ValueTables::ImageSize> ParamImage{};
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

/// All zero image, everything cleared.
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

/// The delay of channel c as shown: milliseconds cut to three decimals, times 0.34 in metres.
double DelayShown(int channel);

} // namespace ModFun
