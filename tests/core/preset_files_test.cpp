#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include "ModelFixture.h"
#include "NonRegularFiles.h"
#include "TemporaryConfig.h"
#include "TemporaryDocuments.h"
#include "model/ImageCheck.h"
#include "model/SettingJson.h"
#include "presets/PresetFiles.h"

namespace {

using PresetFiles::Kind;
using PresetFiles::LoadOutcome;

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray DefaultImageBytes()
{
    const auto &image = ValueTables::DefaultImage;
    QByteArray bytes(reinterpret_cast<const char *>(image.data()), image.size());
    return bytes + '\0';
}

/// Preset files in a temporary documents folder.
class PresetFilesTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        PresetFiles::Reset();
        ModFun::LoadDefaultImage();
    }

    QString PathOf(const QString &name) const { return documents.PathOf(name); }

    /// A preset file: the default image with `changes` applied, `size` bytes long.
    QString PresetFile(const QString &name, int size = 129,
                       std::initializer_list<std::pair<int, char>> changes = {})
    {
        QByteArray bytes = DefaultImageBytes().leftJustified(size, '\x07', true);
        for (const auto &[index, value] : changes)
            bytes[index] = value;
        WriteAll(PathOf(name), bytes);
        return PathOf(name);
    }

    TemporaryConfig config;
    TemporaryDocuments documents{config};
};

TEST_F(PresetFilesTest, BothDialogsOfAKindStartInOneFolderThatIsCreated)
{
    const QString user = documents.Path() + "/MX-RF418/Preset";
    const QString factory = documents.Path() + "/MX-RF418/Factory preset";
    EXPECT_EQ(PresetFiles::PresetFolder(Kind::User), user);
    EXPECT_FALSE(PresetFiles::SavePresetFile(Kind::User)); // cancelled
    EXPECT_EQ(PresetFiles::LoadPresetFile(Kind::User, {}), LoadOutcome::Cancelled);
    EXPECT_EQ(PresetFiles::LoadPresetFile(Kind::Factory, {}), LoadOutcome::Cancelled);
    ASSERT_EQ(messages.fileRequests.size(), 3u);
    EXPECT_EQ(messages.fileRequests[0].mode, Messages::FileMode::Save);
    EXPECT_EQ(messages.fileRequests[0].folder, user);
    EXPECT_EQ(messages.fileRequests[1].folder, user);
    EXPECT_EQ(messages.fileRequests[1].filter, "file preset (*.RFP)");
    EXPECT_EQ(messages.fileRequests[2].folder, factory);
    EXPECT_EQ(messages.fileRequests[2].filter, "file factory preset (*.RF1)");
    EXPECT_TRUE(QDir(user).exists() && QDir(factory).exists());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(PresetFilesTest, SaveWritesExactlyTheImageInPlaceOfTheFile)
{
    messages.ChooseFile(PathOf("default.RFP"));
    ASSERT_TRUE(ModFun::history().Unsaved());
    ASSERT_TRUE(PresetFiles::SavePresetFile(Kind::User));
    EXPECT_FALSE(ModFun::history().Unsaved());
    EXPECT_EQ(ReadAll(PathOf("default.RFP")), DefaultImageBytes());

    WriteAll(PathOf("long.rf1"), QByteArray(1000, 'x'));
    messages.ChooseFile(PathOf("long.rf1"));
    ASSERT_TRUE(PresetFiles::SavePresetFile(Kind::Factory));
    EXPECT_EQ(ReadAll(PathOf("long.rf1")), DefaultImageBytes());

    messages.ChooseFile(PathOf("no such folder/x.RFP"));
    EXPECT_FALSE(PresetFiles::SavePresetFile(Kind::User));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(messages.Shown()[0].box.text.startsWith("The preset could not be saved: "));
    EXPECT_FALSE(QDir(PathOf("no such folder")).exists());
}

TEST_F(PresetFilesTest, LoadUploadsThirtyThreeFramesThenTakesTheImage)
{
    int steps = 0;
    int maximum = 0;
    bool finished = false;
    const Presets::Progress progress{[&](int value, int max) { steps = value, maximum = max; },
                                     [&] { ++steps; }, [&] { finished = true; }};
    messages.ChooseFile(PresetFile("hall.RFP", 129, {{0, 40}, {58, 1}, {128, 5}}));
    ASSERT_EQ(PresetFiles::LoadPresetFile(Kind::User, progress), LoadOutcome::Loaded);
    EXPECT_FALSE(ModFun::history().Unsaved());
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 33u) << "the refresh sends nothing";
    EXPECT_EQ(frames[0], ReplyFrame(0x1A, 0, 0, 40, 4, 24, 30));
    EXPECT_EQ(frames[31], ReplyFrame(0x1A, 0, 124, 0, 0, 0, 2));
    EXPECT_EQ(frames[32], ReplyFrame(0x2B));
    EXPECT_EQ(ModFun::state.PanelTitle, "MX-RF418 - File : hall.RFP");
    ExpectDerivedStateCurrent();
    EXPECT_EQ(maximum, 37);
    EXPECT_EQ(steps, 33);
    EXPECT_TRUE(finished);
}

TEST_F(PresetFilesTest, RefusedFilesChangeNothing)
{
    const QString tooShort = PresetFile("short.RFP", 100);
    const QString badCode = PresetFile("bad.RFP", 129, {{118, 3}});
    messages.ChooseFile(tooShort);
    messages.ChooseFile(badCode);
    messages.ChooseFile(PathOf("missing.RFP"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(PresetFiles::LoadPresetFile(Kind::User, {}), LoadOutcome::Refused);
    EXPECT_EQ(
        messages.Texts(),
        (QStringList{"This is not a preset file: it holds 100 bytes, a preset file holds 129.",
                     "This is not a preset file: byte 118 holds 3 (channel B low-pass "
                     "slope, 0..2).",
                     " File not found. Try again."}));
    for (const Messages::Shown &shown : messages.Shown())
        EXPECT_TRUE(shown.box.title == " Error" && shown.box.icon == Messages::Icon::Exclamation);
}

TEST_F(PresetFilesTest, NamesOfNoRegularFileAreRefusedAndNeitherReadNorWritten)
{
    ASSERT_TRUE(MakePipe(PathOf("pipe.RFP")));
    ASSERT_TRUE(QDir(documents.Path()).mkdir("folder.RFP"));
    ASSERT_TRUE(QFile::link(PathOf("gone.RFP"), PathOf("link.RFP")));
    const QString device = DeviceNode(documents.Path());
    Image(0) = 12;
    const auto before = ModFun::state.ParamImage;
    const std::pair<QString, QString> rows[] = {
        {PathOf("pipe.RFP"), "a named pipe"},
        {PathOf("folder.RFP"), "a folder"},
        {device, "a device"},
        {PathOf("link.RFP"), "a link to a file that does not exist"},
    };
    for (const auto &[path, what] : rows) {
        Messages::ClearLog();
        messages.ChooseFile(path);
        messages.ChooseFile(path);
        EXPECT_EQ(PresetFiles::LoadPresetFile(Kind::User, {}), LoadOutcome::Refused);
        EXPECT_FALSE(PresetFiles::SavePresetFile(Kind::User));
        EXPECT_EQ(messages.Texts(),
                  (QStringList{"This is not a preset file: it is " + what + ".",
                               "The preset could not be saved: " + QFileInfo(path).fileName() +
                                   " is " + what + "."}));
    }
    EXPECT_EQ(ModFun::state.ParamImage, before);
    EXPECT_FALSE(QFileInfo(PathOf("pipe.RFP")).isFile()) << "not replaced by a file";
    EXPECT_FALSE(QFileInfo(device).isFile());
    EXPECT_TRUE(QDir(PathOf("folder.RFP")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(PathOf("gone.RFP")));
}

/// An edit of channel A of a JSON setting that format 1 refuses, and where it is refused.
struct RefusedEdit
{
    const char *name;
    void (*edit)(QJsonObject &channelA);
    const char *path;
};

void PrintTo(const RefusedEdit &row, std::ostream *out)
{
    *out << row.name;
}

class SettingJsonFile : public ::testing::TestWithParam<RefusedEdit>
{
};

TEST_P(SettingJsonFile, RefusesTheEditedSetting)
{
    SettingJson::Image image{};
    std::copy(ValueTables::DefaultImage.begin(), ValueTables::DefaultImage.end(), image.begin());
    QJsonObject setting = SettingJson::ToJson(image);
    QJsonObject a = setting["A"].toObject();
    GetParam().edit(a);
    setting["A"] = a;
    const SettingJson::Result result = SettingJson::FromJson(setting);
    ASSERT_TRUE(std::holds_alternative<SettingJson::Refusal>(result));
    EXPECT_EQ(std::get<SettingJson::Refusal>(result).path, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SettingJsonFile,
    ::testing::Values(
        // A switch may be given as a raw code, but only one that fits the byte.
        RefusedEdit{"RawSwitchCodeAbove255", [](QJsonObject &a) { a["mute"] = 256; }, "A.mute"},
        RefusedEdit{"BandsAsNumberedNames",
                    [](QJsonObject &a) {
                        QJsonObject bands;
                        for (int k = 0; k < ValueTables::BandsPerChannel; ++k)
                            bands[QString::number(k + 1)] = a["eq"][k];
                        a["eq"] = bands;
                    },
                    "A.eq.1.gainDb"},
        RefusedEdit{"UnknownNameInTheFirstBand",
                    [](QJsonObject &a) {
                        a["eq"] = QJsonArray{QJsonObject{{"gain", 0}}};
                    },
                    "A.eq.1.gain"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SettingJsonText, TakesBackEveryHighestCodeAndReservedByte)
{
    SettingJson::Image image;
    image.fill(255);
    ImageCheck::ClampCodes(image);
    const SettingJson::Result back = SettingJson::FromJsonText(SettingJson::ToJsonText(image));
    ASSERT_TRUE(std::holds_alternative<SettingJson::Image>(back));
    EXPECT_EQ(std::get<SettingJson::Image>(back), image);
}

} // namespace
