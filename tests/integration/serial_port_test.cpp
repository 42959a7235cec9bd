#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include "RecordingSerial.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/PortMap.h"
#include "link/QtSerialComponent.h"

namespace {

constexpr int UnitPort = 3;
const FrameBuffer Identity = ReplyFrame(0x25);

int OpenDescriptors()
{
    return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size());
}

class SerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureCoreApplication(); }

    /// Starts the unit as COM3 with the given options and opens it.
    void StartUnit(const QStringList &options = {})
    {
        ASSERT_TRUE(unit.Start({UnitPort, options})) << unit.ErrorString().toStdString();
        ASSERT_EQ(serial.Open(ModTxRx::PortName(UnitPort), 9600), OpenOk);
    }

    int Exchange(FrameBuffer &frame, int timeoutMs = 1000)
    {
        return serial.Exchange(frame, timeoutMs, true, false, 1);
    }

    TemporaryConfig config;
    VirtualUnit unit;
    QtSerialComponent serial;
};

TEST_F(SerialPortTest, OpensOnlyWhatThePortMapNamesAndHoldsOnePort)
{
    EXPECT_EQ(serial.Initialize(10, 32), 0);
    EXPECT_NE(serial.Initialize(9, 32), 0);
    EXPECT_EQ(serial.Open("COM33", 9600), OpenUnknownPort);
    EXPECT_EQ(serial.Open("COM1", 9600), OpenNoDevice);
    ASSERT_TRUE(PortMap::MapPort(2, config.Path() + "/unplugged"));
    EXPECT_EQ(serial.Open("COM2", 9600), OpenFailed);
    EXPECT_FALSE(serial.IsOpen());

    StartUnit();
    EXPECT_EQ(serial.DevicePath(), unit.PtyPath());
    FrameBuffer frame = Identity;
    ASSERT_EQ(Exchange(frame), ExchangeOk);
    EXPECT_TRUE(frame[2] == 0x25 && frame[8] == 0x10) << "the unit's identity";

    // The port search opens one port after another without closing: one descriptor stays held.
    const int held = OpenDescriptors();
    for (int attempt = 0; attempt < 33; ++attempt)
        ASSERT_EQ(serial.Open(ModTxRx::PortName(UnitPort), 9600), OpenOk);
    EXPECT_EQ(OpenDescriptors(), held);
    EXPECT_EQ(serial.Open("COM1", 9600), OpenNoDevice);
    EXPECT_FALSE(serial.IsOpen()) << "a failed open still closes the port held before";
    EXPECT_LT(OpenDescriptors(), held);

    frame = Identity;
    EXPECT_EQ(Exchange(frame), ExchangePortError);
}

TEST_F(SerialPortTest, BrokenRepliesFailAndTheNextExchangeIsClean)
{
    const std::pair<QString, int> rows[] = {{"--garbage-every", ExchangeFraming},
                                            {"--corrupt-every", ExchangeFraming},
                                            {"--partial-every", ExchangeTimeout},
                                            {"--drop-every", ExchangeTimeout}};
    for (const auto &[option, expected] : rows) {
        SCOPED_TRACE(option.toStdString());
        StartUnit({option, "2"});
        FrameBuffer frame = ReplyFrame(0x10, 0x00, 0x13);
        EXPECT_EQ(Exchange(frame), ExchangeOk);

        frame = ReplyFrame(0x12, 0, 0, 0, 0, 0, 1);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(Exchange(frame, 150), expected);
        if (expected == ExchangeTimeout) {
            EXPECT_GE(clock.elapsed(), 149) << "the time-out was cut short";
        }

        // What came of the broken reply (garbage ahead, the rest of a spoiled frame) is gone.
        frame = ReplyFrame(0x19, 0x00, 0x04);
        ASSERT_EQ(Exchange(frame), ExchangeOk);
        const auto log = unit.Log(3);
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[2].reply, QByteArray(reinterpret_cast<const char *>(frame.data()), 10));
        unit.Stop();
    }
}

TEST_F(SerialPortTest, WaitRunsTimersRefusesASecondExchangeAndDropsLateReplies)
{
    StartUnit({"--delay", "120"});
    FrameBuffer frame = ReplyFrame(0x10, 0x00, 0x10);
    EXPECT_EQ(Exchange(frame, 30), ExchangeTimeout);
    // The unit logs a reply before its delay runs out, so neither its log nor a signal says when
    // the late bytes are in the tty: the sleep puts them there, as between frames of a series.
    QThread::msleep(300);

    int nested = -1;
    QTimer::singleShot(20, [&] {
        FrameBuffer poll = ReplyFrame(0x21);
        nested = Exchange(poll);
    });
    frame = ReplyFrame(0x19, 0x00, 0x08);
    ASSERT_EQ(Exchange(frame), ExchangeOk);
    EXPECT_EQ(frame[2], 0x19) << "the late reply was taken for this one";
    EXPECT_EQ(nested, ExchangeBusy);
    EXPECT_EQ(unit.Log(2).size(), 2u) << "the refused frame never reached the line";
}

TEST_F(SerialPortTest, HangUpMidExchangeFailsOnceAndClosesThePort)
{
    StartUnit({"--hangup-after", "2"});
    FrameBuffer frame = Identity;
    ASSERT_EQ(Exchange(frame), ExchangeOk);

    frame = ReplyFrame(0x19);
    EXPECT_EQ(Exchange(frame, 3000), ExchangePortError);
    EXPECT_FALSE(serial.IsOpen());

    frame = Identity;
    EXPECT_EQ(Exchange(frame), ExchangePortError);
    EXPECT_NE(serial.Open(ModTxRx::PortName(UnitPort), 9600), OpenOk);
}

TEST_F(SerialPortTest, UnitGoneBetweenExchangesClosesThePortQuietly)
{
    StartUnit();
    unit.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !serial.IsOpen(); }, 2000));
    FrameBuffer frame = Identity;
    EXPECT_EQ(Exchange(frame), ExchangePortError);
}

} // namespace
