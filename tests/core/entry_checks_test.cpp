#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "editors/EditorValues.h"
#include "editors/newMod.h"
#include "shell/ModCountry.h"

namespace {

TEST(EntryChecks, GridsSnapToTheNearestPointHalfwayDown)
{
    const std::pair<double, double> gate[] = {{-72.5, -75}, {-72, -70}, {-95, -90}, {-50, -60}};
    for (const auto &[typed, snapped] : gate)
        EXPECT_EQ(newMod::SnapGateThreshold(typed), snapped) << typed;
    // The computed distances of -12.1 to -12.2 and -12.0 are equal: the lower point wins.
    const std::pair<double, double> limiter[] = {{-0.05, 0}, {-12.1, -12.2}, {-35, -30}, {5, 0}};
    for (const auto &[typed, snapped] : limiter)
        EXPECT_DOUBLE_EQ(newMod::SnapLimiterThreshold(typed), snapped) << typed;
    EXPECT_EQ(newMod::SnapFilterGain(0.25), 0);
    EXPECT_EQ(newMod::SnapFilterGain(0.3), 0.5);
    EXPECT_EQ(newMod::SnapFilterGain(99), 15);
    const std::pair<double, int> attack[] = {{0.75, 2}, {0.78, 3}, {0.3, 0}, {2, 5}};
    for (const auto &[typed, index] : attack)
        EXPECT_EQ(newMod::GateAttackIndex(typed), index) << typed;
}

TEST(EntryChecks, TablesGiveTheNearestIndexHalfwayDown)
{
    EXPECT_EQ(newMod::GateReleaseIndex(12.5), 2);
    EXPECT_EQ(newMod::GateReleaseIndex(13), 3);
    EXPECT_EQ(newMod::GateReleaseIndex(100), 8);
    EXPECT_EQ(newMod::LimiterReleaseIndex(1000), 205);
    EXPECT_EQ(newMod::LimiterReleaseIndex(10), 0);
    EXPECT_EQ(newMod::LimiterReleaseIndex(202.5), 175); // between 200 and 205
    EXPECT_EQ(newMod::LimiterAttackIndex(25.5), 24);
    EXPECT_EQ(newMod::QIndexOf(2.2), 24);
    EXPECT_EQ(newMod::QIndexOf(10.5), 102);
    EXPECT_EQ(newMod::QIndexOf(500), 220);
    EXPECT_EQ(newMod::SnapToGridIndex(
                  std::nan(""), [](int k) { return k / 3.0; }, 9),
              0);
}

TEST(EntryChecks, KeyFilterFollowsTheLocale)
{
    using Kind = newMod::KeyAction::Kind;
    for (int key : {',', '.'}) {
        EXPECT_EQ(newMod::FilterKey(key, true).kind, Kind::Replace);
        EXPECT_EQ(newMod::FilterKey(key, true).replacement, QLatin1Char(','));
        EXPECT_EQ(newMod::FilterKey(key, false).replacement, QLatin1Char('.'));
    }
    EXPECT_EQ(newMod::FilterKey(13, false).kind, Kind::Apply);
    for (int key : {int('7'), int('-'), 8, 22, int('x')})
        EXPECT_EQ(newMod::FilterKey(key, true).kind, Kind::Pass) << key;
}

using namespace EditorValues;

TEST(EditorValues, ThresholdCornerMovesAlongTheRisingLine)
{
    EXPECT_EQ(ThresholdCorner(0, 160, 120), QPointF(160, 60)); // right edge, halfway up
    EXPECT_EQ(ThresholdCorner(-20, 160, 120), QPointF(80, 120)); // on the bottom edge
    EXPECT_EQ(ThresholdCorner(-30, 160, 120), QPointF(40, 150)); // under the bottom edge
}

TEST(EditorValues, GateCodesShowTheirValueAndTypedValuesFindThem)
{
    using Gate = std::tuple<GateValue, int, const char *>;
    for (const auto &[value, code, text] :
         {Gate{GateThreshold, 0, "-90"}, Gate{GateThreshold, 6, "-60"}, Gate{GateRelease, 8, "80"},
          Gate{GateAttack, 0, "0.5"}, Gate{GateAttack, 5, "1"}}) {
        EXPECT_EQ(GateText(value, code), text);
        EXPECT_EQ(GateCodeOfTyped(value, QString(text).toDouble()), code) << text;
    }
}

TEST(EditorValues, TypedDelaysBecomeCoarseAndFineSteps)
{
    struct Row
    {
        double typed;
        bool metres;
        DelaySetting setting;
    };
    const Row rows[] = {
        {10.5, false, {10, 24}}, // 0.5 / 0.0208 = 24.04
        {500, false, {300, 47}}, // capped at 300.979
        {200, true, {300, 47}}, // the largest delay
        {1, true, {2, 45}}, // 2.941 ms
        {3.4, true, {10, 0}}, // 9.999999999999998 ms
        {9.999, false, {10, 0}}, // nearer to 10 than to 9.9776
        {9.985, false, {9, 47}}, {0, false, {0, 0}},
        {-5.5, false, {0, 0}}, // pasted: no delay, not 0.5 ms
    };
    for (const Row &row : rows)
        EXPECT_EQ(DelayOfTyped(row.typed, row.metres), row.setting) << row.typed;
}

TEST(EditorValues, DelayTextDropsSpacesAndRefusesWhatIsNoNumber)
{
    ModCountry::CommaLocale = 1;
    EXPECT_EQ(TypedDelay(QStringLiteral("1 0,5")), 10.5);
    EXPECT_EQ(TypedDelay(QStringLiteral(" 10.5 ")), 10.5);
    ModCountry::CommaLocale = 0;
    EXPECT_EQ(TypedDelay(QStringLiteral("10,5")), std::nullopt);
    EXPECT_EQ(TypedDelay(QStringLiteral("   ")), std::nullopt);
}

TEST(EditorValues, DelayBoxKeys)
{
    using Kind = newMod::KeyAction::Kind;
    for (int key : {int('0'), int('9'), 8, int(' ')})
        EXPECT_EQ(FilterDelayKey(key, false).kind, Kind::Pass) << key;
    EXPECT_EQ(FilterDelayKey(13, false).kind, Kind::Apply);
    EXPECT_EQ(FilterDelayKey('.', true).replacement, QLatin1Char(','));
    EXPECT_EQ(FilterDelayKey(',', false).replacement, QLatin1Char('.'));
    // A minus sign, a letter and Ctrl+V all type a space.
    for (int key : {int('-'), int('a'), 22}) {
        EXPECT_EQ(FilterDelayKey(key, false).kind, Kind::Replace) << key;
        EXPECT_EQ(FilterDelayKey(key, false).replacement, QLatin1Char(' ')) << key;
    }
}

} // namespace

TEST(KeyFilter, CrossoverFrequencyBoxRefusesLettersButKeepsControlKeys)
{
    using newMod::KeyAction;
    EXPECT_EQ(newMod::FilterFrequencyKey('7', false).kind, KeyAction::Pass);
    EXPECT_EQ(newMod::FilterFrequencyKey(8, false).kind, KeyAction::Pass); // Backspace
    EXPECT_EQ(newMod::FilterFrequencyKey(22, false).kind, KeyAction::Pass); // Ctrl+V
    EXPECT_EQ(newMod::FilterFrequencyKey(13, false).kind, KeyAction::Apply);
    EXPECT_EQ(newMod::FilterFrequencyKey(',', false).replacement, QLatin1Char('.'));
    EXPECT_EQ(newMod::FilterFrequencyKey('.', true).replacement, QLatin1Char(','));
    for (int key : {'k', 'H', '-', '+', ' '})
        EXPECT_EQ(newMod::FilterFrequencyKey(key, false).kind, KeyAction::Refuse) << key;
}
