#pragma once

#include <QWidget>

#include "eqimport/EqResponse.h"

/// The small graph of the EQ import preview: the target curve (the filters as given) and the
/// unit's curve (the snapped bands) from 20 Hz to 20 kHz, on a level scale wide enough for both.
class EqImportGraph : public QWidget
{
    Q_OBJECT
public:
    explicit EqImportGraph(QWidget *parent = nullptr);

    void SetCurves(EqResponse::Curves shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointF Point(std::size_t index, double levelDb) const;
    void DrawGrid(QPainter &painter) const;
    void DrawCurve(QPainter &painter, const std::vector<double> &levels, const QColor &colour,
                   const QString &name, int legendRow) const;

    EqResponse::Curves curves;
    /// The level at the top of the plot; the bottom is its negative.
    double spanDb = 15;
};
