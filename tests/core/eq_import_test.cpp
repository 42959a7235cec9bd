// EQ files read, snapped onto a channel's bands and applied; the difference figure against a
// target computed here from the complex response of the analog peaking filter.
#include <complex>

#include <QStringConverter>

#include "ModelFixture.h"
#include "TableData.h"
#include "eqimport/EqPlan.h"

namespace {

/// What was read, one word a filter: "line:Hz/dB/Q" or "line:why skipped"; then the preamp.
std::string Described(const EqText::Read &read)
{
    if (!read.refusal.isEmpty())
        return "refused: " + read.refusal.toStdString();
    QStringList words;
    for (const EqText::Filter &f : read.filters)
        words << QStringLiteral("%1:").arg(f.line) +
                (f.skipped.isEmpty()
                     ? QStringLiteral("%1/%2/%3").arg(f.frequencyHz).arg(f.gainDb).arg(f.q)
                     : f.skipped);
    if (read.preampDb)
        words << QStringLiteral("preamp %1").arg(*read.preampDb);
    return words.join(QLatin1Char(' ')).toStdString();
}

struct ReadRow
{
    const char *name;
    QByteArray text;
    std::string read;
};

void PrintTo(const ReadRow &row, std::ostream *out)
{
    *out << row.name;
}

class EqTextRead : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(EqTextRead, ReadsOrRefusesNamingTheLine)
{
    EXPECT_EQ(Described(EqText::ReadText(GetParam().text)), GetParam().read);
}

const QByteArray RoomEq = "Filter Settings file\n\nRoom EQ V5.20\nNotes:\nfree text, 3 Hz\n"
                          "Equaliser: Generic\nAverages:\n"
                          "Filter  1: ON  PK  Fc   100.0 Hz  Gain  -3.0 dB  Q  2.00\r\n"
                          "Filter  2: ON  PK  Fc   1,2 kHz  Gain  4,5 dB  BW Oct 0.67\r\n"
                          "Filter  3: ON  LSC 12 dB Fc 80 Hz Gain 3 dB\n"
                          "Filter  4: OFF PK  Fc   500 Hz  Gain  -2 dB  Q 1\n"
                          "Filter  5: OFF None\n";

INSTANTIATE_TEST_SUITE_P(
    Files, EqTextRead,
    ::testing::Values(
        ReadRow{"filter_settings", RoomEq,
                "8:100/-3/2 9:1200/4.5/2.13405 10:type LSC: the unit has peaking bands only "
                "11:switched off 12:no filter (None)"},
        ReadRow{"equaliser_config", "Preamp: -6,5dB\nFilter: ON PK Fc 50Hz Gain 2 dB Q 0.7\n",
                "2:50/2/0.7 preamp -6.5"},
        ReadRow{"bandwidth_of_one_octave", "Filter: ON PK Fc 50 Hz Gain 2 dB BW Oct 1\n",
                "1:50/2/1.41421"},
        ReadRow{"malformed_line",
                "Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2\nFilter 2: ON PK Fc 1OO Hz\n",
                "refused: line 2 cannot be read: 'Filter 2: ON PK Fc 1OO Hz' ('1OO' is no number "
                "from 1 to 1000000)"},
        ReadRow{"no_q", "Filter: ON PK Fc 100 Hz Gain -3 dB\n",
                "refused: line 1 cannot be read: 'Filter: ON PK Fc 100 Hz Gain -3 dB' (a peaking "
                "filter needs Fc, Gain and Q (or BW Oct))"},
        ReadRow{"not_a_number", "Filter: ON PK Fc 100 Hz Gain nan dB Q 1\n",
                "refused: line 1 cannot be read: 'Filter: ON PK Fc 100 Hz Gain nan dB Q 1' ('nan' "
                "is no number from -100 to 100)"},
        ReadRow{"absurd_frequency", "Filter: ON PK Fc 2000 kHz Gain 1 dB Q 1\n",
                "refused: line 1 cannot be read: 'Filter: ON PK Fc 2000 kHz Gain 1 dB Q 1' ('2000' "
                "is no number from 1 to 1000000)"},
        ReadRow{"nothing_usable", "Filter 1: ON HS Fc 8 kHz Gain 2 dB\nFilter 2: OFF None\n",
                "refused: no usable filter: each of the 2 filters is switched off or of a type "
                "the unit lacks"},
        ReadRow{"no_filter", "Room EQ V5.20\n", "refused: no filter line found"},
        ReadRow{"too_large", QByteArray(64 * 1024 + 1, '\n'),
                "refused: the file is larger than 64 KiB"},
        ReadRow{"utf16",
                QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
                    QStringLiteral("Filter: ON PK Fc 50 Hz Gain 2 dB Q 3\n")),
                "1:50/2/3"}),
    [](const ::testing::TestParamInfo<ReadRow> &info) { return std::string(info.param.name); });

/// The code of a table entry, found in the table written out by hand.
int CodeIn(const std::string &file, const std::string &entry)
{
    const auto rows = TableData::Rows(file);
    return static_cast<int>(std::find(rows.begin(), rows.end(), entry) - rows.begin());
}

struct SnapRow
{
    const char *given;
    const char *hz;
    int gainCode;
    /// The Q whose curve is as wide: Q * divisor(gain) - 0.1, nearest entry.
    const char *q;
    const char *notes;
};

void PrintTo(const SnapRow &row, std::ostream *out)
{
    *out << row.given;
}

class EqSnap : public ::testing::TestWithParam<SnapRow>
{
};

TEST_P(EqSnap, TakesTheNearestTableEntries)
{
    const SnapRow &row = GetParam();
    const EqText::Read read = EqText::ReadText(QByteArray("Filter: ON PK ") + row.given);
    const EqPlan::Plan plan = EqPlan::MakePlan(read, EqPlan::Mode::Parametric, {});
    const EqPlan::Row &snapped = plan.rows.at(0);
    EXPECT_EQ(std::tuple(snapped.band, snapped.codes.frequency, snapped.codes.gain, snapped.codes.q,
                         snapped.notes.join(QLatin1Char('|')).toStdString()),
              std::tuple(0, CodeIn("freq_table.txt", row.hz), row.gainCode,
                         CodeIn("q_table.txt", row.q), std::string(row.notes)));
}

INSTANTIATE_TEST_SUITE_P(
    Filters, EqSnap,
    ::testing::Values(SnapRow{"Fc 100 Hz Gain -3 dB Q 2", "100", 24, "2.5", ""}, // 2 x 1.3 - 0.1
                      SnapRow{"Fc 1.2 kHz Gain 4.5 dB Q 0.8", "1187", 39, "1.1", ""}, // 1.06
                      SnapRow{"Fc 1000 Hz Gain -2.3 dB Q 4", "1000", 25, "4.9", ""}, // -2.5 dB
                      SnapRow{"Fc 15 Hz Gain -18 dB Q 0.1", "20", 0, "0.4",
                              "gain clipped to -15 dB|Fc clipped to 20 Hz|Q clipped to the "
                              "unit's range"},
                      SnapRow{"Fc 25000 Hz Gain 16 dB Q 60", "20000", 60, "128",
                              "gain clipped to 15 dB|Fc clipped to 20000 Hz|Q clipped to the "
                              "unit's range"}));

QByteArray Filters(int count, int hzStep)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("Filter %1: ON PK Fc %2 Hz Gain -3 dB Q 2\n")
                    .arg(i)
                    .arg(100 + i * hzStep)
                    .toLatin1();
    return text;
}

TEST(EqPlan, FiltersPastTheFifteenthAreListedNotImported)
{
    const EqPlan::Plan plan =
        EqPlan::MakePlan(EqText::ReadText(Filters(17, 900)), EqPlan::Mode::Parametric, {});
    EXPECT_EQ(std::tuple(plan.rows[14].band, plan.rows[15].band, plan.rows[16].notes.join("")),
              std::tuple(14, -1, QStringLiteral("not imported: the unit has 15 bands")));
    ModFun::Image image;
    image.fill(7);
    const ModFun::Image imported = EqPlan::ImportedImage(plan, EqPlan::Channels::A, image);
    const int bandBytes = ValueTables::BandsPerChannel * ValueTables::EqBandSize;
    EXPECT_TRUE(std::equal(image.begin() + bandBytes, image.begin() + ValueTables::FlagsByteIndex,
                           imported.begin() + bandBytes))
        << "nothing past the bands of A changes";
}

TEST(EqPlan, GraphicModeSetsTheGainOfTheNearestFixedBandOnce)
{
    // 101 and 102 Hz are both nearest to the fourth band's 100 Hz (code 28).
    const EqPlan::Plan plan =
        EqPlan::MakePlan(EqText::ReadText(Filters(2, 1)), EqPlan::Mode::Graphic, {});
    EXPECT_EQ(std::tuple(plan.rows[0].band, plan.bands[3].frequency, plan.bands[3].q,
                         plan.bands[3].gain, plan.rows[1].notes.join("")),
              std::tuple(3, 28, 45, 24,
                         QStringLiteral("not imported: band 4 holds the filter of line 1")));
    const EqPlan::Plan top =
        EqPlan::MakePlan(EqText::ReadText(Filters(1, 19800)), EqPlan::Mode::Graphic, {});
    EXPECT_EQ(top.rows[0].band, ValueTables::BandsPerChannel - 1) << "19.9 kHz: the last band";
}

/// The analog peaking filter (s^2 + s A/Q + 1) / (s^2 + s/(A Q) + 1) at s = j f/fc, in dB.
double PeakingDb(double fc, double gainDb, double q, double hz)
{
    const double a = std::pow(10.0, gainDb / 40);
    const std::complex<double> s(0, hz / fc);
    return 20 * std::log10(std::abs((s * s + s * a / q + 1.0) / (s * s + s / (a * q) + 1.0)));
}

class EqApply : public ModelTest
{
};

TEST_F(EqApply, DifferenceIsTheLargestGapToTheProgramsOwnCurve)
{
    const char *given[][3] = {{"63", "-8", "4"}, {"240", "3", "1.2"}, {"3200", "-14", "5"}};
    QByteArray text;
    for (const auto &f : given)
        text += QStringLiteral("Filter: ON PK Fc %1 Hz Gain %2 dB Q %3\n")
                    .arg(f[0], f[1], f[2])
                    .toLatin1();
    const EqPlan::Plan plan =
        EqPlan::MakePlan(EqText::ReadText(text), EqPlan::Mode::Parametric, EqPlan::CurrentBands(0));
    ASSERT_TRUE(EqPlan::Apply(plan, EqPlan::Channels::A));
    double largest = 0;
    for (int x = 0; x < ModGraph::PointCount; ++x) {
        const double hz = ModGraph::PointFrequency(x);
        double target = 0;
        for (const auto &f : given)
            target += PeakingDb(std::atof(f[0]), std::atof(f[1]), std::atof(f[2]), hz);
        largest = std::max(largest, std::fabs(target - ModGraph::state.TotalCurve[0][x]));
    }
    EXPECT_NEAR(plan.curves.largestDifferenceDb, largest, 0.05);
}

TEST_F(EqApply, FilterOnTheTablesDiffersByHundredthsOfADecibel)
{
    const EqPlan::Plan plan =
        EqPlan::MakePlan(EqText::ReadText("Filter: ON PK Fc 1000 Hz Gain -3 dB Q 2\n"),
                         EqPlan::Mode::Parametric, {});
    EXPECT_LT(plan.curves.largestDifferenceDb, 0.02);
}

TEST_F(EqApply, LinkedGraphicUnitTakesItParametricAsOneUndoStep)
{
    ModFun::LoadDefaultImage(); // flat
    Image(ValueTables::FlagsByteIndex) = 3; // linked, graphic
    Refresh();
    const ModFun::Image before = ModFun::state.ParamImage;
    const EqPlan::Plan plan = EqPlan::MakePlan(EqText::ReadText(Filters(2, 100)),
                                               EqPlan::Mode::Parametric, EqPlan::CurrentBands(1));
    ASSERT_TRUE(EqPlan::Apply(plan, EqPlan::Channels::B));
    const auto &image = ModFun::state.ParamImage;
    const int bandBytes = ValueTables::BandsPerChannel * ValueTables::EqBandSize;
    EXPECT_EQ(std::tuple(serial.Commands(),
                         std::equal(image.begin(), image.begin() + bandBytes, image.begin() + 64),
                         ModFun::history().UndoText()),
              std::tuple(std::vector<int>{0x13, 0x05, 0x05}, true,
                         QStringLiteral("Undo CH.B EQ import")));
    ASSERT_TRUE(ModFun::history().Undo());
    EXPECT_EQ(ModFun::state.ParamImage, before);
}

} // namespace
