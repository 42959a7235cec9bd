#include "editors/ui/MeterWidgets.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QVBoxLayout>

namespace {

constexpr int SegmentWidth = 14;
constexpr int SegmentHeight = 11;
constexpr int SegmentGap = 3;
constexpr int PictureSize = 34;

/// The lit colours of the segments; `Off` is the button face.
QColor ColourOf(Meters::Colour colour)
{
    switch (colour) {
    case Meters::Colour::Green:
        return QColor(0, 255, 0);
    case Meters::Colour::Orange:
        return QColor(255, 128, 0);
    case Meters::Colour::Red:
        return QColor(255, 0, 0);
    case Meters::Colour::Yellow:
        return QColor(255, 255, 0);
    case Meters::Colour::Off:
        break;
    }
    return QApplication::palette().color(QPalette::Button);
}

QLabel *SmallLabel(const QString &text, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

} // namespace

MeterBar::MeterBar(int bar, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(SegmentGap);
    for (int k = Meters::SegmentsPerBar - 1; k >= 0; --k) {
        auto *segment = new QFrame(this);
        segment->setObjectName(QStringLiteral("Shape1_%1").arg(Meters::SegmentsPerBar * bar + k));
        segment->setFrameShape(QFrame::Box);
        segment->setFixedSize(SegmentWidth, SegmentHeight);
        segment->setAutoFillBackground(true);
        segments[k] = segment;
        layout->addWidget(segment);
    }
    SetColours({});
}

void MeterBar::SetColours(const Meters::BarColours &colours)
{
    for (int k = 0; k < Meters::SegmentsPerBar; ++k) {
        QPalette palette = segments[k]->palette();
        palette.setColor(QPalette::Window, ColourOf(colours[k]));
        segments[k]->setPalette(palette);
    }
}

MeterFrame::MeterFrame(const QString &name, const QString &title, const QString &caption,
                       const QStringList &scale, int firstBar, QWidget *parent)
    : QGroupBox(title, parent)
{
    setObjectName(name);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(SegmentGap);
    if (!caption.isEmpty())
        grid->addWidget(SmallLabel(caption, Qt::AlignLeft, this), 0, 0, 1, 3);
    // The scale captions sit level with the segments; the bars span all seven rows.
    for (int row = 0; row < scale.size(); ++row) {
        auto *mark = SmallLabel(scale[row], Qt::AlignRight | Qt::AlignVCenter, this);
        mark->setFixedHeight(SegmentHeight);
        grid->addWidget(mark, 1 + row, 0);
    }
    for (int channel = 0; channel < 2; ++channel) {
        bars[channel] = new MeterBar(firstBar + channel, this);
        grid->addWidget(bars[channel], 1, 1 + channel, Meters::SegmentsPerBar, 1);
        grid->addWidget(SmallLabel(channel == 0 ? QStringLiteral("A") : QStringLiteral("B"),
                                   Qt::AlignHCenter, this),
                        1 + Meters::SegmentsPerBar, 1 + channel);
    }
}

ClickableLabel::ClickableLabel(const QString &name, QWidget *parent) : QLabel(parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click may end with the panel gone, this label with it (the link to the unit was lost).
    const QPointer<ClickableLabel> self(this);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    if (self)
        QLabel::mouseReleaseEvent(event);
}

QPixmap SpeakerPicture(bool muted)
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = PictureSize;
    QPainterPath speaker;
    speaker.moveTo(0.12 * s, 0.38 * s);
    speaker.lineTo(0.28 * s, 0.38 * s);
    speaker.lineTo(0.50 * s, 0.18 * s);
    speaker.lineTo(0.50 * s, 0.82 * s);
    speaker.lineTo(0.28 * s, 0.62 * s);
    speaker.lineTo(0.12 * s, 0.62 * s);
    speaker.closeSubpath();
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(muted ? QColor(150, 150, 150) : QColor(60, 60, 60));
    painter.drawPath(speaker);
    if (muted) {
        painter.setPen(QPen(QColor(220, 0, 0), 0.09 * s, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0.60 * s, 0.34 * s), QPointF(0.88 * s, 0.66 * s));
        painter.drawLine(QPointF(0.60 * s, 0.66 * s), QPointF(0.88 * s, 0.34 * s));
    } else {
        painter.setPen(QPen(QColor(0, 150, 0), 0.06 * s, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        for (int wave = 0; wave < 2; ++wave) {
            const qreal r = (0.16 + 0.14 * wave) * s;
            painter.drawArc(QRectF(0.50 * s - r, 0.5 * s - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
        }
    }
    return picture;
}
