#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "editors/newMod.h"

namespace {

TEST(EntryChecks, GateBoxes)
{
    EXPECT_EQ(newMod::SnapGateThreshold(-72.5), -75); // halfway goes down
    EXPECT_EQ(newMod::SnapGateThreshold(-72), -70);
    EXPECT_EQ(newMod::SnapGateThreshold(-95), -90);
    EXPECT_EQ(newMod::SnapGateThreshold(-50), -60);
    EXPECT_EQ(newMod::SnapGateThreshold(-85), -85);

    EXPECT_EQ(newMod::GateReleaseIndex(12.5), 2);
    EXPECT_EQ(newMod::GateReleaseIndex(13), 3);
    EXPECT_EQ(newMod::GateReleaseIndex(100), 8);
    EXPECT_EQ(newMod::GateReleaseIndex(-3), 0);

    EXPECT_EQ(newMod::GateAttackIndex(0.75), 2);
    EXPECT_EQ(newMod::GateAttackIndex(0.78), 3);
    EXPECT_EQ(newMod::GateAttackIndex(0.3), 0);
    EXPECT_EQ(newMod::GateAttackIndex(2), 5);
}

TEST(EntryChecks, LimiterBoxes)
{
    EXPECT_EQ(newMod::SnapLimiterThreshold(-0.05), 0);
    // The computed distances to -12.2 and -12.0 are equal: the lower point wins.
    EXPECT_DOUBLE_EQ(newMod::SnapLimiterThreshold(-12.1), -12.2);
    EXPECT_DOUBLE_EQ(newMod::SnapLimiterThreshold(-12.15), -12.2);
    EXPECT_EQ(newMod::SnapLimiterThreshold(-35), -30);
    EXPECT_EQ(newMod::SnapLimiterThreshold(5), 0);

    EXPECT_EQ(newMod::LimiterReleaseIndex(1000), 205);
    EXPECT_EQ(newMod::LimiterReleaseIndex(10), 0);
    EXPECT_EQ(newMod::LimiterReleaseIndex(202.5), 175); // 200 and 205: halfway goes down
    EXPECT_EQ(newMod::LimiterReleaseIndex(203), 176);
    EXPECT_EQ(newMod::LimiterAttackIndex(25.5), 24);
    EXPECT_EQ(newMod::LimiterAttackIndex(60), 49);
}

TEST(EntryChecks, EqualiserBoxes)
{
    EXPECT_EQ(newMod::SnapFilterGain(0.25), 0);
    EXPECT_EQ(newMod::SnapFilterGain(0.3), 0.5);
    EXPECT_EQ(newMod::SnapFilterGain(-14.8), -15);
    EXPECT_EQ(newMod::SnapFilterGain(99), 15);

    EXPECT_EQ(newMod::QIndexOf(2.2), 24);
    EXPECT_EQ(newMod::QIndexOf(0.1), 0);
    EXPECT_EQ(newMod::QIndexOf(10.5), 102);
    EXPECT_EQ(newMod::QIndexOf(10.6), 103);
    EXPECT_EQ(newMod::QIndexOf(500), 220);
}

TEST(EntryChecks, GridAndIndexAgree)
{
    const newMod::GridPoint thirds = [](int k) { return k / 3.0; };
    EXPECT_EQ(newMod::SnapToGridIndex(0.9, thirds, 9), 3);
    EXPECT_EQ(newMod::SnapToGrid(0.9, thirds, 9), 1.0);
    EXPECT_EQ(newMod::SnapToGrid(7, thirds, 9), 3.0);
    EXPECT_EQ(newMod::SnapToGridIndex(std::nan(""), thirds, 9), 0);
}

TEST(EntryChecks, KeyFilterFollowsTheLocale)
{
    using Kind = newMod::KeyAction::Kind;
    for (int key : {',', '.'}) {
        const auto comma = newMod::FilterKey(key, true);
        EXPECT_EQ(comma.kind, Kind::Replace);
        EXPECT_EQ(comma.replacement, QLatin1Char(','));
        EXPECT_EQ(newMod::FilterKey(key, false).replacement, QLatin1Char('.'));
    }
    EXPECT_EQ(newMod::FilterKey(13, false).kind, Kind::Apply);
    for (int key : {int('7'), int('-'), int('+'), 8, 3, 22, int('x')})
        EXPECT_EQ(newMod::FilterKey(key, true).kind, Kind::Pass) << key;
}

} // namespace
