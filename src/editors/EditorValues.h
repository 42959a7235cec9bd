#pragma once

#include <array>
#include <optional>

#include <QPointF>
#include <QString>

#include "editors/newMod.h"

/// What the gate, limiter and delay editors show and what a typed value becomes: pure functions
/// of codes and numbers, so that the windows only move values between their controls and the
/// parameter model. Depends on model (tables, channel names), editors/newMod and shell (number
/// texts).
namespace EditorValues {

/// Editor sliders run upside down: position 0, at the top, is the highest code.
int PositionOf(int code, int lastCode);
/// The code at a slider position (positions outside 0..lastCode are taken as the nearest end).
int CodeAt(int position, int lastCode);

/// The editors' own wording of a channel: "Channel A - Left" / "Channel B - Right". The gate
/// editor always titles its frames so.
QString EditorChannelTitle(int channel);
/// The channel's name as the other editors title it; `EditorChannelTitle` until the whole-state
/// transfer has named the channels.
QString ChannelTitle(int channel);

/// What the editors warn of (a "Warning" box) when a typed text is not a number.
inline constexpr char IncorrectValue[] = "  Incorrect value";

/// A typed number; nothing when the text is not one.
std::optional<double> TypedNumber(const QString &text);

// Noise gate: the three values after the gate-on byte, in image order.
enum GateValue { GateThreshold, GateRelease, GateAttack };
inline constexpr std::array<int, 3> GateLastCode{ValueTables::LastGateThresholdCode,
                                                 ValueTables::LastGateTimeCode,
                                                 ValueTables::LastGateAttackCode};

/// -90 .. -60 dB, the release table in ms, 0.5 .. 1.0 s.
QString GateText(GateValue value, int code);
/// The code a typed value snaps to (out-of-range values give the nearest end).
int GateCodeOfTyped(GateValue value, double typed);

// Limiter: the editor's order; the image holds attack, release, threshold.
enum LimiterValue { LimiterThreshold, LimiterRelease, LimiterAttack };
inline constexpr std::array<int, 3> LimiterLastCode{
    ValueTables::LastThresholdCode, ValueTables::LastReleaseCode, ValueTables::LastAttackCode};
/// Position of each value's byte in the channel's limiter block.
inline constexpr std::array<int, 3> LimiterBytePosition{2, 1, 0};

/// Threshold in dB (-30 .. 0 in 0.2 dB steps), release and attack in ms.
double LimiterValueOf(LimiterValue value, int code);
QString LimiterText(LimiterValue value, int code);
int LimiterCodeOfTyped(LimiterValue value, double typed);

/// The corner of the threshold picture for a threshold in dB, in a picture of the given size:
/// t = threshold + 20, (width / 2 + t * width / 40, height - t * height / 40). At 0 dB it is at
/// the right edge halfway up; below -20 dB it lies under the bottom edge.
QPointF ThresholdCorner(double thresholdDb, double width, double height);

struct DelaySetting
{
    int coarse = 0;
    int fine = 0;
    bool operator==(const DelaySetting &) const = default;
};

/// The caption of a channel's delay frame: its name and the unit, "CH.A - Left [ ms ]".
QString DelayFrameCaption(int channel, bool metres);
/// A typed delay (spaces dropped, a full stop read as the decimal separator); nothing when it is
/// not a number.
std::optional<double> TypedDelay(const QString &text);
/// The setting nearest to a typed delay: metres are capped at 102.33558 and turned into
/// milliseconds, milliseconds are capped at 300.979; a negative delay is taken as 0. Whole
/// milliseconds are the typed value rounded down, unless the next one is nearer than the last
/// fine step.
DelaySetting DelayOfTyped(double typed, bool metres);
/// The delay box's own keys: digits, Backspace and space pass, a comma or full stop becomes the
/// locale's separator, Enter applies, any other key becomes a space.
newMod::KeyAction FilterDelayKey(int key, bool commaLocale);

} // namespace EditorValues
