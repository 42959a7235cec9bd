#pragma once

#include <array>
#include <functional>

/// Response curves of both channels on a logarithmic grid of 576 points from 20 Hz to 20 kHz:
/// one curve per equaliser band and per crossover filter, and each channel's total, computed from
/// the values the parameter model derives (`ModFun::state.BandGainDb` ...). A display aid only:
/// nothing here is sent to the unit. Depends on model.
namespace ModGraph {

inline constexpr int PointCount = 576;
inline constexpr int LastPoint = PointCount - 1;

using Curve = std::array<double, PointCount>;

/// Grid points per decade: 575 / (Log10(20000) - Log10(20)), that is 575 / 3.
double GridPointsPerDecade();

struct State
{
    /// Inputs, written by the parameter model and the editors. Band b < 15 is channel A band
    /// b + 1, else channel B band b - 14; filters are A high-pass, A low-pass, B high, B low.
    std::array<double, 30> BandGainDb{};
    std::array<double, 30> BandFreqHz{};
    /// The band's index into `QTable`, held as a number.
    std::array<double, 30> BandQCode{};
    std::array<double, 4> CrossoverFreqHz{};
    /// 0 bypass, 1 first order, 2 second order; any other value leaves the filter's curve as it is.
    std::array<double, 4> CrossoverSlope{};

    std::array<Curve, 30> BandCurve{};
    std::array<Curve, 4> FilterCurve{};
    std::array<Curve, 2> TotalCurve{};

    /// The filter window is shown: only then is anything drawn.
    bool FilterEditorShown = false;
    /// Lowered while many curves are rebuilt in a row, so each picture is drawn once.
    bool CurveDrawEnabled = true;
    /// Nothing is drawn while this is exactly 1.
    int GraphFrozen = 0;
    double GraphXScale = GridPointsPerDecade();
};

extern State state;

/// Clears curves and flags and unregisters the redraw hook; the curves follow the model
/// (`FollowModel`).
void Reset();

/// Registers with the parameter model what rebuilds a curve, so that its transfers (whole state,
/// link copy, channel copy) keep the curves in line with the image.
void FollowModel();

/// ln(x) / ln(10).
double Log10(double x);

/// Frequency of grid point x (0..575): 20 * 10^(x / GraphXScale); 20 Hz and 20 kHz at the ends.
double PointFrequency(int x);

/// The divisor of the effective Q for a band gain: looked up from |gain| in 0.1 dB steps
/// (0.1..15.0, compared exactly); 1.0 for 0 and for any gain no step matches.
double QDivisor(double gainDb);
/// The 30 divisors, one per 0.5 dB range (0.1-0.5 dB first).
extern const std::array<double, 30> Divisors;

/// A band's curve as the graph draws it: gain / (1 + Q'^2 (fc/f - f/fc)^2) in dB, with the
/// effective Q' = (Q + 0.1) / `QDivisor`(gain).
struct BandShape
{
    BandShape(double gainDb, double centreHz, double qCode);
    /// The level at `hz`, given with its inverse (the grid keeps both).
    double LevelDb(double hz, double inverseHz) const
    {
        const double detune = centreHz * inverseHz - hz * inverseCentre;
        return gainDb / (1.0 + qSquared * detune * detune);
    }

    double gainDb;
    double centreHz;
    double inverseCentre;
    double qSquared;
};

/// -10 * log10(1 + r) for r >= 0, in plain double arithmetic (no library call), within a few
/// units in the last place; the attenuation of a Butterworth section at power ratio r.
double AttenuationDb(double r);

/// Band b's shape from the model's derived values.
BandShape BandShapeOf(int band);

/// A crossover filter's Butterworth section: |H|^2 = 1 / (1 + r), r = (fc/f)^(2n) for a
/// high-pass, (f/fc)^(2n) for a low-pass; order 0 is flat.
struct FilterShape
{
    bool highPass = true;
    int order = 0;
    double cornerHz = 1;
    double inverseCorner = 1;
};
/// Filter i's shape from the model's derived values (a slope other than 1 or 2 gives order 0).
FilterShape FilterShapeOf(int filter);
double FilterLevel(const FilterShape &shape, double hz, double inverseHz);

/// Channel c's total at any frequency: its bands then its filters, summed in the order the
/// curves are, so that at a grid point it equals `TotalCurve[c][x]`.
double TotalLevelAt(int channel, double hz);

/// Recomputes band b's curve from the model's derived values and its channel's total, then asks
/// for a redraw of the channel.
void ComputeBandCurve(int band);
/// Recomputes filter i's curve from the model's derived values and its channel's total, then
/// asks for a redraw of the channel.
void ComputeFilterCurve(int filter);

/// Recomputes every band and filter curve and both totals without drawing.
void ComputeAllCurves();

/// The colour of a channel's curve wherever it is drawn, as 0xRRGGBB: A red, B blue.
unsigned ChannelRgb(int channel);

/// True when a recomputed channel should be redrawn: the filter window is shown, drawing is
/// enabled and the graph is not frozen.
bool DrawingWanted();

/// The graph widget registers what redraws a channel's picture (its total, and the other
/// channel over it when that tab asks for it); called after a computation when `DrawingWanted`.
/// An empty function unregisters.
void SetRedrawHook(std::function<void(int channel)> hook);

/// The value of `FreqTable` nearest to x (a tie goes to the lower entry; above 20 kHz: 20 kHz).
double NearestFrequency(double x);
/// The index 0..120 of that entry.
int NearestFrequencyIndex(double x);

/// Round half to even, as the graph and the sliders convert positions; limited to +-1e9.
int RoundHalfEven(double value);
/// Pixel row (fractional) of a level in dB: 95.4 - 191/60 rows per dB.
double LevelRow(double levelDb);
/// `LevelRow` rounded half to even: 0 dB is row 95, +30 dB row 0, -30 dB row 191.
int LevelToRow(double levelDb);
/// Level in dB of a fractional pixel row; the inverse of `LevelRow`.
double RowLevel(double row);
/// Pixel column (fractional) of a frequency: 20 Hz column 0, 20 kHz column 575.
double FrequencyToColumn(double hz);
/// Frequency of a fractional pixel column; the inverse of `FrequencyToColumn`.
double ColumnFrequency(double column);

} // namespace ModGraph
