#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "editors/newMod.h"

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
