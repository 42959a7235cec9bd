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
#include "model/ModFun.h"
#include "presets/DeviceImage.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"

namespace {

using DevicePresets::Outcome;

int Address(const QByteArray &frame)
{
    return static_cast<std::uint8_t>(frame[3]) * 256 + static_cast<std::uint8_t>(frame[4]);
}

/// The unit's answer to a four-byte memory read (0x17) at `address`.
QByteArray UnitMemory(int address)
{
    ModTxRx::TransferFrame(0x17, address >> 8, address & 0xFF, 0, 0, 0, 0);
    return QByteArray(reinterpret_cast<const char *>(ModTxRx::state.RxFrame.data()) + 5, 4);
}

class PresetsUnitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ModTxRx::Reset();
        ModFun::Reset();
        ModGraph::Reset();
        ModPreset::Reset();
        ModPreset::FillFactoryEntries();
        ModFun::LoadDefaultImage();
        ModTxRx::state.SerialPort = &serial;
    }
    void TearDown() override
    {
        ModTxRx::Reset();
        ModFun::Reset();
        ModPreset::Reset();
    }

    void Connect(const QStringList &options = {})
    {
        ASSERT_TRUE(unit.Start({1, options})) << unit.ErrorString().toStdString();
        ModTxRx::state.ComPort = 1;
        ASSERT_TRUE(ModTxRx::ConnectDevice());
    }

    /// The frames the unit got after the identity query of the connect.
    std::vector<QByteArray> Requests(int count)
    {
        std::vector<QByteArray> requests;
        for (const UnitLogEntry &entry : unit.Log(count + 1))
            requests.push_back(entry.request);
        requests.erase(requests.begin());
        return requests;
    }

    DeviceImage::Image UnitSetting()
    {
        DeviceImage::Image setting{};
        EXPECT_TRUE(DeviceImage::ReadSettingImage(setting, DeviceImage::OnFailure::Stop));
        return setting;
    }

    static std::uint8_t &Image(int index) { return ModFun::state.ParamImage[index]; }

    TemporaryConfig config;
    ScriptedMessages messages;
    QtSerialComponent serial;
    VirtualUnit unit;
};

TEST_F(PresetsUnitTest, StoredPresetIsReadBack)
{
    Connect();
    Image(0) = 50;
    Image(120) = 100;
    const auto stored = ModFun::state.ParamImage;
    ASSERT_EQ(DevicePresets::Memorize_eep(0, "AB", {}), Outcome::Done);
    const auto requests = Requests(36);
    ASSERT_EQ(requests.size(), 36u);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(requests[i][2], 0x18);
        EXPECT_EQ(Address(requests[i]), 0x0120 + 4 * i);
    }
    EXPECT_EQ(requests[0].mid(5, 4), QByteArray("\x32\x04\x18\x1E"));
    EXPECT_EQ(Address(requests[32]), 0x0F20);
    EXPECT_EQ(Address(requests[33]), 0x0F24);
    EXPECT_EQ(requests[34].mid(2, 7), QByteArray("\x11\x00\x30\x00\x55\x00\x00", 7));
    EXPECT_EQ(requests[35].mid(2, 7), QByteArray("\x3B\x00\x00\x00\x00\x00\x55", 7));
    EXPECT_EQ(UnitMemory(0x0F20) + UnitMemory(0x0F24), "   AB   ");
    EXPECT_EQ(UnitMemory(0x0030)[0], 0x55);
    EXPECT_TRUE(ModPreset::state.PresetUsed[16]);

    ModFun::LoadDefaultImage();
    ASSERT_EQ(DevicePresets::ReadPresetAsked(16, {}), Outcome::Done);
    EXPECT_EQ(ModFun::state.ParamImage, stored);
    EXPECT_EQ(ModFun::state.PanelTitle, "MX-RF418 - Preset : P17 - AB   ");

    ASSERT_EQ(DevicePresets::Memorize_eep(15, "Z", {}), Outcome::Done);
    const int first = 36 + 3 + 33; // the store, three memory reads, the preset read
    const auto last = Requests(first + 36);
    ASSERT_EQ(last.size(), first + 36u);
    EXPECT_EQ(Address(last[first]), 2208);
    EXPECT_EQ(Address(last[first + 31]), 2208 + 124);
    EXPECT_EQ(Address(last[first + 32]), 3992);
    EXPECT_EQ(last[first + 34][4], 0x3F);
}

TEST_F(PresetsUnitTest, FactoryPresetIsOnlyRecalled)
{
    Connect();
    ASSERT_EQ(DevicePresets::ReadFactoryPreset(3, {}), Outcome::Done);
    const auto requests = Requests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].mid(2, 7), QByteArray("\x1B\x03\x00\x00\x00\x00\x00", 7));
    const auto setting = UnitSetting();
    EXPECT_TRUE(std::equal(setting.begin(), setting.end(), ModFun::state.ParamImage.begin()))
        << "the unit and the program hold the same factory preset";
}

TEST_F(PresetsUnitTest, EmptyPlacesAreNotRead)
{
    Connect();
    Image(0) = 7;
    const auto before = ModFun::state.ParamImage;
    EXPECT_EQ(DevicePresets::ReadPresetAsked(20, {}), Outcome::Refused);
    ModPreset::state.PresetUsed[20] = true; // the list says used, the unit holds nothing
    EXPECT_EQ(DevicePresets::ReadPresetAsked(20, {}), Outcome::Refused);
    EXPECT_EQ(messages.Texts(),
              (QStringList{"Preset empty",
                           "Overwrite current editing with the preset 21, are "
                           "you sure ? ",
                           "Preset empty"}));
    EXPECT_EQ(Requests(1).size(), 1u);
    EXPECT_EQ(unit.Log(3, 300).size(), 2u) << "the recall alone went out";
    EXPECT_EQ(ModFun::state.ParamImage, before);
}

TEST_F(PresetsUnitTest, StoreCutOffByTheUnitLeavesThePlaceUnused)
{
    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    Connect({"--hangup-after", "12"});
    EXPECT_EQ(DevicePresets::Memorize_eep(2, "Gone", {}), Outcome::Stopped);
    EXPECT_FALSE(ModPreset::state.PresetUsed[18]);
    EXPECT_EQ(panelClosed, 1);
    const auto log = unit.Log(12);
    ASSERT_EQ(log.size(), 12u);
    EXPECT_FALSE(log.back().reply.has_value());
    for (const UnitLogEntry &entry : log)
        EXPECT_NE(entry.request[2], 0x11);
}

TEST_F(PresetsUnitTest, LoadedFileReachesTheUnit)
{
    Connect();
    TemporaryDocuments documents(config);
    QByteArray bytes(reinterpret_cast<const char *>(ValueTables::FactoryPresetImages[9].data()),
                     128);
    bytes[119] = 1; // a delay of 256 ms on channel B
    QFile file(documents.PathOf("boost.RFP"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes + '\0');
    file.close();
    messages.ChooseFile(file.fileName());
    ASSERT_EQ(PresetFiles::LoadPresetFile(PresetFiles::Kind::User, {}),
              PresetFiles::LoadOutcome::Loaded);
    const auto requests = Requests(33);
    ASSERT_EQ(requests.size(), 33u);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(requests[i].mid(2, 3), QByteArray("\x1A\x00", 2) + char(4 * i));
    EXPECT_EQ(requests[32].mid(2, 7), QByteArray("\x2B\x00\x00\x00\x00\x00\x00", 7));
    const auto setting = UnitSetting();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(setting.data()), 128), bytes);
    EXPECT_EQ(ModFun::state.Summary[10 + ModFun::DelayBlock], " 256 ms ");
}

} // namespace
