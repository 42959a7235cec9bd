#include "graph/GraphGeometry.h"

#include <algorithm>
#include <cmath>

#include "graph/ModGraph.h"
#include "model/ValueTables.h"

namespace GraphGeometry {

namespace {

/// A gain computed back from a position that stands for an exact tenth (a marker put back where
/// it started) may come out a few units in the last place below it; it still shows that tenth.
constexpr double TenthTolerance = 1e-9;

double CutToTenth(double gainDb)
{
    return std::floor(gainDb * 10 + TenthTolerance) / 10;
}

} // namespace

double PixelsToTwips(double pixels)
{
    return pixels * TwipsPerPixel;
}

double TwipsToPixels(double twips)
{
    return twips / TwipsPerPixel;
}

double MarkerX(double hz)
{
    if (!(hz >= ValueTables::LowestHz))
        hz = ValueTables::LowestHz;
    return PixelsToTwips(ModGraph::FrequencyToColumn(std::min(hz, ValueTables::HighestHz)));
}

double MarkerY(double gainDb)
{
    if (!std::isfinite(gainDb))
        gainDb = 0;
    return PixelsToTwips(ModGraph::LevelRow(gainDb));
}

double FrequencyAtX(double x)
{
    return ModGraph::ColumnFrequency(TwipsToPixels(x));
}

double GainAtY(double y)
{
    return ModGraph::RowLevel(TwipsToPixels(y));
}

DragStep DragMarker(double x, double y, bool graphic, double bandHz)
{
    DragStep step;
    const double right = PixelsToTwips(ModGraph::LastPoint);
    step.x = graphic ? MarkerX(bandHz) : x;
    step.x = std::clamp(step.x, 0.0, right);
    const double gain = std::clamp(GainAtY(y), -MarkerGainLimit, MarkerGainLimit);
    step.y = MarkerY(gain);
    step.gainShown = CutToTenth(gain);
    step.frequencyHz = ModGraph::NearestFrequency(FrequencyAtX(step.x));
    return step;
}

} // namespace GraphGeometry
