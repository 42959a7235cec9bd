#include "graph/ui/GraphPicture.h"

#include <algorithm>

#include <QPainter>
#include <QPolygonF>

namespace {

constexpr int LastRow = GraphPicture::Height - 1;
constexpr double LevelStepDb = 5;
/// Rows this far outside the picture are drawn as if there: the painter clips them, and the
/// raster engine's fixed-point coordinates stay far from overflowing.
constexpr double RowLimit = 1e5;

int Column(double hz)
{
    return ModGraph::RoundHalfEven(ModGraph::FrequencyToColumn(hz));
}

void DrawColumn(QPainter &painter, int column, const QColor &colour)
{
    painter.setPen(colour);
    painter.drawLine(column, 0, column, LastRow);
}

void DrawRow(QPainter &painter, int row, const QColor &colour)
{
    painter.setPen(colour);
    painter.drawLine(0, row, GraphPicture::Width - 1, row);
}

void DrawFrequencyGrid(QPainter &painter)
{
    const QColor step(0xe3, 0xe6, 0xea);
    const QColor decade(0xb4, 0xba, 0xc2);
    for (double decadeHz : {10.0, 100.0, 1000.0}) {
        for (int k = decadeHz == 10.0 ? 3 : 2; k <= 9; ++k)
            DrawColumn(painter, Column(decadeHz * k), step);
    }
    for (double hz : {100.0, 1000.0, 10000.0})
        DrawColumn(painter, Column(hz), decade);
}

void DrawLevelGrid(QPainter &painter)
{
    const QColor half(0xee, 0xf0, 0xf2);
    const QColor ten(0xc8, 0xcd, 0xd3);
    const QColor zero(0x7d, 0x86, 0x90);
    for (int k = -6; k <= 6; ++k) {
        const double level = k * LevelStepDb;
        const QColor &colour = k == 0 ? zero : (k % 2 == 0 ? ten : half);
        DrawRow(painter, std::clamp(ModGraph::LevelToRow(level), 0, LastRow), colour);
    }
}

QImage MakeGrid()
{
    QImage grid(GraphPicture::Width, GraphPicture::Height, QImage::Format_ARGB32_Premultiplied);
    grid.fill(QColor(0xfd, 0xfd, 0xfc));
    QPainter painter(&grid);
    DrawLevelGrid(painter);
    DrawFrequencyGrid(painter);
    painter.setPen(QColor(0x8a, 0x92, 0x9b));
    painter.drawRect(0, 0, GraphPicture::Width - 1, LastRow);
    return grid;
}

} // namespace

QColor ChannelColour(int channel)
{
    return QColor::fromRgb(ModGraph::ChannelRgb(channel));
}

GraphPicture::GraphPicture(const QString &name, QWidget *parent) : QWidget(parent), backing(Grid())
{
    setObjectName(name);
    setFixedSize(Width, Height);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage &GraphPicture::Grid()
{
    static const QImage grid = MakeGrid();
    return grid;
}

void GraphPicture::Clear()
{
    backing = Grid();
    update();
}

void GraphPicture::DrawCurve(const ModGraph::Curve &curve, const QColor &colour)
{
    // Pixel centres: the flat 0 dB line lands exactly on row 95.
    QPolygonF line;
    line.reserve(ModGraph::PointCount + 1);
    line << QPointF(-10 + 0.5, ModGraph::LevelToRow(0) + 0.5);
    for (int x = 0; x < ModGraph::PointCount; ++x) {
        const double row = std::clamp<double>(ModGraph::LevelToRow(curve[x]), -RowLimit, RowLimit);
        line << QPointF(x + 0.5, row + 0.5);
    }
    QPainter painter(&backing);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1));
    painter.drawPolyline(line);
    update();
}

void GraphPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, backing);
}
