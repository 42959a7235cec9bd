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
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
        // Channel A differs from B in every block.
        for (int i = 0; i < 58; ++i)
            Image(i) = static_cast<std::uint8_t>(i % 3 + 1);
        Image(58) = 1;
        ModFun::state.Mute[0] = 1.0;
        for (int i = 59; i < 63; ++i)
            Image(i) = 1;
    }

    std::vector<int> ChangedBytes(const std::array<std::uint8_t, 129> &before) const
    {
        std::vector<int> changed;
        for (int i = 0; i < 129; ++i) {
            if (ModFun::state.ParamImage[i] != before[i])
                changed.push_back(i);
        }
        return changed;
    }
};

TEST_F(ChannelCopyTest, DelayAloneSendsOneDelayAndOneMuteFrame)
{
    const auto before = ModFun::state.ParamImage;
    ASSERT_EQ(ChannelCopy::CopyAsked(0, 1, Selection{.delay = true}), Outcome::Copied);
    EXPECT_EQ(
        Frames(),
        (std::vector{ReplyFrame(0x02, 1, 0, 0, 2, 3, 1), ReplyFrame(0x0A, 1, 0, 0, 0, 0, 1)}));
    EXPECT_EQ(ChangedBytes(before), (std::vector{119, 120, 121, 122}));
    EXPECT_EQ(ModFun::state.Mute[1], 1.0);
    EXPECT_TRUE(ChannelCopy::state.CopyDelay);
    EXPECT_FALSE(ChannelCopy::state.CopyEq);
}

TEST_F(ChannelCopyTest, CrossoverCopiesBothFiltersOfTheChannel)
{
    ChannelCopy::state.CopyCrossover = true;
    ASSERT_TRUE(ChannelCopy::CopyChannel(Direction::AToB));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Image(115 + i), Image(51 + i));
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], ReplyFrame(0x04, 1, 0, 0, 0, Image(51), Image(52)));
    EXPECT_EQ(frames[1], ReplyFrame(0x04, 1, 1, 0, 0, Image(53), Image(54)));
    EXPECT_EQ(ModFun::state.CrossoverSlope[3], Image(54));
}

TEST_F(ChannelCopyTest, BToACopiesEveryBlockInTheUnitsOrder)
{
    ChannelCopy::state = {true, true, true, true, false};
    const auto channelB = ModFun::state.ParamImage;
    ASSERT_TRUE(ChannelCopy::CopyChannel(Direction::BToA));
    std::vector<int> expected(15, 0x05);
    for (int command : {0x02, 0x14, 0x07, 0x0A})
        expected.push_back(command);
    EXPECT_EQ(serial.Commands(), expected);
    for (const FrameBuffer &frame : Frames())
        EXPECT_EQ(frame[3], 0) << "channel A is the destination";
    EXPECT_TRUE(std::equal(channelB.begin() + 64, channelB.begin() + 109,
                           ModFun::state.ParamImage.begin()));
    EXPECT_EQ(Image(51), 1) << "filters were not selected";
    EXPECT_EQ(Image(59), 0);
    EXPECT_EQ(Image(58), 0) << "channel B is not muted";
    EXPECT_EQ(ModFun::state.BandGainDb[0], 0.0);
    EXPECT_EQ(ModFun::state.Summary[ModFun::EqBlock], "EQ Flat");
}

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
