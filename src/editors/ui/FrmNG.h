#pragma once

#include <array>

#include "editors/ui/EditorDialog.h"

class QCheckBox;
class QGroupBox;
class SliderBox;

/// The noise gate editor of both channels: per channel an "Enable" box and the threshold,
/// release and attack sliders with their boxes (index i = 0..2 channel A, 3..5 channel B).
/// Opening it sends nothing; each edit sends the channel's gate frame, and with link A & B on
/// the other channel's controls and model follow without a frame of their own.
class FrmNG : public EditorDialog
{
    Q_OBJECT
public:
    explicit FrmNG(QWidget *parent = nullptr);

private:
    void BuildChannel(int channel);
    void FillFromImage();

    /// `Check1(c)` into the gate-on byte, the frame enabled with it, the gate frame sent.
    bool LoadNGOnOffFun(int channel);
    /// `Slider1(i)` into its byte and its value into `Text1(i)`, the gate frame sent.
    bool LoadNGValFun(int index);

    void OnSliderMoved(int index);
    void OnEnableToggled(int channel);

    std::array<QCheckBox *, 2> enable{};
    std::array<QGroupBox *, 2> frames{};
    std::array<SliderBox *, 6> values{};
};
