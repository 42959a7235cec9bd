#include "report/ResponseDrawing.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSvgGenerator>

#include "graph/ModGraph.h"
#include "model/ValueTables.h"

namespace Report {

namespace {

constexpr double TopDb = 30;
constexpr double BottomDb = -30;

const QColor StepLine(0xe3, 0xe6, 0xea);
const QColor DecadeLine(0xb4, 0xba, 0xc2);
const QColor ZeroLine(0x7d, 0x86, 0x90);
const QColor Ink(0x30, 0x30, 0x30);

/// Where the graph's frame sits in `area` and how it maps frequency and level.
struct Plot
{
    QRectF frame;
    double fontPixels;

    double X(double hz) const
    {
        return frame.left() +
            frame.width() * std::log10(hz / ValueTables::LowestHz) /
            std::log10(ValueTables::HighestHz / ValueTables::LowestHz);
    }
    double Y(double db) const
    {
        return frame.top() + frame.height() * (TopDb - db) / (TopDb - BottomDb);
    }
};

Plot PlotIn(const QRectF &area)
{
    const double font = std::max({8.0, area.height() / 30, area.width() / 60});
    return {area.adjusted(4.5 * font, 1.0 * font, -2.5 * font, -2.2 * font), font};
}

QString FrequencyLabel(double hz)
{
    return hz >= 1000 ? QStringLiteral("%1 kHz").arg(hz / 1000) : QStringLiteral("%1 Hz").arg(hz);
}

QString LevelLabel(int db)
{
    return db > 0 ? QStringLiteral("+%1 dB").arg(db) : QStringLiteral("%1 dB").arg(db);
}

void DrawFrequencyAxis(QPainter &painter, const Plot &plot)
{
    const double width = plot.fontPixels * 6;
    for (double decade = 10; decade < ValueTables::HighestHz; decade *= 10) {
        for (int step = 1; step <= 9; ++step) {
            const double hz = step * decade;
            if (hz < ValueTables::LowestHz || hz > ValueTables::HighestHz)
                continue;
            const double x = plot.X(hz);
            painter.setPen(QPen(step == 1 ? DecadeLine : StepLine, 0));
            painter.drawLine(QPointF(x, plot.frame.top()), QPointF(x, plot.frame.bottom()));
        }
    }
    painter.setPen(Ink);
    for (double hz : {20.0, 100.0, 1000.0, 10000.0, 20000.0}) {
        const QRectF box(plot.X(hz) - width / 2, plot.frame.bottom() + plot.fontPixels * 0.4, width,
                         plot.fontPixels * 1.5);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, FrequencyLabel(hz));
    }
}

void DrawLevelAxis(QPainter &painter, const Plot &plot)
{
    for (int db = static_cast<int>(BottomDb); db <= TopDb; db += 5) {
        const double y = plot.Y(db);
        painter.setPen(QPen(db == 0 ? ZeroLine : (db % 10 == 0 ? DecadeLine : StepLine), 0));
        painter.drawLine(QPointF(plot.frame.left(), y), QPointF(plot.frame.right(), y));
        if (db % 10 != 0)
            continue;
        painter.setPen(Ink);
        const QRectF box(plot.frame.left() - plot.fontPixels * 4.3, y - plot.fontPixels,
                         plot.fontPixels * 4, plot.fontPixels * 2);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, LevelLabel(db));
    }
}

QPen ChannelPen(int channel, const Plot &plot)
{
    return QPen(QColor::fromRgb(ModGraph::ChannelRgb(channel)), plot.fontPixels / 7, Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin);
}

void DrawTotals(QPainter &painter, const Plot &plot, Channels channels)
{
    painter.save();
    painter.setClipRect(plot.frame);
    painter.setBrush(Qt::NoBrush);
    for (int channel = 0; channel < 2; ++channel) {
        if (!Includes(channels, channel))
            continue;
        const ModGraph::Curve &total = ModGraph::state.TotalCurve[channel];
        // Far outside the frame the level is held, so the clipped line keeps its slope there.
        const auto point = [&](int x) {
            return QPointF(plot.X(ModGraph::PointFrequency(x)),
                           plot.Y(std::clamp(total[x], 3 * BottomDb, 3 * TopDb)));
        };
        QPainterPath path(point(0));
        for (int x = 1; x < ModGraph::PointCount; ++x)
            path.lineTo(point(x));
        painter.setPen(ChannelPen(channel, plot));
        painter.drawPath(path);
    }
    painter.restore();
}

void DrawLegend(QPainter &painter, const Plot &plot, Channels channels)
{
    const double line = plot.fontPixels * 1.5;
    double y = plot.frame.top() + plot.fontPixels;
    const double x = plot.frame.right() - plot.fontPixels * 8;
    for (int channel = 0; channel < 2; ++channel) {
        if (!Includes(channels, channel))
            continue;
        painter.setPen(ChannelPen(channel, plot));
        painter.drawLine(QPointF(x, y), QPointF(x + plot.fontPixels * 2, y));
        painter.setPen(Ink);
        painter.drawText(QRectF(x + plot.fontPixels * 2.5, y - line / 2, plot.fontPixels * 6, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         channel == 0 ? QStringLiteral("Channel A") : QStringLiteral("Channel B"));
        y += line;
    }
}

QString Failure(const QString &path, const QString &why)
{
    return QStringLiteral("%1: %2").arg(path, why);
}

QString Commit(QSaveFile &file)
{
    return file.commit() ? QString() : Failure(file.fileName(), file.errorString());
}

QString WritePicture(QSaveFile &file, Format format, Channels channels)
{
    const QRect area(0, 0, PictureWidth, PictureHeight);
    if (format == Format::Png) {
        QImage image(area.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        DrawResponse(painter, area, channels);
        painter.end();
        if (!image.save(&file, "PNG"))
            return Failure(file.fileName(), QStringLiteral("the picture could not be written"));
        return Commit(file);
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(area.size());
    svg.setViewBox(area);
    svg.setTitle(QStringLiteral("MX-RF418 response"));
    QPainter painter(&svg);
    DrawResponse(painter, area, channels);
    painter.end();
    return Commit(file);
}

} // namespace

void DrawResponse(QPainter &painter, const QRectF &area, Channels channels)
{
    const Plot plot = PlotIn(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(plot.fontPixels));
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    DrawFrequencyAxis(painter, plot);
    DrawLevelAxis(painter, plot);
    DrawTotals(painter, plot, channels);
    painter.setPen(QPen(ZeroLine, 0));
    painter.drawRect(plot.frame);
    DrawLegend(painter, plot, channels);
    painter.restore();
}

std::optional<Format> FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    return std::nullopt;
}

QString WriteResponse(const QString &path, Channels channels, Points points)
{
    const std::optional<Format> format = FormatOf(path);
    if (!format)
        return Failure(path, QStringLiteral("the name must end in .csv, .png or .svg"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(path, file.errorString());
    if (*format != Format::Csv)
        return WritePicture(file, *format, channels);
    file.write(CsvText(ResponseTable(channels, points)));
    return Commit(file);
}

} // namespace Report
