#pragma once

#include <optional>

#include <QRectF>
#include <QString>

#include "report/ResponseTable.h"

class QPainter;

/// The response graph drawn for a file or a page: a logarithmic frequency axis with decade
/// labels from 20 Hz to 20 kHz, a dB grid from -30 to +30 dB, each chosen channel's total from
/// the curve store in its colour (`ModGraph::ChannelRgb`) and a legend. Also the response files
/// by their suffix: CSV (`ResponseTable`), PNG and SVG of the graph.
namespace Report {

/// Width and height of the PNG and SVG pictures.
inline constexpr int PictureWidth = 1200;
inline constexpr int PictureHeight = 600;

void DrawResponse(QPainter &painter, const QRectF &area, Channels channels);

enum class Format { Csv, Png, Svg };

/// The format a file's suffix names (".csv", ".png", ".svg", any case).
std::optional<Format> FormatOf(const QString &path);

/// Writes the response in the format of the path's suffix; `points` counts for CSV only.
/// Answers why it could not, empty when the file was written whole.
QString WriteResponse(const QString &path, Channels channels, Points points);

} // namespace Report
