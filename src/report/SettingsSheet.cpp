#include "report/SettingsSheet.h"

#include <utility>
#include <vector>

#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonObject>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingJson.h"
#include "model/ValueTables.h"
#include "report/ResponseDrawing.h"
#include "shell/AppInfo.h"
#include "shell/ModCountry.h"

namespace Report {

namespace {

using ModCountry::NumberText;
using RowList = std::vector<std::pair<QString, QString>>;

constexpr double MarginMm = 15;
constexpr int PdfDpi = 300;
/// Parts of the page width: the graph's height, a row's value column, the band table's columns.
constexpr double GraphHeight = 0.42;
constexpr double ValueColumn = 0.19;
constexpr double BandColumns[] = {0, 0.07, 0.21, 0.32};

QString OnOff(const QJsonValue &value)
{
    return value.toBool() || value.toInt() != 0 ? QStringLiteral("on") : QStringLiteral("off");
}

QString WithUnit(const QJsonValue &value, const char *unit)
{
    return NumberText(value.toDouble()) + QLatin1Char(' ') + QLatin1String(unit);
}

QString FilterText(const QJsonObject &filter)
{
    return WithUnit(filter[QStringLiteral("frequencyHz")], "Hz") + QStringLiteral(", ") +
        filter[QStringLiteral("slope")].toString();
}

RowList CommonRows(const SheetFacts &facts, const QJsonObject &setting)
{
    return {{QStringLiteral("Preset"), facts.preset},
            {QStringLiteral("Date"), facts.made.toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
            {QStringLiteral("Unit"), facts.unit},
            {QStringLiteral("Equaliser"), setting[QStringLiteral("eqMode")].toString()},
            {QStringLiteral("Channel link"), OnOff(setting[QStringLiteral("link")])}};
}

RowList ChannelRows(int channel, const QJsonObject &setting)
{
    const QJsonObject gate = setting[QStringLiteral("gate")].toObject();
    const QJsonObject limiter = setting[QStringLiteral("limiter")].toObject();
    const bool metres = ModFun::state.DelayInMetres == 1.0;
    return {
        {QStringLiteral("Mute"), OnOff(setting[QStringLiteral("mute")])},
        {QStringLiteral("Delay"),
         NumberText(ModFun::DelayShown(channel)) +
             ValueTables::NameAt(ValueTables::DelayUnitNames, metres)},
        {QStringLiteral("Noise gate"), OnOff(gate[QStringLiteral("enabled")])},
        {QStringLiteral("Gate threshold"), WithUnit(gate[QStringLiteral("thresholdDb")], "dB")},
        {QStringLiteral("Gate release"), WithUnit(gate[QStringLiteral("releaseMs")], "ms")},
        {QStringLiteral("Gate attack"), WithUnit(gate[QStringLiteral("attackS")], "s")},
        {QStringLiteral("Limiter threshold"),
         WithUnit(limiter[QStringLiteral("thresholdDb")], "dB")},
        {QStringLiteral("Limiter release"), WithUnit(limiter[QStringLiteral("releaseMs")], "ms")},
        {QStringLiteral("Limiter attack"), WithUnit(limiter[QStringLiteral("attackMs")], "ms")},
        {QStringLiteral("High-pass filter"),
         FilterText(setting[QStringLiteral("highPass")].toObject())},
        {QStringLiteral("Low-pass filter"),
         FilterText(setting[QStringLiteral("lowPass")].toObject())},
    };
}

/// Writes rows of text down the page from `y`, one line each.
class Writer
{
public:
    Writer(QPainter &painter, double width) : painter(painter), width(width) { }

    void SetFont(int points, bool bold)
    {
        QFont font = painter.font();
        font.setPointSize(points);
        font.setBold(bold);
        // Without ligatures the PDF's text reads back (and is found) letter by letter.
        font.setStyleStrategy(QFont::PreferNoShaping);
        painter.setFont(font);
        line = QFontMetricsF(font, painter.device()).lineSpacing() * 1.15;
    }
    /// Texts at the given parts of the page width from `x`, on one line.
    void Line(double x, const QStringList &texts, const double *columns)
    {
        for (qsizetype k = 0; k < texts.size(); ++k)
            painter.drawText(QRectF(x + columns[k] * width, y, width / 2, line),
                             Qt::AlignLeft | Qt::AlignVCenter, texts[k]);
        y += line;
    }
    void Rows(double x, const RowList &rows)
    {
        static constexpr double Columns[] = {0, ValueColumn};
        for (const auto &[label, value] : rows)
            Line(x, {label, value}, Columns);
    }
    void Skip(double lines) { y += lines * line; }

    QPainter &painter;
    double width;
    double y = 0;
    double line = 0;
};

void PaintChannel(Writer &writer, int channel, const QJsonObject &setting, double top)
{
    static constexpr double Left[] = {0};
    const double x = channel * writer.width / 2;
    writer.y = top;
    writer.SetFont(12, true);
    writer.Line(x, {channel == 0 ? QStringLiteral("Channel A") : QStringLiteral("Channel B")},
                Left);
    writer.SetFont(10, false);
    writer.Rows(x, ChannelRows(channel, setting));
    writer.Skip(0.5);
    writer.SetFont(10, true);
    writer.Line(x,
                {QStringLiteral("Band"), QStringLiteral("Frequency"), QStringLiteral("Gain"),
                 QStringLiteral("Q")},
                BandColumns);
    writer.SetFont(10, false);
    const QJsonArray bands = setting[QStringLiteral("eq")].toArray();
    for (qsizetype k = 0; k < bands.size(); ++k) {
        const QJsonObject band = bands[k].toObject();
        writer.Line(x,
                    {QString::number(k + 1), WithUnit(band[QStringLiteral("frequencyHz")], "Hz"),
                     WithUnit(band[QStringLiteral("gainDb")], "dB"),
                     NumberText(band[QStringLiteral("q")].toDouble())},
                    BandColumns);
    }
}

} // namespace

QString ConnectedUnitText()
{
    return QLatin1String(ModFun::ModelName) + QStringLiteral(", firmware ") +
        AppInfo::state.FirmwareVersion;
}

SheetFacts CurrentSheetFacts()
{
    const ModFun::State &model = ModFun::state;
    QString preset = model.PresetTitle.isEmpty() ? QStringLiteral("unknown") : model.PresetTitle;
    // The row is headed "Preset" already; a file is named as one.
    if (!model.PresetTitle.isEmpty() && model.PresetSource == QLatin1String("File"))
        preset = QStringLiteral("File : ") + preset;
    QString unit = QStringLiteral("not connected");
    if (ModTxRx::state.DemoMode)
        unit = QStringLiteral("demo");
    else if (PanelFlags::state.PanelOpen)
        unit = ConnectedUnitText();
    return {preset, unit, QDateTime::currentDateTime()};
}

void PaintSheet(QPainter &painter, const SheetFacts &facts)
{
    const QJsonObject setting = SettingJson::ToJson(ModFun::state.ParamImage);
    Writer writer(painter, painter.device()->width());
    writer.SetFont(16, true);
    writer.Line(0, {QLatin1String(ModFun::ModelName) + QStringLiteral(" settings sheet")},
                BandColumns);
    writer.Skip(0.3);
    writer.SetFont(10, false);
    writer.Rows(0, CommonRows(facts, setting));
    writer.Skip(0.5);
    const QRectF graph(0, writer.y, writer.width, writer.width * GraphHeight);
    DrawResponse(painter, graph, Channels::Both);
    writer.y = graph.bottom();
    writer.Skip(0.5);
    const double top = writer.y;
    for (int channel = 0; channel < 2; ++channel)
        PaintChannel(writer, channel,
                     setting[channel == 0 ? QStringLiteral("A") : QStringLiteral("B")].toObject(),
                     top);
}

QString WriteSheetPdf(const QString &path, const SheetFacts &facts)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                           QPageLayout::Millimeter);
        pdf.setResolution(PdfDpi);
        pdf.setTitle(QLatin1String(ModFun::ModelName) + QStringLiteral(" settings sheet"));
        pdf.setCreator(QStringLiteral("MX-RF418 Remote Control ") +
                       QLatin1String(AppInfo::SoftwareVersion));
        QPainter painter(&pdf);
        PaintSheet(painter, facts);
    }
    if (!file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

} // namespace Report
