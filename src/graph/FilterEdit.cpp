#include "graph/FilterEdit.h"

#include <algorithm>
#include <cstdint>

#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/ValueTables.h"

namespace FilterEdit {

State state;

using namespace ValueTables;

namespace {

std::uint8_t &ImageByte(int index)
{
    return ModFun::state.ParamImage[static_cast<std::size_t>(index)];
}

std::uint8_t Code(int value, int last)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, last));
}

bool IsBand(int band)
{
    return band >= 0 && band < BandCount;
}

bool IsFilter(int filter)
{
    return filter >= 0 && filter < FilterCount;
}

} // namespace

void Reset()
{
    state = State{};
}

SendingSuspended::SendingSuspended() : saved(ModTxRx::state.SendSuspended)
{
    ModTxRx::state.SendSuspended = true;
}

SendingSuspended::~SendingSuspended()
{
    ModTxRx::state.SendSuspended = saved;
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

BandCodes ImageBand(int band)
{
    if (!IsBand(band))
        return {};
    const int at = EqBandOffsets[band];
    return {Code(ImageByte(at), SliderBottom), Code(ImageByte(at + 1), LastFreqCode),
            Code(ImageByte(at + 2), LastQCode)};
}

bool StoreBand(int band, const BandCodes &codes)
{
    if (!IsBand(band))
        return true;
    const int at = EqBandOffsets[band];
    ImageByte(at) = Code(codes.gain, SliderBottom);
    ImageByte(at + 1) = Code(codes.frequency, LastFreqCode);
    ImageByte(at + 2) = Code(codes.q, LastQCode);
    ModFun::SendEqBand(band);
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

FilterCodes ImageFilter(int filter)
{
    if (!IsFilter(filter))
        return {};
    const int at = CrossoverOffsets[filter];
    return {Code(ImageByte(at), LastFreqCode), Code(ImageByte(at + 1), LastSlopeCode)};
}

bool StoreCrossover(int filter, const FilterCodes &codes)
{
    if (!IsFilter(filter))
        return true;
    const int at = CrossoverOffsets[filter];
    ImageByte(at) = Code(codes.frequency, LastFreqCode);
    ImageByte(at + 1) = Code(codes.slope, LastSlopeCode);
    ModFun::SendCrossover(filter);
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

bool StoreEqType()
{
    ModFun::SendEqType();
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

} // namespace FilterEdit
