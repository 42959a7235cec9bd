#pragma once

#include <array>
#include <vector>

#include "eqimport/EqText.h"
#include "model/ModFun.h"

/// The response of an imported EQ: the target (the filters as given, computed exactly) and what
/// the unit does with the snapped bands (the graph's own band curves), on a dense logarithmic grid
/// from 20 Hz to 20 kHz. Depends on graph (`ModGraph::BandShape`) and model.
namespace EqResponse {

using ChannelBands = std::array<ModFun::BandCodes, ValueTables::BandsPerChannel>;

/// Grid points per decade; 20 Hz and 20 kHz are the ends.
inline constexpr int PointsPerDecade = 400;

/// The grid's frequencies, rising.
const std::vector<double> &Frequencies();

/// An analog peaking filter (the prototype of the usual digital one, and symmetric in log
/// frequency as the graph's curves are): 10 log10 of
/// (d^2 + (A/Q)^2) / (d^2 + 1/(A Q)^2), d = f/fc - fc/f, A = 10^(gain/40).
double PeakingDb(double centreHz, double gainDb, double q, double hz);
/// The sum of the enabled peaking filters as given, every one of them, whether imported or not.
double TargetDb(const std::vector<EqText::Filter> &filters, double hz);
/// The sum of the bands' curves as the filter window draws them.
double UnitDb(const ChannelBands &bands, double hz);

struct Curves
{
    std::vector<double> target;
    std::vector<double> unit;
    double largestDifferenceDb = 0;
};

/// Both curves on the grid and their largest difference in dB.
Curves Compare(const std::vector<EqText::Filter> &filters, const ChannelBands &bands);

} // namespace EqResponse
