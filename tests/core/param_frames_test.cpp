#include "ModelFixture.h"

namespace {

using ParamFrames = ModelTest;

struct FrameRow
{
    const char *name;
    std::vector<std::pair<int, int>> bytes;
    void (*send)();
    std::vector<FrameBuffer> frames;
};

void PrintTo(const FrameRow &row, std::ostream *out)
{
    *out << row.name;
}

class BlockFrames : public ParamFrames, public ::testing::WithParamInterface<FrameRow>
{
};

TEST_P(BlockFrames, SendsItsFrame)
{
    for (const auto &[index, value] : GetParam().bytes)
        Image(index) = static_cast<std::uint8_t>(value);
    GetParam().send();
    EXPECT_EQ(Frames(), GetParam().frames);
}

/// Sends the system flags after the unit held 0xC5: locked, metres, bits the program does not own.
void SendFlagsAfter(void (*change)())
{
    SystemFlags::KeepSystemFlags(0xC5);
    change();
    SystemFlags::SendSystemFlags();
}

INSTANTIATE_TEST_SUITE_P(
    EveryBlock, BlockFrames,
    ::testing::Values(
        FrameRow{"EqBandB1",
                 {{64, 42}, {65, 68}, {66, 24}},
                 [] { ModFun::SendEqBand(15); },
                 {ReplyFrame(0x05, 1, 0, 0, 0x44, 0x18, 0x2A)}},
        FrameRow{"LowPassB",
                 {{117, 68}, {118, 2}},
                 [] { ModFun::SendCrossover(3); },
                 {ReplyFrame(0x04, 1, 1, 0, 0, 68, 2)}},
        FrameRow{"DelayB",
                 {{119, 1}, {120, 44}, {121, 24}},
                 [] { ModFun::SendDelay(1); },
                 {ReplyFrame(0x02, 1, 0, 0, 1, 44, 24)}},
        FrameRow{"GateB",
                 {{123, 1}, {124, 3}, {125, 5}, {126, 2}},
                 [] { ModFun::SendGate(3); },
                 {ReplyFrame(0x14, 1, 0, 1, 3, 5, 2)}},
        FrameRow{"GateOffA",
                 {{59, 1}, {60, 3}},
                 [] { ModFun::SetGateOn(0, false); },
                 {ReplyFrame(0x14, 0, 0, 0, 3)}},
        FrameRow{"LimiterAReleaseBeforeAttack",
                 {{45, 4}, {46, 75}, {47, 150}},
                 [] { ModFun::SendLimiter(0); },
                 {ReplyFrame(0x07, 0, 0, 0, 75, 4, 150)}},
        FrameRow{"ChannelLinkOnCopiesSilentlyThenOff",
                 {},
                 [] {
                     ModFun::SetChannelLink(true);
                     ModFun::SetChannelLink(false);
                 },
                 {ReplyFrame(0x12, 0, 0, 0, 0, 0, 1), ReplyFrame(0x12)}},
        FrameRow{
            "OutOfRangeIndices",
            {},
            [] {
                ModFun::SendEqBand(30);
                ModFun::SendCrossover(-1);
                ModFun::SendGate(6);
                ModFun::SendLimiter(2);
            },
            {}},
        FrameRow{"LockedAndMetres",
                 {},
                 [] { SendFlagsAfter([] {}); },
                 {ReplyFrame(0x11, 0x00, 0x10, 0x00, 0xC0)}},
        FrameRow{"LockedOnly",
                 {},
                 [] { SendFlagsAfter([] { SystemFlags::SetDistanceUnit(false); }); },
                 {ReplyFrame(0x11, 0x00, 0x10, 0x00, 0x80)}},
        FrameRow{"MetresOnly",
                 {},
                 [] { SendFlagsAfter([] { SystemFlags::SetLockBit(false); }); },
                 {ReplyFrame(0x11, 0x00, 0x10, 0x00, 0x40)}}),
    [](const ::testing::TestParamInfo<FrameRow> &info) { return std::string(info.param.name); });

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
