#include "ModelFixture.h"
#include "presets/ChannelCopy.h"

namespace {

using ChannelCopy::Direction;
using ChannelCopy::Outcome;
using ChannelCopy::Selection;

class ChannelCopyTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ChannelCopy::Reset();
        ModFun::LoadDefaultImage();
        MakeChannelAOtherThanB();
    }
};

struct CopyRow
{
    const char *name;
    Selection selection;
    int source;
    std::vector<int> changed;
    std::vector<int> commands;
};

void PrintTo(const CopyRow &row, std::ostream *out)
{
    *out << row.name;
}

class ChannelCopyRows : public ChannelCopyTest, public ::testing::WithParamInterface<CopyRow>
{
};

TEST_P(ChannelCopyRows, CopiesExactlyItsBytesAndRebuilds)
{
    const CopyRow &row = GetParam();
    const int destination = 1 - row.source;
    const auto before = ModFun::state.ParamImage;
    ASSERT_EQ(ChannelCopy::CopyAsked(row.source, destination, row.selection), Outcome::Copied);
    EXPECT_EQ(ChangedBytes(before), row.changed);
    EXPECT_EQ(serial.Commands(), row.commands);
    for (const FrameBuffer &frame : Frames())
        EXPECT_EQ(frame[3], destination);
    ExpectDerivedStateCurrent();
}

const Selection Eq{.eq = true};
const Selection Crossover{.crossover = true};
const Selection Delay{.delay = true};
const Selection Gate{.gate = true};
const Selection Limiter{.limiter = true};
const Selection All{true, true, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    EveryBlockBothWays, ChannelCopyRows,
    ::testing::Values(CopyRow{"EqToB", Eq, 0, Runs({{64, 108}, {122, 122}}), Commands(15, {0x0A})},
                      CopyRow{"CrossoverToB", Crossover, 0, Runs({{115, 118}, {122, 122}}),
                              Commands(0, {0x04, 0x04, 0x0A})},
                      CopyRow{"DelayToB", Delay, 0, Runs({{119, 122}}), Commands(0, {0x02, 0x0A})},
                      CopyRow{"GateToB", Gate, 0, Runs({{122, 126}}), Commands(0, {0x14, 0x0A})},
                      CopyRow{"LimiterToB", Limiter, 0, Runs({{109, 111}, {122, 122}}),
                              Commands(0, {0x07, 0x0A})},
                      CopyRow{"AllToB", All, 0, Runs({{64, 111}, {115, 126}}),
                              Commands(15, {0x04, 0x04, 0x02, 0x14, 0x07, 0x0A})},
                      CopyRow{"EqToA", Eq, 1, Runs({{0, 44}, {58, 58}}), Commands(15, {0x0A})},
                      CopyRow{"CrossoverToA", Crossover, 1, Runs({{51, 54}, {58, 58}}),
                              Commands(0, {0x04, 0x04, 0x0A})},
                      CopyRow{"DelayToA", Delay, 1, Runs({{55, 58}}), Commands(0, {0x02, 0x0A})},
                      CopyRow{"GateToA", Gate, 1, Runs({{58, 62}}), Commands(0, {0x14, 0x0A})},
                      CopyRow{"LimiterToA", Limiter, 1, Runs({{45, 47}, {58, 58}}),
                              Commands(0, {0x07, 0x0A})},
                      CopyRow{"AllToA", All, 1, Runs({{0, 47}, {51, 62}}),
                              Commands(15, {0x04, 0x04, 0x02, 0x14, 0x07, 0x0A})}),
    [](const ::testing::TestParamInfo<CopyRow> &info) { return std::string(info.param.name); });

TEST_F(ChannelCopyTest, RefusalsAndNoChangeNothing)
{
    const auto before = ModFun::state.ParamImage;
    const Selection all{true, true, true, true, true};
    EXPECT_EQ(ChannelCopy::CopyAsked(1, 1, all), Outcome::Refused);
    EXPECT_EQ(ChannelCopy::CopyAsked(0, 1, Selection{}), Outcome::Refused);
    messages.Answer(Messages::Answer::No);
    EXPECT_EQ(ChannelCopy::CopyAsked(0, 1, all), Outcome::Declined);
    ASSERT_EQ(messages.Shown().size(), 3u);
    EXPECT_EQ(messages.Shown()[0].box.text, "Copy not possible, Source=Dest");
    EXPECT_EQ(messages.Shown()[0].box.title, "Channel Copy ");
    EXPECT_EQ(messages.Shown()[1].box.text, "Copy not possible, please select a parameter");
    EXPECT_EQ(messages.Shown()[1].box.icon, Messages::Icon::Critical);
    EXPECT_EQ(messages.Shown()[2].box.text, "               Are you sure ? ");
    EXPECT_EQ(ModFun::state.ParamImage, before);
    EXPECT_FALSE(ChannelCopy::state.CopyGate);
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(ChannelCopyTest, ALostLinkStopsTheCopy)
{
    ChannelCopy::state = {true, true, true, true, true};
    serial.QueueReply(ReplyFrame(0x05));
    serial.QueueFailure();
    serial.refusedPorts.insert("COM0");
    EXPECT_FALSE(ChannelCopy::CopyChannel(Direction::AToB));
    EXPECT_EQ(serial.Commands(), (std::vector{0x05, 0x05}));
    EXPECT_EQ(Image(122), 0) << "the mute frame was never sent";
}

} // namespace
