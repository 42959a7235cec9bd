#pragma once

#include <array>

#include "model/ValueTables.h"

/// What the filter window works out without the window: the gain slider's scale, typed
/// frequencies, the twin band or filter of the other channel, and the choices the window keeps
/// between openings. The codes go into the model through its setters (`ModFun::SetEqBand`,
/// `ModFun::SetCrossover`). Depends on graph (ModGraph) and model/ValueTables.
namespace FilterEdit {

/// Gain slider positions: 0 is +15 dB, 60 is -15 dB (the slider runs upside down).
inline constexpr int SliderTop = 0;
inline constexpr int SliderBottom = ValueTables::LastGainCode;
inline constexpr int FlatSlider = 30;
/// Every band of a graphic equaliser has Q 4.3.
inline constexpr int GraphicQIndex = 45;

struct State
{
    /// The "Out2" (other channel's curve) and "Cursor" (band markers) boxes of each tab, as the
    /// window left them; it restores them when it opens again.
    std::array<bool, 2> Out2Saved{};
    std::array<bool, 2> CursorShown{};
};

extern State state;

void Reset();

/// Above 20000 becomes 20000; anything not at least 20 (NaN included) becomes 20.
double ClampFrequency(double hz);

/// The same band or filter of the other channel.
int TwinBand(int band);
int TwinFilter(int filter);

int GainIndexOfSlider(int position);
int SliderOfGainIndex(int gainIndex);
double GainOfIndex(int gainIndex);
/// The slider position nearest to a gain, rounded half to even (3.7 dB gives 23).
int SliderOfGain(double gainDb);
/// The fixed 2/3-octave frequency index of a band in graphic mode: 8 k + 4 for its k-th band.
int GraphicFrequencyIndex(int band);

} // namespace FilterEdit
