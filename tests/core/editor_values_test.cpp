#include "ModelFixture.h"
#include "editors/EditorValues.h"
#include "model/SystemFlags.h"

namespace {

using namespace EditorValues;

TEST(EditorValues, ThresholdCornerMovesAlongTheRisingLine)
{
    EXPECT_EQ(ThresholdCorner(0, 160, 120), QPointF(160, 60)); // right edge, halfway up
    EXPECT_EQ(ThresholdCorner(-20, 160, 120), QPointF(80, 120)); // on the bottom edge
    const QPointF low = ThresholdCorner(-30, 160, 120);
    EXPECT_EQ(low, QPointF(40, 150)); // under the bottom edge
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

class SystemFlagsTest : public ModelTest
{
};

TEST_F(SystemFlagsTest, DelayUnitAndLockShareTheByteWithoutOverwritingEachOther)
{
    EXPECT_EQ(DelayFrameCaption(1, true), QStringLiteral("Channel B - Right [ m ]"));
    ModFun::state.ChannelNames = {QStringLiteral("CH.A - Left"), QStringLiteral("CH.B - Right")};
    EXPECT_EQ(DelayFrameCaption(0, false), QStringLiteral("CH.A - Left [ ms ]"));

    SystemFlags::KeepSystemFlags(0x80 | 0x05); // locked, other bits the program does not own
    SystemFlags::SetDistanceUnit(true);
    SystemFlags::SendSystemFlags();
    SystemFlags::SetDistanceUnit(false);
    SystemFlags::SendSystemFlags();
    SystemFlags::SetLockBit(false);
    SystemFlags::SetDistanceUnit(true);
    SystemFlags::SendSystemFlags();
    const std::vector<FrameBuffer> expected{
        {0xF0, 0x10, 0x11, 0x00, 0x10, 0x00, 0xC0, 0x00, 0x00, 0xF7},
        {0xF0, 0x10, 0x11, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xF7},
        {0xF0, 0x10, 0x11, 0x00, 0x10, 0x00, 0x40, 0x00, 0x00, 0xF7},
    };
    EXPECT_EQ(Frames(), expected);
    EXPECT_EQ(ModFun::state.DelayInMetres, 1.0);
}

} // namespace
