#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"

namespace {

using ModTxRx::LinkOutcome;
using ModTxRx::state;

QByteArray Bytes(const auto &frame, int size = 10)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), size);
}

class LinkUnitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ModTxRx::Reset();
        state.SerialPort = &serial;
    }
    void TearDown() override { ModTxRx::Reset(); }

    void Start(VirtualUnit &unit, int port, const QStringList &options = {})
    {
        ASSERT_TRUE(unit.Start({port, options})) << unit.ErrorString().toStdString();
    }

    /// Starts the unit as COM1 and connects to it.
    void Connect(const QStringList &options = {})
    {
        Start(unit, 1, options);
        state.ComPort = 1;
        ASSERT_TRUE(ModTxRx::ConnectDevice());
    }

    TemporaryConfig config;
    ScriptedMessages messages;
    QtSerialComponent serial;
    VirtualUnit unit;
};

TEST_F(LinkUnitTest, IdentityNeedsTheUnitsAnswer)
{
    Start(unit, 1, {"--firmware", "2.7"});
    state.ComPort = 1;
    ASSERT_TRUE(ModTxRx::IdentifyDevice()); // opens COM1 itself
    EXPECT_TRUE(serial.IsOpen());
    EXPECT_EQ(state.RxFrame[2], 0x25);
    EXPECT_EQ(state.RxFrame[3], 2);
    EXPECT_EQ(state.RxFrame[4], 7);
    EXPECT_EQ(state.RxFrame[8], 0x10);

    VirtualUnit garbled;
    Start(garbled, 2, {"--garbage-every", "1"});
    state.ComPort = 2;
    EXPECT_FALSE(ModTxRx::ReopenLink());
    EXPECT_EQ(garbled.Log(1).size(), 1u);
    state.ComPort = 4; // nothing there
    EXPECT_FALSE(ModTxRx::ReopenLink());
}

TEST_F(LinkUnitTest, SearchTriesTheRememberedPortThenEveryPort)
{
    VirtualUnit silent;
    VirtualUnit garbled;
    Start(silent, 2, {"--drop-command", "25"});
    Start(garbled, 3, {"--garbage-every", "1"});
    Start(unit, 5);

    state.ComPort = 2; // remembered, but the unit there keeps silent
    ASSERT_TRUE(ModTxRx::ConnectDevice());
    EXPECT_EQ(state.ComPort, 5);
    EXPECT_EQ(silent.Log(2).size(), 2u) << "the remembered port is tried again in the search";
    EXPECT_EQ(garbled.Log(1).size(), 1u);
    EXPECT_EQ(unit.Log(1).size(), 1u);

    ASSERT_TRUE(ModTxRx::ConnectDevice());
    EXPECT_EQ(state.ComPort, 5);
    EXPECT_EQ(unit.Log(2).size(), 2u);
    EXPECT_EQ(silent.Log().size(), 2u) << "the remembered port answered first";

    unit.Stop();
    EXPECT_FALSE(ModTxRx::ConnectDevice());
    EXPECT_EQ(state.ComPort, 32);
    EXPECT_EQ(silent.Log(3).size(), 3u);
}

TEST_F(LinkUnitTest, TransferKeepsTheReplyOrFlagsTheFailure)
{
    Connect({"--corrupt-every", "3"}); // frame 1 is the identity query
    ModTxRx::TransferFrame(0x19, 0x00, 0x04, 0, 0, 0, 0);
    ASSERT_FALSE(state.TransferFailed);
    const auto log = unit.Log(2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].request, Bytes(state.TxFrame));
    EXPECT_EQ(log[1].reply, Bytes(state.RxFrame));
    const auto kept = state.RxFrame;

    ModTxRx::TransferFrame(0x0A, 0, 0, 0, 0, 0, 1); // its reply comes back spoiled
    EXPECT_TRUE(state.TransferFailed);
    EXPECT_TRUE(state.LinkIdle);
    EXPECT_EQ(state.RxFrame, kept);

    ModTxRx::TransferFrame(0x0A, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(state.TransferFailed);
    EXPECT_EQ(state.RxFrame[2], 0x0A);
}

TEST_F(LinkUnitTest, MemoryAddressesFromSplitToBytesReachTheUnit)
{
    Connect();
    const double nameAddress = 3 * 8 + 3872;
    ModTxRx::SplitToBytes(nameAddress, 0);
    const auto &work = state.WorkBytes;
    EXPECT_EQ(work[2], 0x0F);
    EXPECT_EQ(work[3], 0x38);
    ModTxRx::TransferFrame(0x18, work[2], work[3], 'B', 'A', 'S', 'S');
    ASSERT_FALSE(state.TransferFailed);
    ModTxRx::TransferFrame(0x17, work[2], work[3], 0, 0, 0, 0);
    ASSERT_FALSE(state.TransferFailed);
    EXPECT_EQ(Bytes(state.RxFrame).mid(5, 4), "BASS");
}

TEST_F(LinkUnitTest, RecoveryReopensTheLinkOrClosesThePanelOnce)
{
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    Connect({"--garbage-every", "2", "--hangup-after", "4"});

    ModTxRx::TransferFrame(0x14, 0, 0, 1, 0, 0, 0); // frame 2: garbage ahead of the reply
    ASSERT_TRUE(state.TransferFailed);
    EXPECT_EQ(ModTxRx::RecoverFromFailure(), LinkOutcome::LinkUp); // frame 3: the reopen's identity
    EXPECT_EQ(panelClosed, 0);
    EXPECT_TRUE(messages.Shown().empty());

    QElapsedTimer clock;
    clock.start();
    ModTxRx::TransferFrame(0x19, 0, 0, 0, 0, 0, 0); // frame 4: the unit hangs up instead
    ASSERT_TRUE(state.TransferFailed);
    EXPECT_LT(clock.elapsed(), 3000) << "a hang-up must not wait for the time-out";
    EXPECT_EQ(ModTxRx::RecoverFromFailure(), LinkOutcome::LinkLost);
    EXPECT_EQ(panelClosed, 1);
    EXPECT_TRUE(messages.ShownOnly("Communication time-Out, the system close the device",
                                   "Communication problem", Messages::Icon::Critical))
        << messages.Texts().join('|').toStdString();
}

} // namespace
