#include "report/ResponseTable.h"

#include <cmath>

#include <QLocale>

#include "graph/ModGraph.h"
#include "model/ValueTables.h"

namespace Report {

namespace {

using ValueTables::BandsPerChannel;

constexpr int StepsPerOctave = 24;

QString ChannelLetter(int channel)
{
    return channel == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

enum class Kind { Total, Band, Filter };

/// The columns of one channel, each filled by `level(kind, index, point)` with the channel, the
/// band 0..29 or the filter 0..3 as index.
template<class Level>
void AddChannelColumns(Table &table, int channel, std::size_t pointCount, Level level)
{
    const QString letter = ChannelLetter(channel);
    const auto add = [&](const QString &name, Kind kind, int index) {
        Column column{letter + QLatin1Char('_') + name + QStringLiteral("_db"), {}};
        column.values.reserve(pointCount);
        for (std::size_t point = 0; point < pointCount; ++point)
            column.values.push_back(level(kind, index, point));
        table.columns.push_back(std::move(column));
    };
    add(QStringLiteral("total"), Kind::Total, channel);
    for (int k = 0; k < BandsPerChannel; ++k)
        add(QStringLiteral("band%1").arg(k + 1), Kind::Band, channel * BandsPerChannel + k);
    add(QStringLiteral("highpass"), Kind::Filter, 2 * channel);
    add(QStringLiteral("lowpass"), Kind::Filter, 2 * channel + 1);
}

double StoredLevel(Kind kind, int index, std::size_t point)
{
    const ModGraph::State &store = ModGraph::state;
    const ModGraph::Curve &curve = kind == Kind::Total ? store.TotalCurve[index]
        : kind == Kind::Band                           ? store.BandCurve[index]
                                                       : store.FilterCurve[index];
    return curve[point];
}

/// The same formulas as the curve store's, at any frequency.
double EvaluatedLevel(Kind kind, int index, double hz)
{
    if (kind == Kind::Total)
        return ModGraph::TotalLevelAt(index, hz);
    if (kind == Kind::Band)
        return ModGraph::BandShapeOf(index).LevelDb(hz, 1.0 / hz);
    return ModGraph::FilterLevel(ModGraph::FilterShapeOf(index), hz, 1.0 / hz);
}

QString NumberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

bool Includes(Channels channels, int channel)
{
    return channels == Channels::Both || (channels == Channels::A) == (channel == 0);
}

std::vector<double> TwentyFourthOctaveFrequencies()
{
    std::vector<double> frequencies;
    for (int k = 0;; ++k) {
        const double hz = ValueTables::LowestHz * std::exp2(k / double(StepsPerOctave));
        if (hz > ValueTables::HighestHz)
            return frequencies;
        frequencies.push_back(hz);
    }
}

Table ResponseTable(Channels channels, Points points)
{
    Table table;
    if (points == Points::Program) {
        for (int x = 0; x < ModGraph::PointCount; ++x)
            table.frequencies.push_back(ModGraph::PointFrequency(x));
    } else {
        table.frequencies = TwentyFourthOctaveFrequencies();
    }
    const std::vector<double> &hz = table.frequencies;
    const auto evaluated = [&hz](Kind kind, int index, std::size_t point) {
        return EvaluatedLevel(kind, index, hz[point]);
    };
    for (int channel = 0; channel < 2; ++channel) {
        if (!Includes(channels, channel))
            continue;
        if (points == Points::Program)
            AddChannelColumns(table, channel, hz.size(), StoredLevel);
        else
            AddChannelColumns(table, channel, hz.size(), evaluated);
    }
    return table;
}

QByteArray CsvText(const Table &table)
{
    QStringList header{QStringLiteral("frequency_hz")};
    for (const Column &column : table.columns)
        header << column.name;
    QString text = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (std::size_t point = 0; point < table.frequencies.size(); ++point) {
        text += NumberText(table.frequencies[point]);
        for (const Column &column : table.columns)
            text += QLatin1Char(',') + NumberText(column.values[point]);
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace Report
