#include "graph/ModGraph.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/ModFun.h"
#include "model/ValueTables.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ModGraph {

State state;

const std::array<double, 30> Divisors{1.05, 1.1, 1.15, 1.2,  1.25, 1.3,  1.35, 1.4,  1.45, 1.5,
                                      1.55, 1.6, 1.65, 1.7,  1.75, 1.8,  1.83, 1.85, 1.88, 1.93,
                                      2.0,  2.1, 2.17, 2.22, 2.27, 2.32, 2.37, 2.42, 2.47, 2.52};

namespace {

/// The picture's level mapping: 191 rows for 60 dB, 0 dB on row 95.4.
constexpr double ZeroDbRow = 95.4;
constexpr double RowsPerDb = 3.183333333333333;

std::function<void(int)> redrawHook;

/// The frequency of every grid point and its inverse, computed once: the per-point formulas
/// then need no library call (such calls run many times slower once the program has painted).
struct Grid
{
    Curve frequency;
    Curve inverse;
};

const Grid &PointGrid()
{
    static const Grid grid = [] {
        Grid g;
        const double scale = GridPointsPerDecade();
        for (int x = 0; x < PointCount; ++x) {
            g.frequency[x] = ValueTables::LowestHz * std::pow(10.0, x / scale);
            g.inverse[x] = 1.0 / g.frequency[x];
        }
        return g;
    }();
    return grid;
}

/// ln(y) for a finite y >= 1: y = 2^e * m with m in [sqrt(1/2), sqrt(2)), and
/// ln m = 2 atanh(z) = 2 (z + z^3/3 + z^5/5 + ...) with z = (m - 1) / (m + 1), |z| < 0.172.
double NaturalLogAtLeastOne(double y)
{
    constexpr double Ln2 = 0.69314718055994530942;
    constexpr double Sqrt2 = 1.41421356237309504880;
    constexpr std::uint64_t MantissaBits = 0x000FFFFFFFFFFFFFull;
    constexpr std::uint64_t ExponentOfOne = 0x3FF0000000000000ull;
    const auto bits = std::bit_cast<std::uint64_t>(y);
    int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    double m = std::bit_cast<double>((bits & MantissaBits) | ExponentOfOne);
    if (m > Sqrt2) {
        m *= 0.5;
        ++exponent;
    }
    const double z = (m - 1.0) / (m + 1.0);
    const double z2 = z * z;
    double series = 1.0 / 23.0;
    for (int n = 10; n >= 0; --n)
        series = series * z2 + 1.0 / (2 * n + 1);
    return exponent * Ln2 + 2.0 * z * series;
}

#if defined(__x86_64__)
__attribute__((target("avx"))) void ZeroUpperVectorState()
{
    _mm256_zeroupper();
}
#endif

/// Painting with Qt's wide vector routines can leave the upper halves of the vector registers
/// dirty; every plain SSE instruction then runs several times slower until they are cleared.
void CleanVectorState()
{
#if defined(__x86_64__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        ZeroUpperVectorState();
#endif
}

void AddCurve(double *__restrict total, const double *__restrict curve)
{
    for (int x = 0; x < PointCount; ++x)
        total[x] += curve[x];
}

void SumChannel(int channel)
{
    Curve &total = state.TotalCurve[channel];
    const int firstBand = channel * ValueTables::BandsPerChannel;
    total = state.BandCurve[firstBand];
    for (int b = firstBand + 1; b < firstBand + ValueTables::BandsPerChannel; ++b)
        AddCurve(total.data(), state.BandCurve[b].data());
    for (int f = 2 * channel; f < 2 * channel + 2; ++f)
        AddCurve(total.data(), state.FilterCurve[f].data());
}

void ChannelChanged(int channel)
{
    SumChannel(channel);
    if (redrawHook && DrawingWanted())
        redrawHook(channel);
}

void ComputeButterworth(Curve &curve, const FilterShape &shape)
{
    const Grid &grid = PointGrid();
    for (int x = 0; x < PointCount; ++x)
        curve[x] = FilterLevel(shape, grid.frequency[x], grid.inverse[x]);
}

} // namespace

double GridPointsPerDecade()
{
    return LastPoint / (Log10(ValueTables::HighestHz) - Log10(ValueTables::LowestHz));
}

void Reset()
{
    state = State{};
    redrawHook = nullptr;
    FollowModel();
}

void FollowModel()
{
    ModFun::SetCurveHook([](ModFun::CurveOf curve, int index, bool drawn) {
        state.CurveDrawEnabled = drawn;
        if (curve == ModFun::CurveOf::Band)
            ComputeBandCurve(index);
        else
            ComputeFilterCurve(index);
        state.CurveDrawEnabled = true;
    });
}

double Log10(double x)
{
    return std::log(x) / std::log(10.0);
}

double PointFrequency(int x)
{
    return PointGrid().frequency[static_cast<std::size_t>(std::clamp(x, 0, LastPoint))];
}

double QDivisor(double gainDb)
{
    const double a = std::fabs(gainDb);
    if (!(a > 0.05 && a < 15.05))
        return 1.0;
    const int tenths = static_cast<int>(a * 10.0 + 0.5);
    if (a != tenths / 10.0)
        return 1.0;
    return Divisors[static_cast<std::size_t>((tenths - 1) / 5)];
}

double AttenuationDb(double r)
{
    constexpr double TenOverLn10 = 4.3429448190325182765;
    if (std::isnan(r))
        return r;
    if (r <= 0.0)
        return 0.0;
    if (std::isinf(r))
        return -std::numeric_limits<double>::infinity();
    return -TenOverLn10 * NaturalLogAtLeastOne(1.0 + r);
}

BandShape::BandShape(double gainDb, double centreHz, double qCode)
    : gainDb(gainDb), centreHz(centreHz), inverseCentre(1.0 / centreHz)
{
    const double q = ValueTables::At(ValueTables::QTable, ValueTables::CodeOf(qCode));
    const double effectiveQ = (q + 0.1) / QDivisor(gainDb);
    qSquared = effectiveQ * effectiveQ;
}

BandShape BandShapeOf(int band)
{
    const ModFun::State &model = ModFun::state;
    return BandShape(model.BandGainDb[band], model.BandFreqHz[band], model.BandQCode[band]);
}

FilterShape FilterShapeOf(int filter)
{
    const double slope = ModFun::state.CrossoverSlope[filter];
    const double corner = ModFun::state.CrossoverFreqHz[filter];
    const int order = slope == 1.0 || slope == 2.0 ? static_cast<int>(slope) : 0;
    return {filter % 2 == 0, order, corner, 1.0 / corner};
}

double FilterLevel(const FilterShape &shape, double hz, double inverseHz)
{
    if (shape.order == 0)
        return 0.0;
    const double ratio = shape.highPass ? shape.cornerHz * inverseHz : hz * shape.inverseCorner;
    double r = ratio * ratio;
    if (shape.order == 2)
        r *= r;
    return AttenuationDb(r);
}

double TotalLevelAt(int channel, double hz)
{
    const double inverse = 1.0 / hz;
    const int firstBand = channel * ValueTables::BandsPerChannel;
    double total = 0.0;
    for (int b = firstBand; b < firstBand + ValueTables::BandsPerChannel; ++b)
        total += BandShapeOf(b).LevelDb(hz, inverse);
    for (int f = 2 * channel; f < 2 * channel + 2; ++f)
        total += FilterLevel(FilterShapeOf(f), hz, inverse);
    return total;
}

void ComputeBandCurve(int band)
{
    if (band < 0 || band >= ValueTables::BandCount)
        return;
    CleanVectorState();
    const BandShape shape = BandShapeOf(band);
    const Grid &grid = PointGrid();
    Curve &curve = state.BandCurve[band];
    for (int x = 0; x < PointCount; ++x)
        curve[x] = shape.LevelDb(grid.frequency[x], grid.inverse[x]);
    ChannelChanged(band / ValueTables::BandsPerChannel);
}

void ComputeFilterCurve(int filter)
{
    if (filter < 0 || filter >= ValueTables::FilterCount)
        return;
    CleanVectorState();
    Curve &curve = state.FilterCurve[filter];
    const double slope = ModFun::state.CrossoverSlope[filter];
    if (slope == 0.0)
        curve.fill(0.0);
    else if (slope == 1.0 || slope == 2.0)
        ComputeButterworth(curve, FilterShapeOf(filter));
    ChannelChanged(filter / 2);
}

void ComputeAllCurves()
{
    state.CurveDrawEnabled = false;
    for (int band = 0; band < ValueTables::BandCount; ++band)
        ComputeBandCurve(band);
    for (int filter = 0; filter < ValueTables::FilterCount; ++filter)
        ComputeFilterCurve(filter);
    state.CurveDrawEnabled = true;
}

unsigned ChannelRgb(int channel)
{
    return channel == 0 ? 0xFF0000u : 0x0000FFu;
}

bool DrawingWanted()
{
    return state.FilterEditorShown && state.CurveDrawEnabled && state.GraphFrozen != 1;
}

void SetRedrawHook(std::function<void(int channel)> hook)
{
    redrawHook = std::move(hook);
}

double NearestFrequency(double x)
{
    return ValueTables::FreqTable[static_cast<std::size_t>(NearestFrequencyIndex(x))];
}

int NearestFrequencyIndex(double x)
{
    return ValueTables::NearestTableIndex(x, ValueTables::FreqTable);
}

int RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::nearbyint(std::clamp(value, -1e9, 1e9)));
}

double LevelRow(double levelDb)
{
    return ZeroDbRow - levelDb * RowsPerDb;
}

int LevelToRow(double levelDb)
{
    return RoundHalfEven(LevelRow(levelDb));
}

double RowLevel(double row)
{
    return (ZeroDbRow - row) / RowsPerDb;
}

double FrequencyToColumn(double hz)
{
    return Log10(hz / ValueTables::LowestHz) * state.GraphXScale;
}

double ColumnFrequency(double column)
{
    return ValueTables::LowestHz * std::pow(10.0, column / state.GraphXScale);
}

} // namespace ModGraph
