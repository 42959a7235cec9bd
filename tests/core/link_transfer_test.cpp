#include <gtest/gtest.h>

#include <QCoreApplication>

#include "QtPrinters.h"
#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "link/FrameTrace.h"
#include "link/LineUse.h"
#include "link/ModTxRx.h"

namespace {

using ModTxRx::LinkOutcome;

class TransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModTxRx::Reset();
        ModTxRx::state.SerialPort = &serial;
        serial.open = true;
    }
    void TearDown() override { ModTxRx::Reset(); }

    RecordingSerial serial;
    ScriptedMessages messages;
};

TEST_F(TransferTest, KeepsTheReplyOnlyOfASuccessfulExchange)
{
    serial.QueueReply(ReplyFrame(0x05, 1, 2, 3, 4, 5, 6));
    ModTxRx::TransferFrame(0x05, 1, 0, 0, 0x44, 0x18, 0x2A);
    const FrameBuffer expected{0xF0, 0x10, 0x05, 1, 0, 0, 0x44, 0x18, 0x2A, 0xF7};
    EXPECT_EQ(serial.calls.at(0).frame, expected);
    EXPECT_FALSE(ModTxRx::state.TransferFailed);
    serial.QueueFailure();
    ModTxRx::TransferFrame(0x19, 0, 4, 0, 0, 0, 0);
    EXPECT_TRUE(ModTxRx::state.TransferFailed);
    EXPECT_TRUE(ModTxRx::state.LinkIdle);
    EXPECT_EQ(ModTxRx::state.RxFrame[8], 6);
    ModTxRx::TransferFrame(0x19, 0, 8, 0, 0, 0, 0);
    EXPECT_FALSE(ModTxRx::state.TransferFailed);
}

TEST_F(TransferTest, TimeOutAndReplyModeFollowTheCommand)
{
    for (int cmd : {0x00, 0x0F, 0x10, 0x11, 0x17, 0x18, 0x1B, 0x25, 0x2B, 0x3A})
        EXPECT_EQ(ModTxRx::ExchangeClassFor(cmd).timeoutMs, 10000) << cmd;
    for (int cmd : {0x02, 0x04, 0x05, 0x07, 0x0A, 0x12, 0x13, 0x14, 0x19, 0x1A, 0x3B})
        EXPECT_EQ(ModTxRx::ExchangeClassFor(cmd).timeoutMs, 3000) << cmd;
    ModTxRx::TransferFrame(0x21, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(serial.calls.back().timeoutMs, 2000);
    EXPECT_EQ(serial.calls.back().replyMode, 2);
}

TEST_F(TransferTest, SplitToBytesWritesMostSignificantFirst)
{
    ModTxRx::SplitToBytes(258, 0);
    ModTxRx::SplitToBytes(2.5, 4); // half to even
    ModTxRx::SplitToBytes(0x01020304, 36);
    const auto &bytes = ModTxRx::state.WorkBytes;
    EXPECT_EQ(std::vector<int>(bytes.begin(), bytes.begin() + 8),
              (std::vector<int>{0, 0, 1, 2, 0, 0, 0, 2}));
    EXPECT_EQ(std::vector<int>(bytes.begin() + 36, bytes.begin() + 40),
              (std::vector<int>{1, 2, 3, 4}));
    const auto before = ModTxRx::state.WorkBytes;
    ModTxRx::SplitToBytes(1, 37); // no room for four bytes: nothing is written
    EXPECT_EQ(ModTxRx::state.WorkBytes, before);
}

TEST_F(TransferTest, ConnectTriesTheRememberedPortThenEveryPort)
{
    serial.onlyPort = "COM7";
    ModTxRx::state.ComPort = 3;
    EXPECT_TRUE(ModTxRx::ConnectDevice());
    EXPECT_EQ(ModTxRx::state.ComPort, 7);
    const std::vector<QString> expected{"COM3", "COM1", "COM2", "COM3",
                                        "COM4", "COM5", "COM6", "COM7"};
    EXPECT_EQ(serial.opened, expected);

    serial.onlyPort = "COM99";
    serial.opened.clear();
    EXPECT_FALSE(ModTxRx::ConnectDevice());
    EXPECT_EQ(ModTxRx::state.ComPort, 32);
    EXPECT_EQ(serial.opened.size(), 33u);
}

TEST_F(TransferTest, IdentityNeedsByteEightSixteen)
{
    serial.QueueReply(ReplyFrame(0x25, 1, 0, 0, 0, 0, 0x11));
    EXPECT_FALSE(ModTxRx::IdentifyDevice());
    serial.QueueReply(ReplyFrame(0x25, 1, 0, 0, 0, 0, 0x10));
    EXPECT_TRUE(ModTxRx::IdentifyDevice());
    EXPECT_EQ(serial.calls.back().timeoutMs, 100);
    EXPECT_EQ(serial.calls.back().replyMode, 0);
}

TEST_F(TransferTest, RecoveryReopensOrClosesThePanelOnce)
{
    int panelClosed = 0;
    bool idleWhilePanelCloses = true;
    ModTxRx::SetPanelCloseHook([&] {
        ++panelClosed;
        idleWhilePanelCloses = ModTxRx::state.LinkIdle;
    });
    ModTxRx::state.ComPort = 4;

    serial.QueueFailure();
    ModTxRx::TransferFrame(0x14, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(ModTxRx::RecoverFromFailure(), LinkOutcome::LinkUp); // the reopen's identity answers
    EXPECT_EQ(serial.closes, 1) << "the held port is closed before the reopen";
    EXPECT_EQ(serial.opened, std::vector<QString>{"COM4"});
    EXPECT_EQ(panelClosed, 0);

    serial.QueueFailure();
    ModTxRx::TransferFrame(0x14, 0, 0, 1, 0, 0, 0);
    serial.refusedPorts.insert("COM4");
    EXPECT_EQ(ModTxRx::RecoverFromFailure(), LinkOutcome::LinkLost);
    EXPECT_EQ(panelClosed, 1);
    EXPECT_FALSE(idleWhilePanelCloses); // a meter tick meanwhile must not start its own recovery
    EXPECT_TRUE(ModTxRx::state.LinkIdle);
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_TRUE(messages.ShownOnly("Communication time-Out, the system close the device",
                                   "Communication problem", Messages::Icon::Critical))
        << messages.Texts().join('|').toStdString();
}

TEST(FrameTrace, EachExchangeResultHasItsOwnWord)
{
    const char *words[] = {"answered", "time-out", "framing", "port error", "line busy"};
    for (int result = ExchangeOk; result <= ExchangeBusy; ++result)
        EXPECT_EQ(FrameTrace::OutcomeText(FrameTrace::Stopwatch().Exchange({}, {}, result).outcome),
                  words[result]);
}

TEST(LineUse, AClosePutOffRunsOnceWhenTheLastHoldEnds)
{
    EnsureCoreApplication();
    QObject window;
    QStringList ran;
    EXPECT_FALSE(LineUse::PutOffWhileTaken(&window, [&] { ran << "at once"; }));
    {
        const LineUse::Hold sequence;
        {
            const LineUse::Hold exchange;
            EXPECT_TRUE(LineUse::PutOffWhileTaken(&window, [&] { ran << "replaced"; }));
        }
        EXPECT_TRUE(LineUse::PutOffWhileTaken(&window, [&] { ran << "kept"; }));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, QStringList{"kept"});
}

struct NestedRow
{
    const char *name;
    /// The command whose wait the timer interrupts; the first frame fails when it is 0x25.
    int interrupted;
    std::vector<int> commands;
    std::vector<QString> opened;
};

class NestedFrame : public TransferTest, public ::testing::WithParamInterface<NestedRow>
{
};

TEST_P(NestedFrame, IsRefusedAndLeavesTheLinkAlone)
{
    // The responder plays the meter poll's timer firing while a wait is under way.
    const NestedRow &row = GetParam();
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    ModTxRx::state.ComPort = 4;
    bool timerFired = false;
    bool nestedFailed = false;
    bool idleDuringNested = true;
    LinkOutcome nestedOutcome = LinkOutcome::LinkUp;
    serial.responder = [&](const FrameBuffer &request) {
        if (request[2] == row.interrupted && !timerFired) {
            timerFired = true;
            ModTxRx::TransferFrame(0x21, 0, 0, 0, 0, 0, 0);
            nestedFailed = ModTxRx::state.TransferFailed;
            nestedOutcome = ModTxRx::RecoverFromFailure();
            idleDuringNested = ModTxRx::state.LinkIdle;
        }
        FrameBuffer reply = request;
        reply[8] = 0x10;
        return reply;
    };
    if (row.interrupted == 0x25)
        serial.QueueFailure();
    ModTxRx::TransferFrame(0x07, 0, 0, 0, 75, 4, 120);
    EXPECT_EQ(ModTxRx::RecoverFromFailure(), LinkOutcome::LinkUp);
    EXPECT_TRUE(nestedFailed);
    EXPECT_EQ(nestedOutcome, LinkOutcome::LineBusy);
    EXPECT_FALSE(idleDuringNested);
    EXPECT_EQ(serial.Commands(), row.commands); // no 0x21
    EXPECT_EQ(serial.opened, row.opened);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(panelClosed, 0);
    EXPECT_TRUE(ModTxRx::state.LinkIdle);
    EXPECT_EQ(ModTxRx::state.RxFrame[2], row.commands.back()); // not the refused frame's
}

INSTANTIATE_TEST_SUITE_P(
    WhileAWait, NestedFrame,
    ::testing::Values(NestedRow{"WhileAFrameWaits", 0x07, {0x07}, {}},
                      NestedRow{"WhileTheReopensIdentityWaits", 0x25, {0x07, 0x25}, {"COM4"}}),
    [](const ::testing::TestParamInfo<NestedRow> &info) { return std::string(info.param.name); });

} // namespace
