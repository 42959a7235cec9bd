#include "graph/FilterEdit.h"

#include <algorithm>

#include "graph/ModGraph.h"
#include "model/ValueTables.h"

namespace FilterEdit {

State state;

using namespace ValueTables;

void Reset()
{
    state = State{};
}

double ClampFrequency(double hz)
{
    if (hz > HighestHz)
        return HighestHz;
    if (!(hz >= LowestHz))
        return LowestHz;
    return hz;
}

int TwinBand(int band)
{
    return band < BandsPerChannel ? band + BandsPerChannel : band - BandsPerChannel;
}

int TwinFilter(int filter)
{
    return filter < 2 ? filter + 2 : filter - 2;
}

int GainIndexOfSlider(int position)
{
    return SliderBottom - std::clamp(position, SliderTop, SliderBottom);
}

int SliderOfGainIndex(int gainIndex)
{
    return SliderBottom - std::clamp(gainIndex, SliderTop, SliderBottom);
}

double GainOfIndex(int gainIndex)
{
    return gainIndex / 2.0 - 15;
}

int SliderOfGain(double gainDb)
{
    return std::clamp(ModGraph::RoundHalfEven(30 - 2 * gainDb), SliderTop, SliderBottom);
}

int GraphicFrequencyIndex(int band)
{
    return 8 * (band % BandsPerChannel) + 4;
}

} // namespace FilterEdit
