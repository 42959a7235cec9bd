#include "ModelFixture.h"
#include "model/ValueTables.h"

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

TEST_F(WholeState, SendsFortyFourFramesInBlockOrder)
{
    ASSERT_TRUE(ModFun::SendWholeState());
    std::vector<int> expected {0x0A, 0x0A};
    expected.insert(expected.end(), 30, 0x05);
    expected.insert(expected.end(), 4, 0x04);
    for (int command : {0x02, 0x02, 0x14, 0x14, 0x07, 0x07, 0x0A, 0x0A})
        expected.push_back(command);
    EXPECT_EQ(serial.Commands(), expected);
    const auto frames = Frames();
    for (int band = 0; band < 30; ++band) {
        EXPECT_EQ(frames[2 + band][3], band / 15) << band;
        EXPECT_EQ(frames[2 + band][4], band % 15) << band;
    }
    for (int filter = 0; filter < 4; ++filter) {
        EXPECT_EQ(frames[32 + filter][3], filter / 2);
        EXPECT_EQ(frames[32 + filter][4], filter % 2);
    }
    for (int i = 36; i < 42; ++i)
        EXPECT_EQ(frames[i][3], i % 2) << i; // channel A, then B, for each block
}

TEST_F(WholeState, MutesBothChannelsThenPutsTheImagesMuteBack)
{
    Image(58) = 1;
    Image(122) = 0;
    ASSERT_TRUE(ModFun::SendWholeState());
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 44u);
    EXPECT_EQ(frames[0], ReplyFrame(0x0A, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[1], ReplyFrame(0x0A, 1, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[42], ReplyFrame(0x0A, 0, 0, 0, 0, 0, 1));
    EXPECT_EQ(frames[43], ReplyFrame(0x0A, 1, 0, 0, 0, 0, 0));
    EXPECT_EQ(ModFun::state.Mute[0], 1.0);
    EXPECT_EQ(ModFun::state.Mute[1], 0.0);
    EXPECT_EQ(Image(58), 1);
    EXPECT_EQ(Image(122), 0);
    EXPECT_EQ(ModFun::state.MuteText[0], "Muted");
}

TEST_F(WholeState, FlagsByteSetsEqualiserTypeAndLinkBox)
{
    struct Row
    {
        std::uint8_t flags;
        const char *caption;
        bool linked;
    };
    for (const Row row : {Row {1, "GEQ", false}, Row {3, "GEQ", true}, Row {2, "PEQ", true}}) {
        QObject window;
        std::vector<bool> boxUpdates;
        QObject::connect(&ModFun::notifier(), &ModFun::Notifier::linkBoxChanged, &window,
                         [&](bool ticked) {
                             EXPECT_TRUE(ModFun::state.UpdatingControls);
                             boxUpdates.push_back(ticked);
                         });
        Image(127) = row.flags;
        serial.calls.clear();
        ModFun::SendWholeState();
        EXPECT_EQ(ModFun::state.EqCaption[0], row.caption);
        EXPECT_EQ(ModFun::state.EqCaption[1], row.caption);
        EXPECT_EQ(ModFun::state.LinkAB, row.linked ? 1.0 : 0.0);
        EXPECT_EQ(ModFun::state.ChannelLink, row.linked ? 1 : 0);
        EXPECT_EQ(ModFun::state.LinkBoxTicked, row.linked);
        EXPECT_EQ(boxUpdates, std::vector {row.linked});
        EXPECT_FALSE(ModFun::state.UpdatingControls);
        const auto commands = serial.Commands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x12), 0);
    }
}

TEST_F(WholeState, DemoRefreshesEverythingWithoutSending)
{
    ModTxRx::state.DemoMode = true;
    Image(0) = 60;
    Image(58) = 1;
    ASSERT_TRUE(ModFun::SendWholeState());
    EXPECT_TRUE(serial.calls.empty());
    EXPECT_EQ(ModFun::state.Summary[1], "~~~~~~");
    EXPECT_EQ(ModFun::state.Mute[0], 1.0);
    EXPECT_EQ(Image(58), 1);
    EXPECT_NEAR(ModGraph::state.TotalCurve[0][0], ModGraph::state.BandCurve[0][0], 1e-12);
    const ModGraph::Curve &band = ModGraph::state.BandCurve[0];
    EXPECT_NEAR(*std::max_element(band.begin(), band.end()), 15.0, 0.05);
}

TEST_F(WholeState, EachPictureIsRedrawnOnceAfterItsLastCurve)
{
    std::vector<int> redrawn;
    ModGraph::SetRedrawHook([&](int channel) {
        redrawn.push_back(channel);
        // The totals are complete when a channel is redrawn.
        EXPECT_EQ(ModGraph::state.CrossoverFreqHz[2 * channel + 1], 20000.0);
    });
    ModFun::SendWholeState();
    EXPECT_TRUE(redrawn.empty()); // the filter window is not shown
    ModGraph::state.FilterEditorShown = true;
    ModFun::SendWholeState();
    EXPECT_EQ(redrawn, (std::vector {0, 1}));
    EXPECT_TRUE(ModGraph::state.CurveDrawEnabled);
    redrawn.clear();
    ModGraph::state.GraphFrozen = 1;
    ModFun::SendWholeState();
    EXPECT_TRUE(redrawn.empty());
}

TEST_F(WholeState, StopsAtAFailureTheLinkCannotMend)
{
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    Image(58) = 0;
    Image(122) = 1;
    serial.responder = [](const FrameBuffer &request) { return request; };
    for (int i = 0; i < 5; ++i)
        serial.QueueReply(ReplyFrame(0));
    serial.QueueFailure();
    serial.refusedPorts.insert("COM0");
    EXPECT_FALSE(ModFun::SendWholeState());
    EXPECT_EQ(serial.calls.size(), 6u);
    EXPECT_EQ(panelClosed, 1);
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_EQ(Image(58), 0);
    EXPECT_EQ(Image(122), 1);
    EXPECT_EQ(ModFun::state.Mute[0], 0.0);
    EXPECT_EQ(ModFun::state.Mute[1], 1.0);
}

TEST_F(WholeState, GoesOnAfterAFailureTheReopenMends)
{
    serial.QueueReply(ReplyFrame(0));
    serial.QueueFailure();
    ASSERT_TRUE(ModFun::SendWholeState());
    const auto commands = serial.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 0x25), 1); // the identity query
    EXPECT_EQ(commands.size(), 45u);
}

TEST_F(WholeState, LinkCopyPutsChannelAOnB)
{
    Image(3) = 40;
    Image(51) = 30;
    Image(52) = 2;
    Image(56) = 7;
    Image(59) = 1;
    Image(62) = 4;
    Image(47) = 100;
    Image(64 + 48) = 99; // reserved bytes of B are not copied
    ModFun::state.Mute[0] = 1.0;
    ASSERT_TRUE(ModFun::LinkCopyAToB());
    for (int i : {3, 51, 52, 56, 59, 62, 47})
        EXPECT_EQ(Image(64 + i), Image(i)) << i;
    EXPECT_EQ(Image(64 + 48), 99);
    EXPECT_EQ(Image(122), 1);
    EXPECT_EQ(ModFun::state.Mute[1], 1.0);
    std::vector<int> expected(15, 0x05);
    for (int command : {0x04, 0x04, 0x02, 0x14, 0x07, 0x0A})
        expected.push_back(command);
    EXPECT_EQ(serial.Commands(), expected);
    for (const FrameBuffer &frame : Frames())
        EXPECT_EQ(frame[3], 1);
    EXPECT_EQ(ModGraph::state.BandGainDb[16], 5.0);
    EXPECT_EQ(ModGraph::state.CrossoverSlope[2], 2.0);
}

} // namespace
