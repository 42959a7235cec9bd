#include <gtest/gtest.h>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "model/ModFun.h"
#include "presets/DeviceImage.h"

namespace {

/// The whole-state transfer against the virtual unit: the frames it logs and the setting it ends
/// with.
class WholeStateUnitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ModTxRx::Reset();
        ModFun::Reset();
        ModTxRx::state.SerialPort = &serial;
        ASSERT_TRUE(unit.Start({1, {}})) << unit.ErrorString().toStdString();
        ModTxRx::state.ComPort = 1;
        ASSERT_TRUE(ModTxRx::ConnectDevice());
    }
    void TearDown() override
    {
        ModTxRx::Reset();
        ModFun::Reset();
    }

    TemporaryConfig config;
    ScriptedMessages messages;
    QtSerialComponent serial;
    VirtualUnit unit;
};

TEST_F(WholeStateUnitTest, SendsFortyFourFramesInOrderAndTheUnitEndsWithTheImage)
{
    ModFun::LoadDefaultImage();
    auto &image = ModFun::state.ParamImage;
    image[0] = 44; // channel A band 1 at +7 dB
    image[51] = 12; // channel A high-pass at 40 Hz, -6 dB/oct
    image[52] = 1;
    image[122] = 1; // channel B muted
    ModFun::state.LinkBoxTicked = false; // unlinked, so the unit keeps the channels apart
    ModFun::SendLink();
    ASSERT_TRUE(ModFun::SendWholeState());

    // The identity query of the connect and the link frame come first.
    constexpr std::size_t First = 2;
    const std::vector<UnitLogEntry> log = unit.Log(First + 44);
    ASSERT_EQ(log.size(), First + 44u);
    std::vector<int> commands;
    for (std::size_t i = First; i < log.size(); ++i)
        commands.push_back(static_cast<unsigned char>(log[i].request[2]));
    std::vector<int> expected{0x0A, 0x0A};
    expected.insert(expected.end(), 30, 0x05);
    expected.insert(expected.end(), 4, 0x04);
    for (int command : {0x02, 0x02, 0x14, 0x14, 0x07, 0x07, 0x0A, 0x0A})
        expected.push_back(command);
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(log[First + 42].request.toHex(' '), "f0 10 0a 00 00 00 00 00 00 f7");
    EXPECT_EQ(log[First + 43].request.toHex(' '), "f0 10 0a 01 00 00 00 00 01 f7");

    DeviceImage::Image unitImage{};
    ASSERT_TRUE(DeviceImage::ReadSettingImage(unitImage, DeviceImage::OnFailure::Stop));
    for (int i : {0, 51, 52, 58, 122})
        EXPECT_EQ(unitImage[i], image[i]) << "byte " << i;
}

} // namespace
