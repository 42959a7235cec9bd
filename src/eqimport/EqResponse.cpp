#include "eqimport/EqResponse.h"

#include <cmath>

#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"

namespace EqResponse {

const std::vector<double> &Frequencies()
{
    static const std::vector<double> grid = [] {
        const int last = static_cast<int>(std::lround(
            PointsPerDecade * std::log10(ValueTables::HighestHz / ValueTables::LowestHz)));
        std::vector<double> points;
        for (int k = 0; k <= last; ++k)
            points.push_back(ValueTables::LowestHz *
                             std::pow(10.0, static_cast<double>(k) / PointsPerDecade));
        return points;
    }();
    return grid;
}

double PeakingDb(double centreHz, double gainDb, double q, double hz)
{
    const double a = std::pow(10.0, gainDb / 40);
    const double d = hz / centreHz - centreHz / hz;
    const double d2 = d * d;
    return 10 * std::log10((d2 + a * a / (q * q)) / (d2 + 1 / (a * a * q * q)));
}

double TargetDb(const std::vector<EqText::Filter> &filters, double hz)
{
    double sum = 0;
    for (const EqText::Filter &filter : filters) {
        if (filter.skipped.isEmpty())
            sum += PeakingDb(filter.frequencyHz, filter.gainDb, filter.q, hz);
    }
    return sum;
}

double UnitDb(const ChannelBands &bands, double hz)
{
    double sum = 0;
    for (const ModFun::BandCodes &band : bands) {
        const ModGraph::BandShape shape(FilterEdit::GainOfIndex(band.gain),
                                        ValueTables::At(ValueTables::FreqTable, band.frequency),
                                        band.q);
        sum += shape.LevelDb(hz, 1 / hz);
    }
    return sum;
}

Curves Compare(const std::vector<EqText::Filter> &filters, const ChannelBands &bands)
{
    Curves curves;
    for (const double hz : Frequencies()) {
        curves.target.push_back(TargetDb(filters, hz));
        curves.unit.push_back(UnitDb(bands, hz));
        curves.largestDifferenceDb = std::max(curves.largestDifferenceDb,
                                              std::fabs(curves.target.back() - curves.unit.back()));
    }
    return curves;
}

} // namespace EqResponse
