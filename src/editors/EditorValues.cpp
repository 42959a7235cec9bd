#include "editors/EditorValues.h"

#include <algorithm>
#include <cmath>

#include "model/ModFun.h"
#include "shell/ModCountry.h"

namespace EditorValues {

using namespace ValueTables;
using ModCountry::NumberText;

namespace {

constexpr double LargestTypedMs = 300.979;
constexpr double LargestTypedMetres = 102.33558;

constexpr int Enter = 13;
constexpr int Backspace = 8;

} // namespace

int PositionOf(int code, int lastCode)
{
    return lastCode - std::clamp(code, 0, lastCode);
}

int CodeAt(int position, int lastCode)
{
    return lastCode - std::clamp(position, 0, lastCode);
}

QString EditorChannelTitle(int channel)
{
    return channel == 0 ? QStringLiteral("Channel A - Left") : QStringLiteral("Channel B - Right");
}

QString ChannelTitle(int channel)
{
    const int c = std::clamp(channel, 0, 1);
    const QString &name = ModFun::state.ChannelNames[c];
    return name.isEmpty() ? EditorChannelTitle(c) : name;
}

std::optional<double> TypedNumber(const QString &text)
{
    bool ok = false;
    const double value = ModCountry::ParseNumber(text, &ok);
    if (ok)
        return value;
    return std::nullopt;
}

QString GateText(GateValue value, int code)
{
    const int c = std::clamp(code, 0, GateLastCode[value]);
    switch (value) {
    case GateThreshold:
        return NumberText(5 * c - 90);
    case GateRelease:
        return NumberText(GateTimeTable[c]);
    case GateAttack:
        return NumberText((5 + c) / 10.0);
    }
    return {};
}

int GateCodeOfTyped(GateValue value, double typed)
{
    switch (value) {
    case GateThreshold: {
        const double snapped = newMod::SnapGateThreshold(std::clamp(typed, -90.0, -60.0));
        return static_cast<int>(std::lround((snapped + 90) / 5));
    }
    case GateRelease:
        return newMod::GateReleaseIndex(typed);
    case GateAttack:
        return newMod::GateAttackIndex(typed);
    }
    return 0;
}

double LimiterValueOf(LimiterValue value, int code)
{
    const int c = std::clamp(code, 0, LimiterLastCode[value]);
    switch (value) {
    case LimiterThreshold:
        // (code - 150) / 5 rather than code / 5 - 30, which prints -0.199999999999999 for 149.
        return (c - 150) / 5.0;
    case LimiterRelease:
        return ReleaseTable[c];
    case LimiterAttack:
        return AttackTable[c];
    }
    return 0;
}

QString LimiterText(LimiterValue value, int code)
{
    return NumberText(LimiterValueOf(value, code));
}

int LimiterCodeOfTyped(LimiterValue value, double typed)
{
    switch (value) {
    case LimiterThreshold: {
        const double snapped = newMod::SnapLimiterThreshold(std::clamp(typed, -30.0, 0.0));
        const int position = static_cast<int>(std::lround(-snapped * 5));
        return CodeAt(position, LimiterLastCode[LimiterThreshold]);
    }
    case LimiterRelease:
        return newMod::LimiterReleaseIndex(typed);
    case LimiterAttack:
        return newMod::LimiterAttackIndex(typed);
    }
    return 0;
}

QPointF ThresholdCorner(double thresholdDb, double width, double height)
{
    const double t = thresholdDb + 20;
    return {width / 2 + t * width / 40, height - t * height / 40};
}

QString DelayFrameCaption(int channel, bool metres)
{
    return ChannelTitle(channel) + QStringLiteral(" [") + NameAt(DelayUnitNames, metres) +
        QStringLiteral(" ]");
}

std::optional<double> TypedDelay(const QString &text)
{
    return TypedNumber(QString(text).remove(QLatin1Char(' ')));
}

DelaySetting DelayOfTyped(double typed, bool metres)
{
    double ms = metres ? std::min(typed, LargestTypedMetres) / MetresPerMs : typed;
    ms = std::clamp(ms, 0.0, LargestTypedMs);
    int coarse = static_cast<int>(std::floor(ms));
    int fine = static_cast<int>(std::nearbyint((ms - coarse) / DelayFineStepMs)); // halves to even
    // The fine steps end at 0.9776 ms: a delay nearer to the next whole millisecond takes that
    // (3.4 m is 9.999999999999998 ms in doubles, and means 10 ms).
    if (fine > LastDelayFineCode && coarse < LastDelayMs &&
        coarse + 1 - ms < ms - coarse - LastDelayFineCode * DelayFineStepMs) {
        ++coarse;
        fine = 0;
    }
    return {std::clamp(coarse, 0, LastDelayMs), std::clamp(fine, 0, LastDelayFineCode)};
}

newMod::KeyAction FilterDelayKey(int key, bool commaLocale)
{
    if ((key >= '0' && key <= '9') || key == Backspace || key == ' ')
        return {newMod::KeyAction::Pass, QChar()};
    if (key == Enter)
        return {newMod::KeyAction::Apply, QChar()};
    if (key == ',' || key == '.')
        return newMod::FilterKey(key, commaLocale);
    return {newMod::KeyAction::Replace, QLatin1Char(' ')};
}

} // namespace EditorValues
