#include "editors/ui/ThresholdPicture.h"

#include <QPainter>

#include "editors/EditorValues.h"

ThresholdPicture::ThresholdPicture(QWidget *parent) : QWidget(parent)
{
    setFixedSize(150, 150);
}

void ThresholdPicture::ShowThreshold(double threshold, const QColor &colour)
{
    thresholdDb = threshold;
    lineColour = colour;
    update();
}

void ThresholdPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF area = rect();
    painter.fillRect(area, Qt::white);
    painter.setPen(QPen(QColor(220, 220, 220), 1, Qt::DotLine));
    for (int k = 1; k < 4; ++k) {
        painter.drawLine(QPointF(area.width() * k / 4, 0),
                         QPointF(area.width() * k / 4, area.height()));
        painter.drawLine(QPointF(0, area.height() * k / 4),
                         QPointF(area.width(), area.height() * k / 4));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = area.width();
    const double h = area.height();
    const QPointF corner = EditorValues::ThresholdCorner(thresholdDb, w, h);
    painter.setPen(QPen(lineColour, 2));
    painter.drawLine(QPointF(0, h), corner);
    painter.drawLine(corner, QPointF(w, corner.y()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}
