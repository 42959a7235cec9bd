#include <gtest/gtest.h>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"

namespace {

using ModTxRx::state;

class LockUnitTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureCoreApplication(); }
    void TearDown() override { ResetAll(); }

    static void ResetAll()
    {
        ModTxRx::Reset();
        ModFun::Reset();
        SystemFlags::Reset();
        ModLock::Reset();
    }

    /// Starts the unit on COM1 with its memory kept in the test's folder, and connects afresh.
    void Connect(VirtualUnit &unit)
    {
        ResetAll();
        state.SerialPort = &serial;
        ASSERT_TRUE(unit.Start({1, {"--state", config.Path() + "/unit.mem"}}))
            << unit.ErrorString().toStdString();
        state.ComPort = 1;
        ASSERT_TRUE(ModTxRx::ConnectDevice());
    }

    /// What the program reads while connecting: the password and the system flags byte.
    static void ReadPasswordAndLock()
    {
        ModTxRx::TransferFrame(0x17, 0x00, 0x1A, 0, 0, 0, 0);
        ASSERT_FALSE(state.TransferFailed);
        for (int i = 0; i < ModLock::PasswordLength; ++i)
            ModLock::state.StoredPassword[i] = state.RxFrame[5 + i];
        ModTxRx::TransferFrame(0x10, 0x00, 0x10, 0, 0, 0, 0);
        ASSERT_FALSE(state.TransferFailed);
        SystemFlags::KeepSystemFlags(state.RxFrame[6]);
    }

    TemporaryConfig config;
    ScriptedMessages messages;
    QtSerialComponent serial;
};

TEST_F(LockUnitTest, LockAndNewPasswordSurviveTheNextConnect)
{
    {
        VirtualUnit unit;
        Connect(unit);
        ReadPasswordAndLock();
        EXPECT_EQ(ModLock::EnterPassword("0000"), ModLock::EntryResult::Accepted);
        SystemFlags::SetDistanceUnit(true);
        ASSERT_TRUE(ModLock::ApplyLock(true));
        ASSERT_EQ(ModLock::ApplyNewPassword("wx1z", "wx1z"), ModLock::NewPasswordResult::Stored);
        const auto log = unit.Log(5);
        ASSERT_EQ(log.size(), 5u);
        EXPECT_EQ(log[3].request.toHex(' '), "f0 10 11 00 10 00 c0 00 00 f7");
        EXPECT_EQ(log[4].request.toHex(' '), "f0 10 11 00 1e 57 58 31 5a f7");
    }
    VirtualUnit unit;
    Connect(unit);
    ReadPasswordAndLock();
    EXPECT_EQ(ModLock::state.StoredPassword, (std::array<int, 4>{'W', 'X', '1', 'Z'}));
    EXPECT_EQ(SystemFlags::state.Byte, SystemFlags::LockBit | SystemFlags::DistanceBit);
    EXPECT_EQ(ModLock::EnterPassword("wx1z"), ModLock::EntryResult::Accepted);
    EXPECT_EQ(ModLock::EnterPassword("WX1Z"), ModLock::EntryResult::Accepted);
    EXPECT_TRUE(messages.Shown().empty());

    ASSERT_TRUE(ModLock::ApplyLock(false));
    ModTxRx::TransferFrame(0x10, 0x00, 0x10, 0, 0, 0, 0);
    EXPECT_EQ(state.RxFrame[6], SystemFlags::DistanceBit);
}

} // namespace
