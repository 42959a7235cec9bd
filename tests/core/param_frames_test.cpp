#include "ModelFixture.h"

namespace {

using ParamFrames = ModelTest;

TEST_F(ParamFrames, EqualiserAndCrossoverOfChannelB)
{
    Image(64) = 42; // +6 dB, 1 kHz, Q 2.2
    Image(65) = 68;
    Image(66) = 24;
    ModFun::SendEqBand(15);
    Image(117) = 68;
    Image(118) = 2;
    ModFun::SendCrossover(3);
    ModFun::SendEqBand(30);
    ModFun::SendCrossover(-1);
    EXPECT_EQ(Frames(),
              (std::vector{ReplyFrame(0x05, 1, 0, 0, 0x44, 0x18, 0x2A),
                           ReplyFrame(0x04, 1, 1, 0, 0, 68, 2)}));
    EXPECT_EQ(ModFun::state.BandGainDb[15], 6.0);
    EXPECT_EQ(ModFun::state.BandFreqHz[15], 1000.0);
    EXPECT_EQ(ModFun::state.BandQCode[15], 24.0);
    EXPECT_EQ(ModFun::state.CrossoverFreqHz[3], 1000.0);
    EXPECT_EQ(ModFun::state.CrossoverSlope[3], 2.0);
}

TEST_F(ParamFrames, DelayGateAndLimiterCarryTheImageBytes)
{
    Image(119) = 1; // 300 ms + fine 24
    Image(120) = 44;
    Image(121) = 24;
    ModFun::SendDelay(1);
    const std::uint8_t gate[] = {1, 3, 5, 2};
    std::copy(std::begin(gate), std::end(gate), &Image(123));
    ModFun::SendGate(3);
    Image(45) = 4; // attack, release, threshold
    Image(46) = 75;
    Image(47) = 150;
    ModFun::SendLimiter(0);
    ModFun::SendGate(6);
    ModFun::SendLimiter(2);
    EXPECT_EQ(Frames(),
              (std::vector{ReplyFrame(0x02, 1, 0, 0, 1, 44, 24), ReplyFrame(0x14, 1, 0, 1, 3, 5, 2),
                           ReplyFrame(0x07, 0, 0, 0, 75, 4, 150)}));
    EXPECT_EQ(ModFun::state.Summary[14], " 300.499 ms ");
    EXPECT_EQ(ModFun::state.Summary[10], " Thr= -75 ; Rel=30 ; Atk=0.7");
    SystemFlags::SetDistanceUnit(true);
    ModFun::SendDelay(1);
    EXPECT_EQ(ModFun::state.Summary[14], " 102.16966 m ");
}

TEST_F(ParamFrames, MuteTwiceAndLinkWithGraphicEqualiser)
{
    ModFun::ToggleMute(1);
    EXPECT_EQ(Image(122), 1);
    EXPECT_EQ(ModFun::state.MuteText[1], "Muted");
    ModFun::ToggleMute(1);
    EXPECT_EQ(Image(122), 0);
    EXPECT_EQ(ModFun::state.Mute[1], 0.0);
    EXPECT_EQ(ModFun::state.MuteText[1], "Unmuted");

    ModFun::state.GeqSelected = 1.0;
    ModFun::state.LinkBoxTicked = true;
    ModFun::SendLink();
    EXPECT_EQ(Image(127), 3);
    EXPECT_EQ(ModFun::state.ChannelLink, 1);
    ModFun::state.LinkBoxTicked = false;
    ModFun::SendLink();
    EXPECT_EQ(Image(127), 1);
    EXPECT_EQ(ModFun::state.LinkAB, 0.0);
    EXPECT_EQ(
        Frames(),
        (std::vector{ReplyFrame(0x0A, 1, 0, 0, 0, 0, 1), ReplyFrame(0x0A, 1, 0, 0, 0, 0, 0),
                     ReplyFrame(0x12, 0, 0, 0, 0, 0, 1), ReplyFrame(0x12, 0, 0, 0, 0, 0, 0)}));
}

} // namespace
