#include "graph/ui/GraphArea.h"

#include <cmath>

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "graph/GraphGeometry.h"

namespace {

constexpr int LevelLabelWidth = 30;
constexpr int PictureLeft = LevelLabelWidth + 6;
constexpr int PictureTop = 8;
constexpr int FrequencyLabelHeight = 16;
constexpr int LayerMarginX = BandMarker::Width / 2 + 2;
constexpr int LayerMarginY = BandMarker::Height / 2 + 2;

QLabel *AxisLabel(int index, const QString &caption, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label4_%1").arg(index));
    label->setAlignment(alignment);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x45, 0x4b, 0x52));
    label->setPalette(palette);
    return label;
}

} // namespace

BandMarker::BandMarker(const QString &name, const QString &caption, const QColor &colour,
                       QWidget *parent)
    : QWidget(parent), caption(caption), colour(colour)
{
    setObjectName(name);
    setFixedSize(Width, Height);
    setCursor(Qt::SizeAllCursor);
    setToolTip(QStringLiteral("Band %1").arg(caption));
}

void BandMarker::SetEdited(bool value)
{
    if (edited == value)
        return;
    edited = value;
    update();
}

void BandMarker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor fill = edited ? QColor(0xff, 0xd3, 0x3d) : colour.lighter(185);
    QColor faded = fill;
    faded.setAlpha(edited ? 245 : 215);
    painter.setPen(QPen(edited ? QColor(0x30, 0x30, 0x30) : colour.darker(115), 1));
    painter.setBrush(faded);
    painter.drawRoundedRect(box, 3, 3);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(0x1e, 0x1e, 0x1e));
    painter.drawText(rect(), Qt::AlignCenter, caption);
}

void BandMarker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(event->position());
}

void BandMarker::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        emit moved(event->position());
}

void BandMarker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit released();
}

GraphArea::GraphArea(int channel, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("GraphArea_%1").arg(channel));
    setFixedSize(PictureLeft + GraphPicture::Width + LayerMarginX,
                 PictureTop + GraphPicture::Height + 3 + FrequencyLabelHeight);
    AddLevelLabels(channel);
    AddFrequencyLabels(channel);
    picture = new GraphPicture(QStringLiteral("Picture1_%1").arg(channel), this);
    picture->move(PictureLeft, PictureTop);
    layer = new QWidget(this);
    layer->setObjectName(QStringLiteral("MarkerLayer_%1").arg(channel));
    layer->setGeometry(
        picture->geometry().adjusted(-LayerMarginX, -LayerMarginY, LayerMarginX, LayerMarginY));
    const int firstBand = channel * ValueTables::BandsPerChannel;
    for (int k = 0; k < ValueTables::BandsPerChannel; ++k) {
        markers[k] = new BandMarker(QStringLiteral("Label5_%1").arg(firstBand + k),
                                    QString::number(k + 1), ChannelColour(channel), layer);
    }
}

void GraphArea::AddLevelLabels(int channel)
{
    const char *captions[] = {"+30", "+20", "+10", " 0", "-10", "-20", "-30"};
    for (int k = 0; k < 7; ++k) {
        const int row = ModGraph::LevelToRow(30 - 10 * k);
        QLabel *label = AxisLabel(channel * LabelCount + k, QLatin1String(captions[k]),
                                  Qt::AlignRight | Qt::AlignVCenter, this);
        label->setGeometry(0, PictureTop + row - 8, LevelLabelWidth, 16);
    }
}

void GraphArea::AddFrequencyLabels(int channel)
{
    struct Mark
    {
        const char *caption;
        double hz;
    };
    const Mark marks[] = {{"20Hz", 20}, {"100Hz", 100}, {"1KHz", 1000}, {"10KHz", 10000}};
    const int top = PictureTop + GraphPicture::Height + 3;
    constexpr int Width = 60;
    for (int k = 0; k < 4; ++k) {
        const int column = static_cast<int>(std::lround(ModGraph::FrequencyToColumn(marks[k].hz)));
        const bool first = k == 0;
        QLabel *label = AxisLabel(channel * LabelCount + 7 + k, QLatin1String(marks[k].caption),
                                  (first ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop, this);
        const int left = first ? PictureLeft : PictureLeft + column - Width / 2;
        label->setGeometry(left, top, Width, FrequencyLabelHeight);
    }
}

void GraphArea::PlaceMarker(int k, double x, double y)
{
    // The marker's centre pixel goes on the pixel the hot spot falls in, where the curve runs.
    const auto pixel = [](double twips) {
        return static_cast<int>(std::lround(GraphGeometry::TwipsToPixels(twips)));
    };
    markers[k]->move(pixel(x) + LayerMarginX - BandMarker::Width / 2,
                     pixel(y) + LayerMarginY - BandMarker::Height / 2);
}

QPointF GraphArea::PictureTwips(const BandMarker *marker, const QPointF &position) const
{
    const QPointF inPicture = marker->mapTo(layer, position) - QPointF(LayerMarginX, LayerMarginY);
    return {GraphGeometry::PixelsToTwips(inPicture.x()),
            GraphGeometry::PixelsToTwips(inPicture.y())};
}

void GraphArea::ShowMarkers(bool shown)
{
    for (BandMarker *marker : markers)
        marker->setVisible(shown);
}
