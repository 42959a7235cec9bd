#pragma once

#include <array>

#include <QColor>
#include <QWidget>

#include "graph/ui/GraphPicture.h"
#include "model/ValueTables.h"

/// A band's marker `Label5` on the graph, captioned with the band number; the hot spot (the
/// band's point on the graph) is its centre. It reports the left button's press, moves and
/// release with the pointer in its own pixels.
class BandMarker : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Width = 19;
    static constexpr int Height = 15;

    BandMarker(const QString &name, const QString &caption, const QColor &colour, QWidget *parent);

    /// Marks the band being edited.
    void SetEdited(bool edited);
    bool IsEdited() const { return edited; }

signals:
    void pressed(QPointF position);
    void moved(QPointF position);
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString caption;
    QColor colour;
    bool edited = false;
};

/// The graph of one channel tab: the picture `Picture1`, its axis captions `Label4` and the
/// 15 band markers of the channel on a transparent layer over the picture that reaches past
/// its edges, so a marker at 20 Hz or 20 kHz is whole.
class GraphArea : public QWidget
{
public:
    static constexpr int LabelCount = 11;

    GraphArea(int channel, QWidget *parent);

    GraphPicture *Picture() const { return picture; }
    BandMarker *Marker(int k) const { return markers[k]; }

    /// Puts marker k's hot spot on (x, y), in twips of the picture.
    void PlaceMarker(int k, double x, double y);
    /// A point given in a marker's pixels, in twips of the picture.
    QPointF PictureTwips(const BandMarker *marker, const QPointF &position) const;
    void ShowMarkers(bool shown);

private:
    void AddLevelLabels(int channel);
    void AddFrequencyLabels(int channel);

    GraphPicture *picture;
    QWidget *layer;
    std::array<BandMarker *, ValueTables::BandsPerChannel> markers{};
};
