#include <chrono>
#include <map>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ModelFixture.h"
#include "NonRegularFiles.h"
#include "TemporaryConfig.h"
#include "link/PortMap.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"
#include "model/ValueTables.h"
#include "presets/DeviceImage.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"
#include "shell/AppInfo.h"

namespace {

/// The unit's memory and setting image as the load reads them: firmware 2.7, password "ABCD",
/// locked with the distance bit set, user places 17 and 22 used.
class UnitDouble
{
public:
    UnitDouble()
    {
        for (int i = 0; i < 4; ++i)
            memory[0x1A + i] = static_cast<std::uint8_t>('A' + i);
        memory[0x10] = 0xC1; // lock, distance, and a bit the program must not keep
        memory[0x13] = 40; // no such preset
        memory[0x30] = 0x55;
        memory[0x35] = 0x55;
        for (const auto &[place, name] : {std::pair{0, "Stage 1 "}, std::pair{5, "Club    "}}) {
            for (int j = 0; j < 8; ++j)
                memory[place * 8 + 3872 + j] = static_cast<std::uint8_t>(name[j]);
        }
        for (int i = 0; i < DeviceImage::ImageSize; ++i)
            image[i] = ValueTables::DefaultImage[i];
        image[47] = 200; // limiter threshold beyond its table
        image[58] = 1; // channel A muted
    }

    FrameBuffer Answer(const FrameBuffer &request)
    {
        const int address = request[3] << 8 | request[4];
        switch (request[2]) {
        case 0x25:
            return ReplyFrame(0x25, 2, 7, 0, 0, 0, 0x10);
        case 0x10:
            return ReplyFrame(0x10, request[3], request[4], 0, memory[address]);
        case 0x17:
            return ReplyFrame(0x17, request[3], request[4], memory[address], memory[address + 1],
                              memory[address + 2], memory[address + 3]);
        case 0x19:
            return ReplyFrame(0x19, request[3], request[4], image[address], image[address + 1],
                              image[address + 2], image[address + 3]);
        default:
            return request;
        }
    }

    std::map<int, std::uint8_t> memory;
    DeviceImage::Image image{};
};

class StartupTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ResetLoadedState();
        serial.responder = [this](const FrameBuffer &request) { return unit.Answer(request); };
    }
    void TearDown() override
    {
        ResetLoadedState();
        ModelTest::TearDown();
    }

    static void ResetLoadedState()
    {
        ModPreset::Reset();
        ModLock::Reset();
        AppInfo::Reset();
    }

    /// Frames sent as "cmd:address", e.g. "17:001A".
    std::vector<std::string> FrameList() const
    {
        std::vector<std::string> list;
        for (const RecordingSerial::Call &call : serial.calls)
            list.push_back(FrameText(call.frame[2], call.frame[3] << 8 | call.frame[4]));
        return list;
    }

    static std::string FrameText(int command, int address)
    {
        return QStringLiteral("%1:%2")
            .arg(command, 2, 16, QChar('0'))
            .arg(address, 4, 16, QChar('0'))
            .toUpper()
            .toStdString();
    }

    UnitDouble unit;
    TemporaryConfig config;
};

TEST_F(StartupTest, LoadReadsTheUnitInOrderAndCommitsAtTheEnd)
{
    int lockSignals = 0;
    QObject context;
    QObject::connect(&ModFun::notifier(), &ModFun::Notifier::lockStateChanged, &context,
                     [&lockSignals] { ++lockSignals; });
    int stepsDone = 0;
    ASSERT_TRUE(Startup::LoadDeviceState([&stepsDone](int done) { stepsDone = done; }));
    EXPECT_EQ(stepsDone, Startup::LoadSteps) << "the loading bar ends full";

    std::vector<std::string> expected{"00:0000", "17:001A", "25:0000", "10:0010", "10:0013",
                                      "17:0030", "17:0034", "17:0038", "17:003C",
                                      // names of places 0 and 5, four characters a frame
                                      "17:0F20", "17:0F24", "17:0F48", "17:0F4C"};
    for (int offset = 0; offset < 128; offset += 4)
        expected.push_back(FrameText(0x19, offset));
    EXPECT_EQ(FrameList(), expected) << "applying the image sends nothing back";

    EXPECT_EQ(AppInfo::state.FirmwareVersion, QStringLiteral("2.7.7"));
    EXPECT_EQ(ModLock::state.StoredPassword, (std::array<int, 4>{'A', 'B', 'C', 'D'}));
    EXPECT_EQ(ModLock::state.LockState, 1);
    EXPECT_EQ(lockSignals, 1) << "the windows follow the unit's lock";
    EXPECT_EQ(SystemFlags::state.Byte, 0xC0);
    EXPECT_EQ(ModPreset::state.CurrentPreset, 0) << "preset 41 does not exist";

    const auto &used = ModPreset::state.PresetUsed;
    EXPECT_TRUE(used[15] && used[21] && !used[17]);
    EXPECT_EQ(ModPreset::state.PresetNames[16], QStringLiteral("Stage 1 "));
    EXPECT_EQ(ModPreset::state.PresetNames[21], QStringLiteral("Club    "));
    EXPECT_EQ(ModPreset::state.PresetNames[17], ModPreset::EmptyName());
    EXPECT_EQ(ModFun::state.Mute[0], 1.0);
    EXPECT_EQ(ModFun::state.ParamImage[47], 150) << "the threshold is clamped into its table";
    EXPECT_EQ(ModFun::state.Summary[4], QStringLiteral(" 0 m "))
        << "delays follow the distance bit";

    unit.memory[0x13] = 31; // a current preset in range is kept
    ASSERT_TRUE(Startup::LoadDeviceState());
    EXPECT_EQ(ModPreset::state.CurrentPreset, 31);

    serial.QueueFailure(); // the start frame goes unanswered
    EXPECT_FALSE(Startup::LoadDeviceState());
}

TEST_F(StartupTest, DemoModeIsSetUpWithoutAnyFrame)
{
    ModLock::state.LockState = 1;
    ModPreset::state.PresetNames[20] = QStringLiteral("Old     ");
    Startup::EnterDemoMode();
    EXPECT_TRUE(ModTxRx::state.DemoMode);
    EXPECT_TRUE(std::equal(ValueTables::DefaultImage.begin(), ValueTables::DefaultImage.end(),
                           ModFun::state.ParamImage.begin()));
    EXPECT_EQ(ModPreset::state.PresetNames[20], ModPreset::EmptyName());
    EXPECT_EQ(ModLock::state.LockState, 0);
    EXPECT_EQ(ModFun::state.Summary[12],
              QStringLiteral("HP: 20 Hz, Bypass - LP: 20000 Hz, Bypass"));
    EXPECT_FALSE(Startup::LoadDeviceState()) << "nothing is loaded in demo mode";
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(StartupTest, InitCfgHoldsTheRememberedPort)
{
    EXPECT_EQ(Startup::ReadInitCfg(), 0) << "missing";
    QFile file(Startup::InitCfgPath());
    ASSERT_TRUE(QDir().mkpath(PortMap::ConfigFolder()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x05", 1);
    file.close();
    EXPECT_EQ(Startup::ReadInitCfg(), 0) << "short";
    ASSERT_TRUE(Startup::WriteInitCfg(261));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\x05\x01", 2)) << "16-bit little-endian";
    file.close();
    EXPECT_EQ(Startup::ReadInitCfg(), 261);

    ASSERT_TRUE(file.remove()); // a pipe under the name is neither read nor replaced
    ASSERT_TRUE(MakePipe(Startup::InitCfgPath()));
    EXPECT_EQ(Startup::ReadInitCfg(), 0);
    EXPECT_FALSE(Startup::WriteInitCfg(9));
    EXPECT_FALSE(QFileInfo(Startup::InitCfgPath()).isFile());
}

TEST_F(StartupTest, FindUnitRemembersOnlyAPortThatAnswered)
{
    ASSERT_TRUE(Startup::WriteInitCfg(9));
    serial.open = false;
    serial.onlyPort = QStringLiteral("COM3");
    ASSERT_TRUE(Startup::FindUnit());
    EXPECT_EQ(serial.opened.front(), QStringLiteral("COM9")) << "the remembered port first";
    EXPECT_EQ(Startup::ReadInitCfg(), 3);
    EXPECT_FALSE(ModTxRx::state.DemoMode) << "a unit found by the scan is no demo";

    serial.onlyPort = QStringLiteral("COM40"); // nothing answers
    EXPECT_FALSE(Startup::FindUnit());
    EXPECT_EQ(Startup::ReadInitCfg(), 3) << "init.cfg unchanged";
}

TEST_F(StartupTest, ReleaseSendsTheReleaseFrameAndClosesThePort)
{
    const auto start = std::chrono::steady_clock::now();
    Startup::ReleaseUnit(true);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_EQ(serial.Commands(), std::vector<int>{0x0F});
    EXPECT_FALSE(serial.IsOpen());
    Startup::ReleaseUnit(false);
    EXPECT_EQ(serial.calls.size(), 1u) << "a closed port gets no release";
}

} // namespace
