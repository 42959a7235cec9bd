#include "CoreReset.h"
#include <gtest/gtest.h>

#include <QFile>

#include "QtPrinters.h"
#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "TemporaryDocuments.h"
#include "VirtualUnit.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "presets/DeviceImage.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "session/Startup.h"
#include "shell/AppInfo.h"

namespace {

using DevicePresets::Outcome;

constexpr int UnitPort = 1;

enum class Action { WholeState, StoreAndReadBack, LoadFile, ConnectAndLoad };

/// A transfer against the virtual unit with one fault on the line. The unit's fault options
/// count every frame it gets, the connect's identity query being frame 1.
struct TransferRow
{
    const char *name;
    QStringList options;
    Action action;
    /// The frame the fault hits (0: none); the reopen's identity query follows it.
    int faulted;
};

void PrintTo(const TransferRow &row, std::ostream *out)
{
    *out << row.name;
}

class UnitTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ResetAll();
        ModPreset::FillFactoryEntries();
        ModFun::LoadDefaultImage();
        ModTxRx::state.SerialPort = &serial;
        ModTxRx::state.ComPort = UnitPort;
    }
    void TearDown() override { ResetAll(); }

    static void ResetAll() { ResetTheCore(); }

    /// Every parameter byte of A off the unit's setting and every byte of B off A's, so that a
    /// byte sent to the wrong place shows. The reserved and mute bytes stay, and so do the
    /// delays' high bytes: a delay past 300 ms would be clamped when read.
    static void ChangeBothChannels()
    {
        auto &image = ModFun::state.ParamImage;
        for (int i = 0; i < 63; ++i) {
            if ((i < 48 || i > 50) && i != 55 && i != 58) {
                image[i] = image[i] == 1 ? 2 : 1;
                image[64 + i] = image[i] == 1 ? 2 : 1;
            }
        }
    }

    bool Run(Action action)
    {
        switch (action) {
        case Action::WholeState:
            ChangeBothChannels();
            ModFun::state.LinkBoxTicked = false;
            ModFun::SendLink();
            return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp &&
                ModFun::SendWholeState();
        case Action::StoreAndReadBack: {
            ChangeBothChannels();
            const auto stored = ModFun::state.ParamImage;
            const bool done = DevicePresets::Memorize_eep(0, "AB", {}) == Outcome::Done;
            ModFun::LoadDefaultImage();
            return done && DevicePresets::ReadUserPreset(16, {}) == Outcome::Done &&
                ModFun::state.ParamImage == stored;
        }
        case Action::LoadFile: {
            QByteArray bytes(
                reinterpret_cast<const char *>(ValueTables::FactoryPresetImages[9].data()), 128);
            bytes[119] = 1; // a delay of 256 ms on channel B
            QFile file(documents.PathOf("boost.RFP"));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes + '\0');
            file.close();
            messages.ChooseFile(file.fileName());
            return PresetFiles::LoadPresetFile(PresetFiles::Kind::User, {}) ==
                PresetFiles::LoadOutcome::Loaded &&
                ModFun::state.ParamImage[119] == 1;
        }
        case Action::ConnectAndLoad:
            return Startup::WriteInitCfg(UnitPort) && Startup::FindUnit() &&
                Startup::LoadDeviceState() &&
                AppInfo::state.FirmwareVersion == QStringLiteral("1.3.3") &&
                ModLock::state.StoredPassword == std::array<int, 4>{'0', '0', '0', '0'};
        }
        return false;
    }

    TemporaryConfig config;
    TemporaryDocuments documents{config};
    ScriptedMessages messages;
    QtSerialComponent serial;
    VirtualUnit unit;
};

class UnitTransfers : public UnitTransferTest, public ::testing::WithParamInterface<TransferRow>
{
};

TEST_P(UnitTransfers, EndsAsIfNothingHappened)
{
    ASSERT_TRUE(unit.Start({UnitPort, GetParam().options})) << unit.ErrorString().toStdString();
    if (GetParam().action != Action::ConnectAndLoad) {
        ASSERT_TRUE(ModTxRx::ConnectDevice());
    }
    EXPECT_TRUE(Run(GetParam().action));
    EXPECT_EQ(messages.Texts(), QStringList());
    if (const int faulted = GetParam().faulted) {
        EXPECT_EQ(unit.Log().at(faulted).request.at(2), 0x25); // entry n is frame n + 1
    }
    DeviceImage::Image setting{};
    ASSERT_TRUE(DeviceImage::ReadSettingImage(setting, DeviceImage::OnFailure::Recover));
    EXPECT_TRUE(std::equal(setting.begin(), setting.end(), ModFun::state.ParamImage.begin()))
        << "the unit and the program hold the same setting";
}

INSTANTIATE_TEST_SUITE_P(
    OneFault, UnitTransfers,
    ::testing::Values(
        // Frame 30 of the 46: the link frame, then 44 of the whole state.
        TransferRow{
            "WholeStateNoiseAheadOfAReply", {"--garbage-every", "30"}, Action::WholeState, 30},
        // Frame 37: the store's last frame.
        TransferRow{"StoreReplyDropped", {"--drop-every", "37"}, Action::StoreAndReadBack, 37},
        // Frame 45: a block of the read that follows the store's 36 frames and the recall.
        TransferRow{"ReadReplyCorrupted", {"--corrupt-every", "45"}, Action::StoreAndReadBack, 45},
        // Frame 20: a block of the 33 upload frames.
        TransferRow{"UploadReplyCutShort", {"--partial-every", "20"}, Action::LoadFile, 20},
        // Every reply comes after the identity query's 100 ms: the search times out on the
        // remembered port and its late reply arrives while the search asks again; each later
        // frame must still get its own reply, not the one before it.
        TransferRow{"ConnectEveryReplyLate", {"--delay", "150"}, Action::ConnectAndLoad, 0}),
    [](const ::testing::TestParamInfo<TransferRow> &info) { return std::string(info.param.name); });

TEST_F(UnitTransferTest, StoreCutOffByAHangUpLeavesThePlaceUnused)
{
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    ASSERT_TRUE(unit.Start({UnitPort, {"--hangup-after", "12"}}))
        << unit.ErrorString().toStdString();
    ASSERT_TRUE(ModTxRx::ConnectDevice());
    EXPECT_EQ(DevicePresets::Memorize_eep(2, "Gone", {}), Outcome::Stopped);
    EXPECT_EQ(messages.Texts(), QStringList{"Communication time-Out, the system close the device"});
    EXPECT_FALSE(ModPreset::state.PresetUsed[18]);
    EXPECT_EQ(panelClosed, 1);
    const auto log = unit.Log(12);
    ASSERT_EQ(log.size(), 12u);
    EXPECT_FALSE(log.back().reply.has_value());
    for (const UnitLogEntry &entry : log)
        EXPECT_NE(entry.request[2], 0x11);
}

} // namespace
