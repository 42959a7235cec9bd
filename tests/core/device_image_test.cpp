#include <gtest/gtest.h>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "link/ModTxRx.h"
#include "presets/DeviceImage.h"

namespace {

class DeviceImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModTxRx::Reset();
        ModTxRx::state.SerialPort = &serial;
        serial.open = true;
        // The unit answers each block with bytes offset, offset+1, offset+2, offset+3.
        serial.responder = [](const FrameBuffer &request) {
            const std::uint8_t offset = request[4];
            return ReplyFrame(request[2], 0, 0, offset, offset + 1, offset + 2, offset + 3);
        };
    }
    void TearDown() override { ModTxRx::Reset(); }

    RecordingSerial serial;
    ScriptedMessages messages;
    DeviceImage::Image image{};
};

TEST_F(DeviceImageTest, ReadsThirtyTwoBlocksInOrder)
{
    int steps = 0;
    ASSERT_TRUE(
        DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Stop, [&] { ++steps; }));
    EXPECT_EQ(steps, 32);
    ASSERT_EQ(serial.calls.size(), 32u);
    EXPECT_EQ(serial.calls[31].frame[2], 0x19);
    EXPECT_EQ(serial.calls[31].frame[3], 0);
    EXPECT_EQ(serial.calls[31].frame[4], 124);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(image[i], i);
}

TEST_F(DeviceImageTest, StopModeGivesUpAtTheFirstFailure)
{
    serial.QueueReply(ReplyFrame(0x19));
    serial.QueueFailure();
    EXPECT_FALSE(DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Stop));
    EXPECT_EQ(serial.calls.size(), 2u);
    EXPECT_TRUE(serial.opened.empty()); // no reconnect
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(DeviceImageTest, RecoverModeAsksForTheFailedBlockAgain)
{
    for (int i = 0; i < 3; ++i)
        serial.QueueReply(ReplyFrame(0x19, 0, 0, 9, 9, 9, 9));
    serial.QueueFailure(); // block at offset 12; the reopen's identity query then answers
    serial.QueueReply(ReplyFrame(0x25, 1, 3, 0, 0, 0, 0x10));
    ASSERT_TRUE(DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Recover));
    EXPECT_EQ(image[12], 12); // not the stale reply of the failed frame
    EXPECT_EQ(image[15], 15);
    EXPECT_EQ(serial.calls.size(), 32u + 2u);
}

TEST_F(DeviceImageTest, RecoverModeFailsWhenTheLinkStaysDown)
{
    serial.QueueFailure();
    serial.refusedPorts.insert("COM0");
    EXPECT_FALSE(DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Recover));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].box.title, "Communication problem");
}

TEST_F(DeviceImageTest, DemoReadsNothing)
{
    ModTxRx::state.DemoMode = true;
    EXPECT_FALSE(DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Recover));
    EXPECT_TRUE(serial.calls.empty());
}

} // namespace
