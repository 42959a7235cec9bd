#include "shell/ui/UnitPicture.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

void DrawKnob(QPainter &painter, QPointF centre, qreal radius)
{
    painter.setBrush(QColor(70, 70, 76));
    painter.setPen(QPen(QColor(150, 150, 160), radius * 0.15));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(230, 230, 235), radius * 0.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(radius * 0.55, -radius * 0.55));
}

void DrawLeds(QPainter &painter, QRectF column)
{
    const QColor colours[] = {Qt::red, QColor(255, 128, 0), Qt::green, Qt::green, Qt::green};
    const qreal step = column.height() / 5;
    painter.setPen(Qt::NoPen);
    for (int k = 0; k < 5; ++k) {
        painter.setBrush(colours[k]);
        painter.drawRect(QRectF(column.left(), column.top() + k * step + step * 0.15,
                                column.width(), step * 0.7));
    }
}

} // namespace

void DrawUnitPicture(QPainter &painter, const QRectF &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal h = area.height();
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0, QColor(58, 60, 66));
    face.setColorAt(1, QColor(28, 29, 33));
    painter.setBrush(face);
    painter.setPen(QPen(QColor(120, 120, 130), h * 0.03));
    painter.drawRoundedRect(area, h * 0.08, h * 0.08);

    painter.setPen(QColor(235, 235, 240));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qMax(6, int(h * 0.22)));
    painter.setFont(font);
    painter.drawText(area.adjusted(h * 0.15, h * 0.1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("MX-RF418"));

    const qreal ledWidth = h * 0.1;
    DrawLeds(painter, QRectF(area.left() + h * 0.2, area.top() + h * 0.42, ledWidth, h * 0.45));
    DrawLeds(painter, QRectF(area.left() + h * 0.38, area.top() + h * 0.42, ledWidth, h * 0.45));
    // A narrow front (the icon) has room for fewer knobs: none may cover the LEDs.
    const qreal ledsEnd = area.left() + h * 0.38 + ledWidth;
    const qreal radius = h * 0.17;
    for (int k = 0; k < 3; ++k) {
        const QPointF centre(area.right() - h * 0.3 - k * radius * 2.8,
                             area.center().y() + h * 0.1);
        if (centre.x() - radius * 1.2 < ledsEnd)
            break;
        DrawKnob(painter, centre, radius);
    }
    painter.restore();
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        DrawUnitPicture(painter, QRectF(0, size * 0.2, size, size * 0.6));
        icon.addPixmap(pixmap);
    }
    return icon;
}
