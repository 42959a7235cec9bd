#include "ModelFixture.h"
#include "TableData.h"
#include "session/Startup.h"
#include "presets/ModPreset.h"

namespace {

using Summaries = ModelTest;

TEST_F(Summaries, DefaultImageGivesTheDefaultTexts)
{
    ModFun::LoadDefaultImage();
    ASSERT_TRUE(ModFun::SendWholeState());
    for (int base : {0, 10}) {
        EXPECT_EQ(ModFun::state.Summary[base + 0], " Disabled ");
        EXPECT_EQ(ModFun::state.Summary[base + 1], "EQ Flat");
        EXPECT_EQ(ModFun::state.Summary[base + 2], "HP: 20 Hz, Bypass - LP: 20000 Hz, Bypass");
        EXPECT_EQ(ModFun::state.Summary[base + 4], " 0 ms ");
        EXPECT_EQ(ModFun::state.Summary[base + 7], "Thr=0 dB - Rel=100 ms - Atk=5 ms");
    }
    EXPECT_EQ(ModFun::state.EqCaption[1], "PEQ");
    EXPECT_EQ(ModFun::state.MuteText[1], "Unmuted");
}

TEST_F(Summaries, FixedTextsAsWrittenDown)
{
    ASSERT_TRUE(ModFun::SendWholeState()); // names the channels
    const QStringList program = QStringList{ModFun::ModelName, ValueTables::DelayUnitNames[0],
                                            ValueTables::DelayUnitNames[1]} +
        QStringList(ModFun::state.ChannelNames.begin(), ModFun::state.ChannelNames.end()) +
        QStringList{ModPreset::EmptyName(), Startup::ConnectedTitle(), Startup::DemoTitle()};
    QStringList written;
    for (const std::string &row : TableData::Rows("texts.txt")) {
        for (const std::string &text : TableData::Texts(row))
            written.append(QString::fromStdString(text));
    }
    EXPECT_EQ(program, written);
}

TEST_F(Summaries, EqualiserIsFlatOnlyWhenEveryGainIsZero)
{
    ModFun::LoadDefaultImage();
    Image(42) = 31; // channel A band 15: +0.5 dB
    Image(64 + 1) = 100;
    Image(64 + 2) = 200;
    ModFun::SendWholeState();
    EXPECT_EQ(ModFun::state.Summary[1], "~~~~~~");
    EXPECT_EQ(ModFun::state.Summary[11], "EQ Flat");
}

TEST_F(Summaries, GateLimiterAndCrossoverTexts)
{
    Image(59) = 2; // not exactly 1: disabled
    ModFun::SendGate(0);
    EXPECT_EQ(ModFun::state.Summary[0], " Disabled ");
    Image(123) = 1;
    ModFun::SendGate(5);
    EXPECT_EQ(ModFun::state.Summary[10], " Thr= -90 ; Rel=1 ; Atk=0.5");
    Image(45) = 49;
    Image(46) = 205;
    Image(47) = 149;
    ModFun::SendLimiter(0);
    EXPECT_EQ(ModFun::state.Summary[7], "Thr=-0.2 dB - Rel=350 ms - Atk=50 ms");
    Image(115) = 73;
    Image(116) = 1;
    Image(118) = 2;
    ModFun::SendCrossover(2);
    EXPECT_EQ(ModFun::state.Summary[12], "HP: 1337 Hz, -6dB/oct - LP: 0 Hz, Bypass");
    ModFun::SendCrossover(3);
    EXPECT_EQ(ModFun::state.Summary[12], "HP: 1337 Hz, -6dB/oct - LP: 20 Hz, -12dB/oct");
}

TEST_F(Summaries, CommaLocaleWritesTheDecimalComma)
{
    ModCountry::CommaLocale = 1;
    Image(59) = 1;
    ModFun::SendGate(0);
    EXPECT_EQ(ModFun::state.Summary[0], " Thr= -90 ; Rel=1 ; Atk=0,5");
    Image(56) = 1; // 1 ms + fine 12
    Image(57) = 12;
    ModFun::SendDelay(0);
    EXPECT_EQ(ModFun::state.Summary[4], " 1,249 ms ");
}

TEST_F(Summaries, WindowsAreToldWhatChanged)
{
    QObject window; // the connections end with it
    std::vector<int> summaries, mutes;
    QStringList titles;
    const ModFun::Notifier *notifier = &ModFun::notifier();
    QObject::connect(notifier, &ModFun::Notifier::summaryChanged, &window,
                     [&](int label) { summaries.push_back(label); });
    QObject::connect(notifier, &ModFun::Notifier::muteChanged, &window,
                     [&](int channel) { mutes.push_back(channel); });
    QObject::connect(notifier, &ModFun::Notifier::titleChanged, &window,
                     [&](const QString &title) { titles.push_back(title); });
    ModFun::SendLimiter(1);
    ModFun::SendCrossover(1);
    ModFun::ToggleMute(1);
    ModFun::state.PresetSource = "File";
    ModFun::state.PresetTitle = "LIVE.RFP";
    ModFun::ShowPresetName();
    EXPECT_EQ(summaries, (std::vector{17, 2}));
    EXPECT_EQ(mutes, std::vector{1});
    EXPECT_EQ(titles, QStringList{"MX-RF418 - File : LIVE.RFP"});
}

} // namespace
