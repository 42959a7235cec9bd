#include "ModelFixture.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"

namespace {

using DevicePresets::Outcome;

/// Counts what a preset action shows on its progress display.
struct ProgressLog
{
    int startValue = -1;
    int maximum = -1;
    int steps = 0;
    int finished = 0;

    Presets::Progress Display()
    {
        return {[this](int value, int max) { startValue = value, maximum = max; },
                [this] { ++steps; }, [this] { ++finished; }};
    }
};

class DevicePresetsTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ModPreset::Reset();
        ModPreset::FillFactoryEntries();
        ModFun::LoadDefaultImage();
        ModFun::state.ParamImage[128] = 77;
        // The unit's user preset: each block holds its offset + 1, channel A's limiter threshold
        // (byte 47) an out-of-range 200.
        serial.responder = [](const FrameBuffer &request) {
            if (request[2] != 0x19)
                return ReplyFrame(request[2], request[3], request[4], 0, 0, 0, 0x10);
            const int offset = request[4];
            FrameBuffer reply = ReplyFrame(0x19, 0, offset, 0, 0, 0, 0);
            for (int i = 0; i < 4; ++i)
                reply[5 + i] = offset + i == 47 ? 200 : (offset + i) % 50 + 1;
            return reply;
        };
    }
    void TearDown() override
    {
        ModPreset::Reset();
        ModelTest::TearDown();
    }

    ProgressLog progress;
};

TEST_F(DevicePresetsTest, UserPresetIsRecalledReadClampedAndApplied)
{
    ModPreset::state.PresetNames[17] = "Church B";
    ASSERT_EQ(DevicePresets::ReadUserPreset(17, progress.Display()), Outcome::Done);
    EXPECT_FALSE(ModFun::history().Unsaved());
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 33u) << "the refresh sends nothing";
    EXPECT_EQ(frames[0], ReplyFrame(0x1B, 17));
    EXPECT_EQ(frames[1], ReplyFrame(0x19, 0, 0));
    EXPECT_EQ(frames[32], ReplyFrame(0x19, 0, 124));
    EXPECT_EQ(ModFun::state.PanelTitle, "MX-RF418 - Preset : P18 - Church B");
    ExpectDerivedStateCurrent();
    EXPECT_EQ(progress.startValue + progress.steps, progress.maximum);
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(DevicePresetsTest, FactoryPresetSendsOnlyTheRecall)
{
    ASSERT_EQ(DevicePresets::ReadFactoryPreset(5, progress.Display()), Outcome::Done);
    EXPECT_EQ(Frames(), std::vector{ReplyFrame(0x1B, 5)});
    EXPECT_EQ(ModFun::state.PanelTitle, "MX-RF418 - Preset : P6 - Loudness");
    EXPECT_EQ(progress.startValue + progress.steps, 34);
}

TEST_F(DevicePresetsTest, ReadAsksFirstAndRefusesUnusedPresets)
{
    const auto before = ModFun::state.ParamImage;
    EXPECT_EQ(DevicePresets::ReadPresetAsked(20, {}), Outcome::Refused);
    EXPECT_TRUE(messages.ShownOnly("Preset empty", "Read Preset", Messages::Icon::Critical));

    Messages::ClearLog();
    messages.Answer(Messages::Answer::No);
    EXPECT_EQ(DevicePresets::ReadPresetAsked(2, {}), Outcome::Declined);
    EXPECT_TRUE(messages.ShownOnly("Overwrite current editing with the preset 3, are you sure ? ",
                                   "Read Preset", Messages::Icon::Question));
    EXPECT_TRUE(serial.calls.empty());
    EXPECT_EQ(ModFun::state.ParamImage, before);

    ModTxRx::state.DemoMode = true; // no user preset without a unit; factory presets still load
    ModPreset::state.PresetUsed[20] = true;
    EXPECT_EQ(DevicePresets::ReadPresetAsked(20, {}), Outcome::Refused);
    EXPECT_EQ(DevicePresets::ReadPresetAsked(2, {}), Outcome::Done);
}

TEST_F(DevicePresetsTest, NamesAreTrimmedAndCheckedBeforeAnythingIsSent)
{
    for (const QString good : {"  Hall 2  ", "ABCDEFGH", "~ {x}"})
        EXPECT_EQ(DevicePresets::CheckedPresetName(good), good.trimmed());
    for (const QString bad : {"", "    ", "ABCDEFGHI", "Caf\u00e9", "a\tb"})
        EXPECT_FALSE(DevicePresets::CheckedPresetName(bad)) << bad.toStdString();

    messages.Answer(Messages::Answer::Yes);
    EXPECT_EQ(DevicePresets::StorePresetAsked(0, "ABCDEFGHI", {}), Outcome::Refused);
    messages.Answer(Messages::Answer::No);
    EXPECT_EQ(DevicePresets::StorePresetAsked(0, "Fine", {}), Outcome::Declined);
    EXPECT_EQ(messages.Texts(),
              (QStringList{"               Are you sure ? ", "Symbol not admited",
                           "               Are you sure ? "}));
    EXPECT_EQ(messages.Shown()[1].box.title, "Edit Program Name");
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(DevicePresetsTest, StoreWritesImageNameMarkAndEndInOrder)
{
    Image(0) = 44;
    ASSERT_TRUE(ModFun::history().Unsaved());
    ASSERT_EQ(DevicePresets::Memorize_eep(15, "AB", progress.Display()), Outcome::Done);
    EXPECT_FALSE(ModFun::history().Unsaved());
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 36u);
    EXPECT_EQ(frames[0], ReplyFrame(0x18, 0x08, 0xA0, 44, 4, 24, 30)); // 2208
    EXPECT_EQ(frames[31][3] * 256 + frames[31][4], 2208 + 124);
    EXPECT_EQ(frames[32], ReplyFrame(0x18, 0x0F, 0x98, ' ', ' ', ' ', 'A')); // 3992
    EXPECT_EQ(frames[33], ReplyFrame(0x18, 0x0F, 0x9C, 'B', ' ', ' ', ' '));
    EXPECT_EQ(frames[34], ReplyFrame(0x11, 0x00, 0x3F, 0x00, 0x55, 0x00, 0x00));
    EXPECT_EQ(frames[35], ReplyFrame(0x3B, 15, 0, 0, 0, 0, 0x55));
    EXPECT_EQ(ModFun::state.PanelTitle, "MX-RF418 - Preset : P32 - AB   ");
    EXPECT_EQ(progress.maximum, 40);
    EXPECT_EQ(progress.steps, 34);
}

TEST_F(DevicePresetsTest, StoreWritesALostDataFrameAgainAfterTheReopen)
{
    for (int i = 0; i < 5; ++i)
        serial.QueueReply(ReplyFrame(0x18));
    serial.QueueFailure(); // block 5 is lost, the reopen works: it is written again
    ASSERT_EQ(DevicePresets::Memorize_eep(0, "Live", {}), Outcome::Done);
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 38u);
    EXPECT_EQ(frames[6][2], 0x25);
    EXPECT_EQ(frames[7], frames[5]);
}

} // namespace
