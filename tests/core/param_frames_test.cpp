#include "ModelFixture.h"

namespace {

using ParamFrames = ModelTest;

TEST_F(ParamFrames, EqBandFifteenIsChannelBBandOne)
{
    Image(64) = 42; // +6 dB
    Image(65) = 68; // 1 kHz
    Image(66) = 24; // Q 2.2
    ModFun::SendEqBand(15);
    ASSERT_EQ(serial.calls.size(), 1u);
    EXPECT_EQ(serial.calls[0].frame, ReplyFrame(0x05, 1, 0, 0, 0x44, 0x18, 0x2A));
    EXPECT_EQ(ModGraph::state.BandGainDb[15], 6.0);
    EXPECT_EQ(ModGraph::state.BandFreqHz[15], 1000.0);
    EXPECT_EQ(ModGraph::state.BandQCode[15], 24.0);

    Image(106) = 0;
    Image(107) = 120;
    Image(108) = 220;
    ModFun::SendEqBand(29);
    EXPECT_EQ(serial.calls[1].frame, ReplyFrame(0x05, 1, 14, 0, 120, 220, 0));
    EXPECT_EQ(ModGraph::state.BandGainDb[29], -15.0);

    ModFun::SendEqBand(30);
    ModFun::SendEqBand(-1);
    EXPECT_EQ(serial.calls.size(), 2u);
}

TEST_F(ParamFrames, CrossoverThreeIsChannelBLowPass)
{
    Image(117) = 68;
    Image(118) = 2;
    ModFun::SendCrossover(3);
    Image(51) = 10;
    Image(52) = 1;
    ModFun::SendCrossover(0);
    EXPECT_EQ(
        Frames(),
        (std::vector {ReplyFrame(0x04, 1, 1, 0, 0, 68, 2), ReplyFrame(0x04, 0, 0, 0, 0, 10, 1)}));
    EXPECT_EQ(ModGraph::state.CrossoverFreqHz[3], 1000.0);
    EXPECT_EQ(ModGraph::state.CrossoverSlope[3], 2.0);
    EXPECT_EQ(ModGraph::state.CrossoverFreqHz[0], 36.0);
}

TEST_F(ParamFrames, DelayCarriesWholeMillisecondsAndFinePart)
{
    Image(119) = 1;
    Image(120) = 44;
    Image(121) = 24;
    ModFun::SendDelay(1);
    EXPECT_EQ(serial.calls.back().frame, ReplyFrame(0x02, 1, 0, 0, 1, 44, 24));
    EXPECT_EQ(ModFun::state.Summary[14], " 300.499 ms ");
    ModFun::SetDistanceUnit(true);
    ModFun::SendDelay(1);
    EXPECT_EQ(ModFun::state.Summary[14], " 102.16966 m ");
    EXPECT_EQ(ModFun::state.SystemFlags, ModFun::DistanceBit);
}

TEST_F(ParamFrames, GateAndLimiterSendTheirBytesInTheUnitsOrder)
{
    const std::uint8_t gate[] = {1, 3, 5, 2};
    std::copy(std::begin(gate), std::end(gate), &Image(123));
    ModFun::SendGate(3);
    Image(45) = 4; // attack
    Image(46) = 75; // release
    Image(47) = 150;
    ModFun::SendLimiter(0);
    EXPECT_EQ(
        Frames(),
        (std::vector {ReplyFrame(0x14, 1, 0, 1, 3, 5, 2), ReplyFrame(0x07, 0, 0, 0, 75, 4, 150)}));
    EXPECT_EQ(ModFun::state.Summary[10], " Thr= -75 ; Rel=30 ; Atk=0.7");
    ModFun::SendGate(6);
    ModFun::SendLimiter(2);
    EXPECT_EQ(serial.calls.size(), 2u);
}

TEST_F(ParamFrames, MuteTwiceReturnsToWhereItWas)
{
    ModFun::ToggleMute(1);
    EXPECT_EQ(Image(122), 1);
    EXPECT_EQ(ModFun::state.Mute[1], 1.0);
    EXPECT_EQ(ModFun::state.MuteText[1], "Muted");
    ModFun::ToggleMute(1);
    EXPECT_EQ(Image(122), 0);
    EXPECT_EQ(ModFun::state.Mute[1], 0.0);
    EXPECT_EQ(ModFun::state.MuteText[1], "Unmuted");
    EXPECT_EQ(
        Frames(),
        (std::vector {ReplyFrame(0x0A, 1, 0, 0, 0, 0, 1), ReplyFrame(0x0A, 1, 0, 0, 0, 0, 0)}));
}

TEST_F(ParamFrames, LinkWritesTheFlagsByteFromTheBoxAndTheEqualiserType)
{
    ModFun::state.GeqSelected = 1.0;
    ModFun::state.LinkBoxTicked = true;
    ModFun::SendLink();
    EXPECT_EQ(Image(127), 3);
    EXPECT_EQ(ModFun::state.LinkAB, 1.0);
    EXPECT_EQ(ModFun::state.ChannelLink, 1);
    ModFun::state.LinkBoxTicked = false;
    ModFun::SendLink();
    EXPECT_EQ(Image(127), 1);
    EXPECT_EQ(ModFun::state.ChannelLink, 0);
    EXPECT_EQ(
        Frames(),
        (std::vector {ReplyFrame(0x12, 0, 0, 0, 0, 0, 1), ReplyFrame(0x12, 0, 0, 0, 0, 0, 0)}));
}

TEST_F(ParamFrames, DemoModeSetsEverythingButSendsNothing)
{
    ModTxRx::state.DemoMode = true;
    Image(0) = 40;
    ModFun::SendEqBand(0);
    ModFun::ToggleMute(0);
    EXPECT_TRUE(serial.calls.empty());
    EXPECT_EQ(ModGraph::state.BandGainDb[0], 5.0);
    EXPECT_EQ(ModFun::state.Summary[1], "~~~~~~");
    EXPECT_EQ(Image(58), 1);
}

TEST_F(ParamFrames, LockAndDistanceBitsNeverOverwriteEachOther)
{
    ModFun::KeepSystemFlags(0xC5); // locked, metres, and bits the program does not keep
    EXPECT_EQ(ModFun::state.SystemFlags, 0xC0);
    EXPECT_EQ(ModFun::state.DelayInMetres, 1.0);
    ModFun::SetLockBit(false);
    EXPECT_EQ(ModFun::state.SystemFlags, ModFun::DistanceBit);
    ModFun::SetDistanceUnit(false);
    ModFun::SetLockBit(true);
    EXPECT_EQ(ModFun::state.SystemFlags, ModFun::LockBit);
    EXPECT_EQ(ModFun::state.DelayInMetres, 0.0);
}

} // namespace
