#pragma once

#include <array>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "editors/Meters.h"

/// One LED-style bar of seven segments `Shape1_<7 * bar + k>`, k = 0 at the bottom.
class MeterBar : public QWidget
{
    Q_OBJECT
public:
    MeterBar(int bar, QWidget *parent);
    void SetColours(const Meters::BarColours &colours);

private:
    std::array<QFrame *, Meters::SegmentsPerBar> segments{};
};

/// A meter frame: its title, an optional caption over the scale, the scale captions (top first)
/// and the bars of channels A and B.
class MeterFrame : public QGroupBox
{
    Q_OBJECT
public:
    MeterFrame(const QString &name, const QString &title, const QString &caption,
               const QStringList &scale, int firstBar, QWidget *parent);
    MeterBar *Bar(int channel) const { return bars[channel]; }

private:
    std::array<MeterBar *, 2> bars{};
};

/// A label that reports a click; the block captions, the mute pictures and the version label.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    ClickableLabel(const QString &name, QWidget *parent);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

/// A loudspeaker, clear for the unmuted channel, crossed out in red for the muted one.
QPixmap SpeakerPicture(bool muted);
