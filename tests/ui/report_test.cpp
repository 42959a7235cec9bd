// The response table and its CSV against the curve store, the SVG drawing and the settings
// sheet's PDF read back, and the export dialog reached from the filter window.
#include <cmath>
#include <memory>

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QXmlStreamReader>

#include "EditorHarness.h"
#include "graph/ui/FrmFilter.h"
#include "report/ResponseDrawing.h"
#include "report/SettingsSheet.h"
#include "report/ui/FrmExport.h"

namespace {

using namespace ValueTables;
using Report::Channels;

void SetBand(int band, int gainCode, int frequencyIndex, int qCode)
{
    auto &image = ModFun::state.ParamImage;
    image[EqBandOffsets[band]] = static_cast<std::uint8_t>(gainCode);
    image[EqBandOffsets[band] + 1] = static_cast<std::uint8_t>(frequencyIndex);
    image[EqBandOffsets[band] + 2] = static_cast<std::uint8_t>(qCode);
}

QList<QStringList> CsvRows(const QByteArray &csv)
{
    QList<QStringList> rows;
    for (const QByteArray &line : csv.split('\n')) {
        if (!line.isEmpty())
            rows << QString::fromUtf8(line).split(QLatin1Char(','));
    }
    return rows;
}

/// The stroke colour of every path with one segment per curve point, every text and the number
/// of level lines.
struct SvgContent
{
    QStringList curveColours;
    QStringList texts;
    int levelLines = 0;
};

/// Whether a two-point polyline ("x1,y1 x2,y2 ") runs level.
bool IsLevel(QStringView points)
{
    const auto ends = points.split(u' ', Qt::SkipEmptyParts);
    return ends.size() == 2 && ends[0].split(u',').last() == ends[1].split(u',').last();
}

SvgContent ReadSvg(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader svg(&file);
    SvgContent content;
    QStringList strokes{QString()};
    while (!svg.atEnd()) {
        svg.readNext();
        if (svg.isEndElement() && svg.name() == QLatin1String("g"))
            strokes.removeLast();
        if (!svg.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = svg.attributes();
        if (svg.name() == QLatin1String("g"))
            strokes << attributes.value(QLatin1String("stroke")).toString();
        else if (svg.name() == QLatin1String("text"))
            content.texts << svg.readElementText();
        else if (svg.name() == QLatin1String("polyline"))
            content.levelLines += IsLevel(attributes.value(QLatin1String("points")));
        else if (svg.name() == QLatin1String("path") &&
                 attributes.value(QLatin1String("d")).count(QLatin1Char('L')) ==
                     ModGraph::LastPoint)
            content.curveColours << strokes.last();
    }
    return content;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<EditorHarness> harness;
    QTemporaryDir folder;

private slots:
    void init()
    {
        harness = std::make_unique<EditorHarness>();
        SetBand(1, 42, 24, 10); // A band 2: +6 dB at 80 Hz
        SetBand(26, 20, 72, 20); // B band 12: -5 dB at 1250 Hz
        ModFun::state.ParamImage[CrossoverOffsets[0]] = 12; // A high-pass 40 Hz,
        ModFun::state.ParamImage[CrossoverOffsets[0] + 1] = 2; // 12 dB/oct
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
    }

    void cleanup() { harness.reset(); }

    void csvOnProgramPointsIsTheCurveStore()
    {
        const auto rows = CsvRows(
            Report::CsvText(Report::ResponseTable(Channels::Both, Report::Points::Program)));
        QCOMPARE(rows.size(), ModGraph::PointCount + 1);
        const QStringList header = rows[0];
        QCOMPARE(header.size(), 37);
        QCOMPARE(header.mid(0, 4),
                 QStringList({"frequency_hz", "A_total_db", "A_band1_db", "A_band2_db"}));
        QCOMPARE(header.mid(16, 4),
                 QStringList({"A_band15_db", "A_highpass_db", "A_lowpass_db", "B_total_db"}));
        QCOMPARE(header[36], QStringLiteral("B_lowpass_db"));
        const ModGraph::State &store = ModGraph::state;
        int mismatches = 0;
        for (int x = 0; x < ModGraph::PointCount; ++x) {
            const QStringList &row = rows[x + 1];
            mismatches += row[0].toDouble() != ModGraph::PointFrequency(x);
            for (int c = 0; c < 2; ++c) {
                mismatches += row[1 + 18 * c].toDouble() != store.TotalCurve[c][x];
                for (int k = 0; k < 15; ++k)
                    mismatches += row[2 + 18 * c + k].toDouble() != store.BandCurve[15 * c + k][x];
                for (int f = 0; f < 2; ++f)
                    mismatches +=
                        row[17 + 18 * c + f].toDouble() != store.FilterCurve[2 * c + f][x];
            }
        }
        QCOMPARE(mismatches, 0);
    }

    void csvOnOctavePointsEvaluatesEachTwentyFourthOfAnOctave()
    {
        const auto rows = CsvRows(Report::CsvText(
            Report::ResponseTable(Channels::A, Report::Points::TwentyFourthOctave)));
        QCOMPARE(rows.size(), 241);
        QCOMPARE(rows[0].size(), 19);
        QCOMPARE(rows[1][0], QStringLiteral("20"));
        QCOMPARE(rows[25][0], QStringLiteral("40"));
        QCOMPARE(rows[49][0], QStringLiteral("80"));
        const double last = rows[240][0].toDouble();
        QVERIFY(last < 20000 && last * std::exp2(1 / 24.0) > 20000);
        // A band at its centre gives its gain; a Butterworth section at its corner 3 dB less.
        QCOMPARE(rows[49][3], QStringLiteral("6"));
        QVERIFY(std::fabs(rows[25][17].toDouble() + 10 * std::log10(2.0)) < 1e-12);
    }

    void svgDrawsTheChosenChannelsOnLabelledAxes_data()
    {
        QTest::addColumn<Channels>("channels");
        QTest::addColumn<QStringList>("colours");
        QTest::newRow("A") << Channels::A << QStringList{"#ff0000"};
        QTest::newRow("B") << Channels::B << QStringList{"#0000ff"};
        QTest::newRow("both") << Channels::Both << QStringList{"#ff0000", "#0000ff"};
    }

    void svgDrawsTheChosenChannelsOnLabelledAxes()
    {
        QFETCH(Channels, channels);
        QFETCH(QStringList, colours);
        const QString path = folder.filePath(QStringLiteral("response.svg"));
        QCOMPARE(Report::WriteResponse(path, channels, Report::Points::Program), QString());
        const SvgContent svg = ReadSvg(path);
        QCOMPARE(svg.curveColours, colours);
        QCOMPARE(svg.texts.filter(QStringLiteral("Channel ")).size(), colours.size()); // legend
        QCOMPARE(svg.levelLines, 13 + colours.size()); // each 5 dB, and each legend entry
        for (const char *label :
             {"20 Hz", "100 Hz", "1 kHz", "10 kHz", "20 kHz", "+30 dB", "0 dB", "-30 dB"})
            QVERIFY2(svg.texts.contains(QLatin1String(label)), label);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().contains("font-size=\"20\""), "labels scaled to the picture");
    }

    void pdfSheetHoldsTheFactsAndEverySettingOfBothChannels()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is missing: the PDF's text cannot be read back");
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        const Report::SheetFacts facts{QStringLiteral("Preset : P18 - Stage"),
                                       QStringLiteral("demo"),
                                       QDateTime(QDate(2026, 5, 4), QTime(9, 30))};
        QCOMPARE(Report::WriteSheetPdf(path, facts), QString());
        QProcess reader;
        reader.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY(reader.waitForFinished());
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        for (const char *expected :
             {"Preset : P18 - Stage", "2026-05-04 09:30", "Unit +demo", "Channel A +Channel B",
              "High-pass filter +40 Hz, -12dB/oct", "Mute +off +Mute +off", "Delay +0 ms ",
              "Band +Frequency +Gain +Q", "\\b2 +80 Hz +6 dB +0\\.9\\b",
              "\\b12 +1250 Hz +-5 dB +1\\.8\\b"})
            QVERIFY2(text.contains(QRegularExpression(QLatin1String(expected))), expected);
    }

    void exportButtonOfTheFilterWindowSavesTheChosenFormat()
    {
        harness->messages.ChooseFile(folder.filePath(QStringLiteral("response")));
        FrmFilter window;
        window.show();
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<FrmExport *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            Named<QComboBox>(*dialog, QStringLiteral("ComboFormat"))->setCurrentIndex(1);
            Named<QRadioButton>(*dialog, QStringLiteral("OptionChannel2"))->setChecked(true);
            Named<QPushButton>(*dialog, QStringLiteral("CommandSave"))->click();
        });
        Named<QToolButton>(window, QStringLiteral("CommandExport"))->click();
        QCOMPARE(harness->messages.fileRequests.at(0).filter,
                 QStringLiteral("PNG picture (*.png)"));
        const QImage picture(folder.filePath(QStringLiteral("response.png")));
        QCOMPARE(picture.size(), QSize(Report::PictureWidth, Report::PictureHeight));
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
