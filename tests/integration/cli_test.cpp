// mxrf418-cli as a process against the virtual unit: exit codes by class of failure, a setting
// that goes round JSON and a preset file byte for byte, snapping of set values.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "QtPrinters.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "model/ValueTables.h"
#include "shell/AppInfo.h"

namespace {

struct Finished
{
    int exit = -1;
    QString out;
    QString err;
};

/// The default image with a few changes that reach every kind of field: a delay with a fine
/// part, a raw gate code, a reserved byte, the graphic equaliser without link.
QByteArray OriginalImage()
{
    const auto &factory = ValueTables::FactoryPresetImages[2];
    QByteArray image(reinterpret_cast<const char *>(factory.data()), int(factory.size()));
    image.append('\0');
    image.replace(55, 3, QByteArray("\x01\x2C\x18", 3)); // A: 300.4992 ms
    image[64 + 59] = 2; // B: gate code that reads as off
    image[48] = 7;
    image[127] = 5; // graphic, not linked, one reserved bit
    return image;
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureCoreApplication(); }

    bool StartUnit(const QStringList &options = {})
    {
        const bool started = unit.Start({0, options});
        EXPECT_TRUE(started) << unit.ErrorString().toStdString();
        return started;
    }

    /// Runs the tool on the unit's pty (unless the arguments name a device themselves).
    Finished Cli(QStringList arguments, const QByteArray &input = {})
    {
        if (!arguments.contains(QStringLiteral("--device")) && unit.ProcessId() != 0)
            arguments = QStringList{QStringLiteral("--device"), unit.PtyPath()} + arguments;
        QProcess process;
        process.start(QStringLiteral(MXRF_CLI_PROGRAM), arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString WriteFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    QByteArray ReadFile(const QString &name)
    {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TemporaryConfig config;
    QTemporaryDir folder;
    VirtualUnit unit;
};

struct ExitRow
{
    const char *name;
    bool unit;
    QStringList unitOptions;
    QStringList arguments; ///< "%file" stands for a preset file, "%bad" for a refused JSON
    const char *input;
    int exit;
    const char *told;
};

void PrintTo(const ExitRow &row, std::ostream *out)
{
    *out << row.name;
}

class CliExitTest : public CliTest, public ::testing::WithParamInterface<ExitRow>
{
};

TEST_P(CliExitTest, ExitsWithItsCodeAndSaysWhy)
{
    const ExitRow &row = GetParam();
    if (row.unit) {
        ASSERT_TRUE(StartUnit(row.unitOptions));
    }
    const QByteArray json = R"({"format": 1, "eqMode": "graphic", "link": 3})";
    QStringList arguments = row.arguments;
    arguments.replaceInStrings(QStringLiteral("%file"), WriteFile("p.RFP", OriginalImage()));
    arguments.replaceInStrings(QStringLiteral("%bad"), WriteFile("bad.json", json));
    const Finished run = Cli(arguments, row.input);
    EXPECT_EQ(run.exit, row.exit) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String(row.told))) << run.err.toStdString();
    if (row.exit == 5 && row.unit) {
        EXPECT_TRUE(unit.Log(0, 0).empty()) << "a refused value or file sends nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CliExitTest,
    ::testing::Values(
        ExitRow{"usage", false, {}, {"frobnicate"}, "", 1, "no such command"},
        ExitRow{"response_suffix", false, {}, {"response", "r.txt"}, "", 1, "must end in .csv"},
        ExitRow{"no_device",
                false,
                {},
                {"--device", "/nonexistent/tty", "info"},
                "",
                2,
                "/nonexistent/tty cannot be opened"},
        ExitRow{"silent_unit", true, {"--drop-every", "1"}, {"info"}, "", 2, "no unit answered"},
        ExitRow{"empty_preset", true, {}, {"preset", "read", "20"}, "", 3, "Preset empty"},
        ExitRow{"wrong_password", true, {}, {"unlock"}, "9999\n", 3, "Password wrong"},
        // The connect takes 42 frames, so the upload's eighth block meets the hang-up.
        ExitRow{"link_lost",
                true,
                {"--hangup-after", "50"},
                {"restore", "%file"},
                "",
                4,
                "blocks 1..7 of 32 reached the unit"},
        // The unit answers its identity between the two tries of the first block.
        ExitRow{
            "unanswered", true, {"--drop-command", "1A"}, {"restore", "%file"}, "", 4, "no block"},
        ExitRow{
            "not_a_preset_file", false, {}, {"restore", "/dev/null"}, "", 5, "it holds 0 bytes"},
        ExitRow{"bad_value", true, {}, {"set", "A.eq.3.gainDb=loud"}, "", 5, "not a number"},
        ExitRow{
            "bad_json", true, {}, {"restore", "%bad"}, "", 5, "link: 3; allowed: true or false"},
        ExitRow{
            "factory_place", true, {}, {"preset", "store", "3", "X"}, "", 5, "3: presets 1..16"}),
    [](const ::testing::TestParamInfo<ExitRow> &info) { return std::string(info.param.name); });

TEST_F(CliTest, EqImportDryRunPrintsTheSnappedBandsWithoutAUnit)
{
    const QString file = WriteFile("eq.txt",
                                   "Preamp: -3 dB\nFilter 1: ON PK Fc 1,2 kHz Gain -3.0 dB "
                                   "Q 2.00\nFilter 2: ON HS Fc 8000 Hz Gain 2 dB\n");
    const Finished run = Cli({"eq", "import", file, "--channel", "B", "--dry-run"});
    EXPECT_EQ(std::tuple(run.exit, run.out),
              std::tuple(0,
                         QStringLiteral(
                             "line 2: Filter 1: ON PK Fc 1,2 kHz Gain -3.0 dB Q 2.00 -> band 1: "
                             "1187 Hz  -3.0 dB  Q 2.5\n"
                             "line 3: Filter 2: ON HS Fc 8000 Hz Gain 2 dB -> skipped: type HS: "
                             "the unit has peaking bands only\n"
                             "Preamp -3 dB not applied: the unit has no preamp\n"
                             "largest difference: 0.09 dB (20 Hz - 20 kHz)\n")));
}

TEST_F(CliTest, PrintsItsHelpVersionAndPortsWithoutAUnit)
{
    const std::pair<QStringList, QString> rows[] = {
        {{"--help"}, "[options] COMMAND [ARGUMENTS]"},
        {{"--help"}, "  restore FILE\n"},
        {{"--version"}, QStringLiteral("mxrf418-cli %1\n").arg(AppInfo::SoftwareVersion)},
        {{"ports"}, "COM32  -     "}, // the port map is empty
    };
    for (const auto &[arguments, printed] : rows) {
        const Finished run = Cli(arguments);
        EXPECT_EQ(run.exit, 0);
        EXPECT_TRUE(run.out.contains(printed)) << run.out.toStdString();
    }
}

TEST_F(CliTest, SettingGoesRoundJsonAndPresetFileByteForByte)
{
    ASSERT_TRUE(StartUnit());
    ASSERT_EQ(Cli({"restore", WriteFile("original.RFP", OriginalImage())}).exit, 0);
    const Finished dump = Cli({"dump"});
    ASSERT_EQ(dump.exit, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.out.contains(QLatin1String("\"delayMs\": 300.4992")));
    ASSERT_EQ(Cli({"set", "link=true"}).exit, 0); // the unit's setting changes meanwhile
    const Finished restore = Cli({"restore", "--verify", WriteFile("d.json", dump.out.toUtf8())});
    ASSERT_EQ(restore.exit, 0) << restore.err.toStdString();
    ASSERT_EQ(Cli({"dump", "--preset-file", folder.filePath("again.RFP")}).exit, 0);
    EXPECT_EQ(ReadFile("again.RFP"), OriginalImage());
}

TEST_F(CliTest, ResponseFromTheUnitAndSheetFromAPresetFile)
{
    ASSERT_TRUE(StartUnit());
    const Finished response =
        Cli({"response", folder.filePath("r.csv"), "--channel", "B", "--points", "24"});
    ASSERT_EQ(response.exit, 0) << response.err.toStdString();
    const QList<QByteArray> lines = ReadFile("r.csv").split('\n');
    EXPECT_EQ(lines.size(), 242); // the header, 240 points and the nothing after the last line
    EXPECT_TRUE(lines[0].startsWith("frequency_hz,B_total_db,B_band1_db,"));
    const Finished sheet =
        Cli({"sheet", folder.filePath("s.pdf"), "--from", WriteFile("p.RFP", OriginalImage())});
    ASSERT_EQ(sheet.exit, 0) << sheet.err.toStdString();
    EXPECT_TRUE(ReadFile("s.pdf").startsWith("%PDF-"));
}

TEST_F(CliTest, TraceShowsTheOpenAndEveryExchangeAsTheUnitLogsIt)
{
    ASSERT_TRUE(StartUnit());
    const Finished run = Cli({"--trace", "preset", "store", "17", "Stage"});
    ASSERT_EQ(run.exit, 0) << run.err.toStdString();
    static const QRegularExpression exchange(
        R"(^\d\d:\d\d:\d\d\.\d{3}  (.+ -> .+)  \d+\.\d ms  answered$)",
        QRegularExpression::MultilineOption);
    QStringList exchanges;
    for (auto match = exchange.globalMatch(run.err); match.hasNext();)
        exchanges << match.next().captured(1);
    ASSERT_EQ(unit.Log(int(exchanges.size())).size(), std::size_t(exchanges.size()));
    EXPECT_EQ(exchanges, unit.LogLines());
    EXPECT_TRUE(run.err.contains(QRegularExpression(
        "^\\S+  open " + QRegularExpression::escape(unit.PtyPath()) + "  \\S+ ms  open$",
        QRegularExpression::MultilineOption)))
        << run.err.toStdString();
    const QString list = Cli({"preset", "list"}).out;
    EXPECT_TRUE(list.contains("\n17  \"  Stage \"  used\n")) << list.toStdString();
}

TEST_F(CliTest, SetSnapsAsTheWindowsDoAndTheUnitHoldsIt)
{
    const std::pair<const char *, const char *> rows[] = {
        {"A.eq.3.gainDb", "3.7"},
        {"A.eq.1.frequencyHz", "1010"},
        {"A.eq.1.q", "2.23"},
        {"A.delayMs", "3.4"},
        {"A.limiter.thresholdDb", "-0.33"},
        {"A.limiter.releaseMs", "1000"},
        {"A.gate.thresholdDb", "-72"},
        {"A.highPass.frequencyHz", "99999"},
        {"B.lowPass.slope", "-12DB/OCT"},
    };
    const QString snapped = "A.eq.3.gainDb=3.5\nA.eq.1.frequencyHz=1000\nA.eq.1.q=2.2\n"
                            "A.delayMs=3.3952\nA.limiter.thresholdDb=-0.4\n"
                            "A.limiter.releaseMs=350\nA.gate.thresholdDb=-70\n"
                            "A.highPass.frequencyHz=20000\nB.lowPass.slope=-12dB/oct\n";
    ASSERT_TRUE(StartUnit());
    QStringList assignments;
    QStringList names;
    for (const auto &[name, value] : rows) {
        assignments << QStringLiteral("%1=%2").arg(name, value);
        names << name;
    }
    const Finished set = Cli(QStringList{"set"} + assignments);
    EXPECT_EQ(set.exit, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, snapped);
    EXPECT_EQ(Cli(QStringList{"get"} + names).out, snapped) << "read back from the unit";
}

TEST_F(CliTest, LockedUnitRefusesChangesUntilUnlocked)
{
    ASSERT_TRUE(StartUnit());
    EXPECT_EQ(Cli({"lock"}, "0000\n").out, "System Lock\n");
    const Finished refused = Cli({"set", "A.mute=true"});
    EXPECT_EQ(refused.exit, 3);
    EXPECT_TRUE(refused.err.contains(QLatin1String("locked")));
    EXPECT_EQ(Cli({"unlock"}, "0000\n").exit, 0);
    EXPECT_EQ(Cli({"set", "A.mute=true"}).out, "A.mute=true\n");
}

} // namespace
