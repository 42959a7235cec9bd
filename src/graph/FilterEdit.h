#pragma once

#include <array>

#include "model/ValueTables.h"

/// What the filter window does to the model, without the window: the codes of an equaliser band
/// and of a crossover filter, writing them into the image and sending them, and the choices the
/// window keeps between openings. Depends on model (image, senders), link (recovery rule) and
/// graph (ModGraph).
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

/// Raises a flag for its lifetime and gives it back its former value afterwards, so that nested
/// uses (the window's own filling around a link copy) do not end each other early.
template<class Flag> class Raised
{
public:
    Raised(Flag &flag, Flag value) : flag(flag), saved(flag) { flag = value; }
    ~Raised() { flag = saved; }
    Raised(const Raised &) = delete;
    Raised &operator=(const Raised &) = delete;

private:
    Flag &flag;
    Flag saved;
};

/// Frames are not sent while it lives (the model, the summaries and the curves still follow).
struct SendingSuspended
{
    SendingSuspended();
    ~SendingSuspended();
    SendingSuspended(const SendingSuspended &) = delete;
    SendingSuspended &operator=(const SendingSuspended &) = delete;

private:
    bool saved;
};

/// Above 20000 becomes 20000; anything not at least 20 (NaN included) becomes 20.
double ClampFrequency(double hz);

/// The same band or filter of the other channel.
int TwinBand(int band);
int TwinFilter(int filter);

/// The three codes of a band: gain index 0..60 (dB = index / 2 - 15), index into `FreqTable`,
/// index into `QTable`.
struct BandCodes
{
    int gain = 30;
    int frequency = 0;
    int q = 0;
};

int GainIndexOfSlider(int position);
int SliderOfGainIndex(int gainIndex);
double GainOfIndex(int gainIndex);
/// The slider position nearest to a gain, rounded half to even (3.7 dB gives 23).
int SliderOfGain(double gainDb);
/// The fixed 2/3-octave frequency index of a band in graphic mode: 8 k + 4 for its k-th band.
int GraphicFrequencyIndex(int band);

/// The band's codes in the image, each limited to its table.
BandCodes ImageBand(int band);
/// Writes the band into the image and sends it (command 0x05, with the model and summary).
/// False when the transfer failed and the link could not be mended: the panel has closed.
bool StoreBand(int band, const BandCodes &codes);

/// Frequency index and slope code (0 bypass, 1 6 dB/oct, 2 12 dB/oct) of a crossover filter.
struct FilterCodes
{
    int frequency = 0;
    int slope = 0;
};

/// The filter's codes in the image, each limited to its table.
FilterCodes ImageFilter(int filter);
/// Writes the filter into the image and sends it (command 0x04); false as `StoreBand`.
bool StoreCrossover(int filter, const FilterCodes &codes);

/// Sends the equaliser type `ModFun::state.GeqSelected` (command 0x13); false as `StoreBand`.
bool StoreEqType();

} // namespace FilterEdit
