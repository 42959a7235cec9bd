#include "editors/newMod.h"

namespace newMod {

using namespace ValueTables;

double SnapToGrid(double x, GridPoint point, int last)
{
    return point(SnapToGridIndex(x, point, last));
}

int SnapToGridIndex(double x, GridPoint point, int last)
{
    return NearestPointIndex(x, point, last);
}

double SnapGateThreshold(double x)
{
    return SnapToGrid(
        x, [](int k) { return 5.0 * k - 90; }, LastGateThresholdCode);
}

int GateReleaseIndex(double x)
{
    return NearestTableIndex(x, GateTimeTable);
}

int GateAttackIndex(double x)
{
    return SnapToGridIndex(
        x, [](int k) { return k / 10.0 + 0.5; }, LastGateAttackCode);
}

double SnapFilterGain(double x)
{
    return SnapToGrid(
        x, [](int k) { return k / 2.0 - 15; }, LastGainCode);
}

int QIndexOf(double x)
{
    return NearestTableIndex(x, QTable);
}

double SnapLimiterThreshold(double x)
{
    return SnapToGrid(
        x, [](int k) { return k / 5.0 - 30; }, LastThresholdCode);
}

int LimiterReleaseIndex(double x)
{
    return NearestTableIndex(x, ReleaseTable);
}

int LimiterAttackIndex(double x)
{
    return NearestTableIndex(x, AttackTable);
}

KeyAction FilterKey(int key, bool commaLocale)
{
    constexpr int Enter = 13;
    if (key == ',' || key == '.')
        return {KeyAction::Replace, QLatin1Char(commaLocale ? ',' : '.')};
    if (key == Enter)
        return {KeyAction::Apply, QChar()};
    return {KeyAction::Pass, QChar()};
}

KeyAction FilterFrequencyKey(int key, bool commaLocale)
{
    constexpr int FirstPrintable = 32;
    const KeyAction shared = FilterKey(key, commaLocale);
    if (shared.kind != KeyAction::Pass || key < FirstPrintable || (key >= '0' && key <= '9'))
        return shared;
    return {KeyAction::Refuse, QChar()};
}

} // namespace newMod
