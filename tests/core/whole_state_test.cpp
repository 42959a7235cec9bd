#include "ModelFixture.h"

namespace {

class WholeState : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ModFun::LoadDefaultImage();
    }
};

TEST_F(WholeState, MutesSendsEveryBlockInOrderAndPutsTheMuteBack)
{
    Image(58) = 1;
    Image(122) = 0;
    ASSERT_TRUE(ModFun::SendWholeState());
    std::vector<int> expected{0x0A, 0x0A};
    expected.insert(expected.end(), 30, 0x05);
    expected.insert(expected.end(), 4, 0x04);
    for (int command : {0x02, 0x02, 0x14, 0x14, 0x07, 0x07, 0x0A, 0x0A})
        expected.push_back(command);
    EXPECT_EQ(serial.Commands(), expected);
    const auto frames = Frames();
    EXPECT_EQ(frames[2 + 16], ReplyFrame(0x05, 1, 1, 0, 12, 24, 30));
    EXPECT_EQ(frames[32 + 1], ReplyFrame(0x04, 0, 1, 0, 0, 120, 0));
    EXPECT_EQ(frames[39][3], 1); // gate of channel B
    EXPECT_EQ(frames[0], ReplyFrame(0x0A, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[1], ReplyFrame(0x0A, 1, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[42], ReplyFrame(0x0A, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[43], ReplyFrame(0x0A, 1, 0, 0, 0, 0, 0));
    EXPECT_EQ(ModFun::state.Mute[0], 1.0);
    EXPECT_EQ(ModFun::state.Mute[1], 0.0);
    EXPECT_EQ(Image(58), 1);
    EXPECT_EQ(Image(122), 0);
}

TEST_F(WholeState, FlagsByteSetsEqualiserTypeAndLinkBox)
{
    struct Row
    {
        std::uint8_t flags;
        const char *caption;
        bool linked;
    };
    for (const Row row : {Row{1, "GEQ", false}, Row{3, "GEQ", true}, Row{2, "PEQ", true}}) {
        QObject window;
        std::vector<bool> boxUpdates;
        QObject::connect(&ModFun::notifier(), &ModFun::Notifier::linkBoxChanged, &window,
                         [&](bool ticked) {
                             EXPECT_TRUE(PanelFlags::state.UpdatingControls);
                             boxUpdates.push_back(ticked);
                         });
        Image(127) = row.flags;
        ModFun::SendWholeState();
        EXPECT_EQ(ModFun::state.EqCaption[0], row.caption);
        EXPECT_EQ(ModFun::state.LinkAB, row.linked ? 1.0 : 0.0);
        EXPECT_EQ(ModFun::state.ChannelLink, row.linked ? 1 : 0);
        EXPECT_EQ(boxUpdates, std::vector{row.linked});
        EXPECT_FALSE(PanelFlags::state.UpdatingControls);
    }
    const auto commands = serial.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x12), 0);
}

TEST_F(WholeState, EachPictureIsRedrawnOnceAfterItsLastCurve)
{
    std::vector<int> redrawn;
    ModGraph::SetRedrawHook([&](int channel) {
        redrawn.push_back(channel);
        // The channel's last filter is in place when it is redrawn.
        EXPECT_EQ(ModFun::state.CrossoverFreqHz[2 * channel + 1], 20000.0);
    });
    ModFun::SendWholeState();
    EXPECT_TRUE(redrawn.empty()); // the filter window is not shown
    ModGraph::state.FilterEditorShown = true;
    ModFun::SendWholeState();
    EXPECT_EQ(redrawn, (std::vector{0, 1}));
    EXPECT_TRUE(ModGraph::state.CurveDrawEnabled);
}

/// The frames answered before the one that fails: it is a band frame or the first filter frame.
class WholeStateFailure : public WholeState, public ::testing::WithParamInterface<int>
{
};

TEST_P(WholeStateFailure, StopsAtAFailureTheLinkCannotMend)
{
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    Image(122) = 1;
    for (int i = 0; i < GetParam(); ++i)
        serial.QueueReply(ReplyFrame(0));
    serial.QueueFailure();
    serial.refusedPorts.insert("COM0");
    EXPECT_FALSE(ModFun::SendWholeState());
    EXPECT_EQ(serial.calls.size(), std::size_t(GetParam() + 1));
    EXPECT_EQ(panelClosed, 1);
    EXPECT_EQ(messages.Texts().size(), 1);
    EXPECT_EQ(Image(58), 0); // the image keeps its own mute bytes
    EXPECT_EQ(Image(122), 1);
    EXPECT_EQ(ModFun::state.Mute[0], 0.0);
}

INSTANTIATE_TEST_SUITE_P(AtABandOrAFilter, WholeStateFailure, ::testing::Values(5, 32));

TEST_F(WholeState, MirrorRunsOnlyWhenLinkedShowingAsTheProgramAndTakingWithoutSending)
{
    std::vector<bool> seen;
    const auto show = [&] { seen.push_back(PanelFlags::state.UpdatingControls); };
    const auto take = [&] { seen.push_back(ModTxRx::state.SendSuspended); };
    EXPECT_FALSE(ModFun::MirrorOntoLinkedChannel(show, take));
    ModFun::state.ChannelLink = 1;
    EXPECT_TRUE(ModFun::MirrorOntoLinkedChannel(show, take));
    EXPECT_EQ(seen, (std::vector{true, true}));
}

TEST_F(WholeState, LinkCopyPutsChannelAOnBByteForByte)
{
    for (int i : {112, 113, 114, 127}) // B's reserved bytes and the flags byte are markers
        Image(i) = 99;
    MakeChannelAOtherThanB();
    const auto before = ModFun::state.ParamImage;
    ASSERT_TRUE(ModFun::LinkCopyAToB());
    EXPECT_EQ(ChangedBytes(before), Runs({{64, 111}, {115, 126}}));
    EXPECT_EQ(serial.Commands(), Commands(15, {0x04, 0x04, 0x02, 0x14, 0x07, 0x0A}));
    for (const FrameBuffer &frame : Frames())
        EXPECT_EQ(frame[3], 1);
    ExpectDerivedStateCurrent();
}

} // namespace
