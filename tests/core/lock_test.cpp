#include "ModelFixture.h"
#include "lock/ModLock.h"

namespace {

using ModLock::EntryResult;
using ModLock::NewPasswordResult;

class LockTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ModLock::Reset();
        ModLock::state.StoredPassword = {'A', 'B', 'C', 'D'};
        auto &notifier = ModFun::notifier();
        QObject::connect(&notifier, &ModFun::Notifier::lockStateChanged, &context,
                         [this] { ++lockSignals; });
        QObject::connect(&notifier, &ModFun::Notifier::serviceFlagChanged, &context,
                         [this] { ++serviceSignals; });
    }
    void TearDown() override
    {
        ModLock::Reset();
        ModelTest::TearDown();
    }

    QObject context;
    int lockSignals = 0;
    int serviceSignals = 0;
};

TEST(LockCodes, EntryInCapitalsAndTheUnitsCharacterSet)
{
    EXPECT_EQ(ModLock::ToEnteredCodes("ab1 éf?"),
              (ModLock::EnteredCodes{'A', 'B', '1', ' ', 0xC9, 'F'}));
    EXPECT_EQ(ModLock::ToEnteredCodes("ÿ€"), (ModLock::EnteredCodes{0xFF, 0, 0, 0, 0, 0}));
    const std::pair<int, int> nums[] = {{' ', 0},  {'0', 1}, {'9', 10}, {'A', 11},
                                        {'z', 36}, {'/', 0}, {':', 0},  {'@', 0},
                                        {'[', 0},  {'`', 0}, {'{', 0},  {0xC9, 0}};
    for (const auto &[code, num] : nums)
        EXPECT_EQ(ModLock::CheckNum(code), num) << code;
}

TEST_F(LockTest, EntryInEitherCaseOnItsFirstFourCharactersOrTheServiceCode)
{
    EXPECT_EQ(ModLock::EnterPassword("ABCDxy"), EntryResult::Accepted);
    EXPECT_EQ(ModLock::EnterPassword("q7rf"), EntryResult::ServiceToggled);
    EXPECT_EQ(ModLock::EnterPassword("Q7RF"), EntryResult::ServiceToggled);
    EXPECT_FALSE(ModLock::state.ServiceFlag);
    EXPECT_EQ(serviceSignals, 2);
    ModLock::state.StoredPassword = {'Q', '7', 'R', 'F'};
    EXPECT_EQ(ModLock::EnterPassword("q7rf"), EntryResult::Accepted) << "the unit's own first";
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(LockTest, EveryLockChangeIsAnnounced)
{
    EXPECT_TRUE(ModLock::ApplyLock(true));
    EXPECT_TRUE(ModLock::ApplyLock(false));
    ModTxRx::state.DemoMode = true;
    EXPECT_TRUE(ModLock::ApplyLock(true));
    EXPECT_EQ(lockSignals, 3);
}

TEST_F(LockTest, NewPasswordChecksThenStoresItInCapitals)
{
    const std::tuple<QString, QString, QString> refusals[] = {
        {"abc", "abc", "Password wrong, please insert 4 character"},
        {"abcde", "abcd", "Password wrong, please insert 4 character"},
        {"abcd", "abcde", "Insert 4 character"},
        {"ab#d", "ab#d", "Value password wrong"},
        {"abcd", "abce", "Passwords don't match "},
    };
    for (const auto &[first, repeated, message] : refusals) {
        Messages::ClearLog();
        EXPECT_EQ(ModLock::ApplyNewPassword(first, repeated), NewPasswordResult::Refused);
        EXPECT_TRUE(messages.ShownOnly(message, "New Password", Messages::Icon::Information))
            << first.toStdString() << " / " << repeated.toStdString();
    }
    EXPECT_EQ(ModLock::ApplyNewPassword("wx1z", "WX1z"), NewPasswordResult::Stored);
    EXPECT_EQ(Frames(), (std::vector{ReplyFrame(0x11, 0x00, 0x1E, 'W', 'X', '1', 'Z')}));
}

TEST_F(LockTest, AFrameLostBeforeAReopenIsSentAgainAndOnlyWhatTheUnitTookIsHeld)
{
    const FrameBuffer identity = ReplyFrame(0x25, 1, 0, 0, 0, 0, 0x10);
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    serial.QueueFailure();
    EXPECT_EQ(ModLock::ApplyNewPassword("wxyz", "wxyz"), NewPasswordResult::Stored);
    serial.QueueFailure();
    EXPECT_TRUE(ModLock::ApplyLock(true));
    EXPECT_EQ(serial.Commands(), (std::vector{0x11, 0x25, 0x11, 0x11, 0x25, 0x11}));
    EXPECT_EQ(ModLock::EnterPassword("WXYZ"), EntryResult::Accepted);

    // The link comes back but the unit never takes the write: the unit keeps its password.
    serial.calls.clear();
    for (int i = 0; i < 2; ++i) {
        serial.QueueFailure();
        serial.QueueReply(identity);
    }
    EXPECT_EQ(ModLock::ApplyNewPassword("abcd", "abcd"), NewPasswordResult::LinkLost);
    EXPECT_EQ(serial.Commands(), (std::vector{0x11, 0x25, 0x11, 0x25}));
    EXPECT_TRUE(messages.ShownOnly("The unit does not answer this request; the operation was "
                                   "stopped.",
                                   "Communication problem", Messages::Icon::Critical));
    EXPECT_EQ(ModLock::EnterPassword("abcd"), EntryResult::Refused);
    EXPECT_EQ(panelClosed, 0) << "the link itself answers";
}

} // namespace
