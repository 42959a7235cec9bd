#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include "graph/ModGraph.h"

/// The colour of a channel's curve, on whichever picture it is drawn: A red, B blue.
QColor ChannelColour(int channel);

/// One channel's response picture `Picture1` (576 x 192 pixels): a fixed grid with the channel's
/// total drawn over it, and optionally the other channel's total over that. Column x is curve
/// point x; row = level mapped by `ModGraph::LevelToRow` (0 dB row 95, +-30 dB rows 0 and 191);
/// anything outside is clipped by the picture. Each drawing goes into a backing image and asks
/// for one repaint.
class GraphPicture : public QWidget
{
public:
    static constexpr int Width = ModGraph::PointCount;
    static constexpr int Height = 192;

    GraphPicture(const QString &name, QWidget *parent);

    /// Clears the picture to its grid.
    void Clear();
    /// Draws a total as a polyline entering from (-10, 95), just outside the left edge on the
    /// 0 dB row; the pen then runs through every point.
    void DrawCurve(const ModGraph::Curve &curve, const QColor &colour);

    /// What the picture shows now.
    const QImage &Image() const { return backing; }

    /// The grid every picture starts from: decades and their 2..9 steps, rows every 10 dB with
    /// fainter 5 dB rows and a stronger 0 dB row.
    static const QImage &Grid();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage backing;
};
