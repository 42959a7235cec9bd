#include "eqimport/ui/EqImportGraph.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Margin = 30;
constexpr std::array<double, 3> DecadeLines{100, 1000, 10000};

} // namespace

EqImportGraph::EqImportGraph(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EqImportGraph"));
    setMinimumSize(420, 200);
}

void EqImportGraph::SetCurves(EqResponse::Curves shown)
{
    curves = std::move(shown);
    double largest = 0;
    for (const auto *levels : {&curves.target, &curves.unit}) {
        for (const double level : *levels)
            largest = std::max(largest, std::fabs(level));
    }
    spanDb = std::max(15.0, 5 * std::ceil(std::min(largest, 100.0) / 5));
    update();
}

QPointF EqImportGraph::Point(std::size_t index, double levelDb) const
{
    const auto last = std::max<std::size_t>(EqResponse::Frequencies().size() - 1, 1);
    const double width = this->width() - 2 * Margin;
    const double height = this->height() - 2 * Margin;
    const double level = std::clamp(levelDb, -spanDb, spanDb);
    return {Margin + width * static_cast<double>(index) / static_cast<double>(last),
            Margin + height * (spanDb - level) / (2 * spanDb)};
}

void EqImportGraph::DrawGrid(QPainter &painter) const
{
    const auto &grid = EqResponse::Frequencies();
    painter.setPen(QColor(200, 200, 200));
    for (const double hz : DecadeLines) {
        const auto at = std::lower_bound(grid.begin(), grid.end(), hz - 0.5) - grid.begin();
        const QPointF top = Point(static_cast<std::size_t>(at), spanDb);
        painter.drawLine(top, Point(static_cast<std::size_t>(at), -spanDb));
        painter.drawText(QPointF(top.x() - 12, height() - Margin / 3.0),
                         hz < 1000 ? QStringLiteral("%1 Hz").arg(hz)
                                   : QStringLiteral("%1 kHz").arg(hz / 1000));
    }
    for (const double level : {spanDb, 0.0, -spanDb}) {
        const QPointF left = Point(0, level);
        painter.drawLine(left, Point(grid.size() - 1, level));
        painter.drawText(QPointF(2, left.y() + 4), QString::number(level));
    }
}

void EqImportGraph::DrawCurve(QPainter &painter, const std::vector<double> &levels,
                              const QColor &colour, const QString &name, int legendRow) const
{
    QPainterPath path;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i == 0)
            path.moveTo(Point(i, levels[i]));
        else
            path.lineTo(Point(i, levels[i]));
    }
    painter.setPen(QPen(colour, 2));
    painter.drawPath(path);
    painter.drawText(QPointF(width() - Margin - 60, Margin + 14 * legendRow), name);
}

void EqImportGraph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawGrid(painter);
    DrawCurve(painter, curves.target, QColor(30, 60, 200), QStringLiteral("target"), 1);
    DrawCurve(painter, curves.unit, QColor(230, 120, 0), QStringLiteral("unit"), 2);
}
