#include <algorithm>

#include "Gallery.h"
#include "graph/FilterEdit.h"
#include "graph/ui/FrmFilter.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"

namespace {

using namespace ValueTables;

void SetFilter(int filter, int frequencyIndex, int slope)
{
    ModFun::state.ParamImage[CrossoverOffsets[filter]] = static_cast<std::uint8_t>(frequencyIndex);
    ModFun::state.ParamImage[CrossoverOffsets[filter] + 1] = static_cast<std::uint8_t>(slope);
}

void SetBand(int band, int gainIndex, int frequencyIndex, int qIndex)
{
    const int at = EqBandOffsets[band];
    ModFun::state.ParamImage[at] = static_cast<std::uint8_t>(gainIndex);
    ModFun::state.ParamImage[at + 1] = static_cast<std::uint8_t>(frequencyIndex);
    ModFun::state.ParamImage[at + 2] = static_cast<std::uint8_t>(qIndex);
}

/// A live setting: A is factory preset "Percuss." behind an 80 Hz / 12 dB high-pass and a
/// 16 kHz / 6 dB low-pass; B a few parametric bands (a low shelf-like boost, a mid cut, an air
/// lift) behind a 40 Hz high-pass. Channels unlinked, so the two curves differ.
void ShapedSetting(bool graphic)
{
    GalleryDemo();
    const PresetImage &percussive = FactoryPresetImages[6];
    std::copy_n(percussive.begin(), ChannelBlockSize, ModFun::state.ParamImage.begin());
    SetFilter(0, 24, 2);
    SetFilter(1, 116, 1);
    SetFilter(2, 12, 1);
    SetBand(15, 40, 13, 8); // 42 Hz, +5 dB, Q 0.8
    SetBand(17, 36, 36, 14); // 160 Hz, +3 dB, Q 1.2
    SetBand(21, 20, 60, 30); // 630 Hz, -5 dB, Q 2.8
    SetBand(23, 24, 76, 40); // 1600 Hz, -3 dB, Q 3.8
    SetBand(26, 38, 104, 12); // 8 kHz, +4 dB, Q 1.0
    SetBand(28, 42, 116, 10); // 16 kHz, +6 dB, Q 0.9
    ModFun::state.ParamImage[FlagsByteIndex] = graphic ? 1 : 0;
    ModFun::SendWholeState();
    FilterEdit::state.Out2Saved = {true, true};
    FilterEdit::state.CursorShown = {true, true};
}

std::unique_ptr<QWidget> FilterWindow(int channel, bool graphic)
{
    ShapedSetting(graphic);
    PanelFlags::state.FilterChannel = static_cast<std::int16_t>(channel);
    return std::make_unique<FrmFilter>();
}

} // namespace

GALLERY_SCENE("FrmFilter_A_parametric", [] { return FilterWindow(0, false); });
GALLERY_SCENE("FrmFilter_B_parametric", [] { return FilterWindow(1, false); });
GALLERY_SCENE("FrmFilter_A_graphic", [] { return FilterWindow(0, true); });
GALLERY_SCENE("FrmFilter_B_graphic", [] { return FilterWindow(1, true); });
