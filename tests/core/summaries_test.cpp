#include "ModelFixture.h"
#include "TableData.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"

namespace {

using Summaries = ModelTest;

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

struct SummaryRow
{
    const char *name;
    std::vector<std::pair<int, int>> bytes;
    /// 10 * channel + block: the block is sent, then the label read.
    int label;
    const char *text;
    bool commaLocale = false;
    bool metres = false;
};

class SummaryRows : public Summaries, public ::testing::WithParamInterface<SummaryRow>
{
};

TEST_P(SummaryRows, SenderWritesItsText)
{
    const SummaryRow &row = GetParam();
    ModCountry::CommaLocale = row.commaLocale ? 1 : 0;
    SystemFlags::SetDistanceUnit(row.metres);
    for (const auto &[index, value] : row.bytes)
        Image(index) = static_cast<std::uint8_t>(value);
    const int channel = row.label / 10;
    switch (row.label % 10) {
    case ModFun::GateBlock:
        ModFun::SendGate(3 * channel);
        break;
    case ModFun::FilterBlock:
        ModFun::SendCrossover(2 * channel);
        ModFun::SendCrossover(2 * channel + 1);
        break;
    case ModFun::DelayBlock:
        ModFun::SendDelay(channel);
        break;
    default:
        ModFun::SendLimiter(channel);
    }
    EXPECT_EQ(ModFun::state.Summary[row.label], row.text);
}

using Row = SummaryRow;

INSTANTIATE_TEST_SUITE_P(
    Blocks, SummaryRows,
    ::testing::Values(
        Row{"GateNotExactlyOne", {{59, 2}}, 0, " Disabled "},
        Row{"GateBCodes",
            {{123, 1}, {124, 3}, {125, 5}, {126, 2}},
            10,
            " Thr= -75 ; Rel=30 ; Atk=0.7"},
        Row{"GateComma", {{59, 1}}, 0, " Thr= -90 ; Rel=1 ; Atk=0,5", true},
        Row{"Limiter", {{45, 49}, {46, 205}, {47, 149}}, 7, "Thr=-0.2 dB - Rel=350 ms - Atk=50 ms"},
        Row{"FiltersB",
            {{115, 73}, {116, 1}, {118, 2}},
            12,
            "HP: 1337 Hz, -6dB/oct - LP: 20 Hz, -12dB/oct"},
        Row{"DelayMs", {{119, 1}, {120, 44}, {121, 24}}, 14, " 300.499 ms "},
        Row{"DelayMetres", {{119, 1}, {120, 44}, {121, 24}}, 14, " 102.16966 m ", false, true},
        Row{"DelayComma", {{56, 1}, {57, 12}}, 4, " 1,249 ms ", true}),
    [](const ::testing::TestParamInfo<SummaryRow> &info) { return std::string(info.param.name); });

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
