#pragma once

#include <array>

#include "editors/EditorValues.h"
#include "editors/ui/EditorDialog.h"

class QTabWidget;
class SliderBox;
class ThresholdPicture;

/// The limiter editor: one tab per channel with the threshold, release and attack sliders and
/// boxes, and the threshold picture of the shown channel (red for A, blue for B). It opens on
/// the tab of `LimiterChannel` and sends nothing until the operator changes a value; with link
/// A & B on the other channel follows without a frame of its own.
class FrmLimiter : public EditorDialog
{
    Q_OBJECT
public:
    explicit FrmLimiter(QWidget *parent = nullptr);

private:
    QWidget *BuildChannel(int channel);
    void FillFromImage();

    /// The three sliders of channel c into its bytes and boxes, the picture redrawn, the limiter
    /// frame sent.
    bool LoadLimFun(int channel);
    /// The threshold picture of `LimiterChannel`.
    void LoadLineThr();

    void OnSliderMoved(int channel, EditorValues::LimiterValue value);
    void OnTabChanged(int index);

    QTabWidget *tabs = nullptr;
    ThresholdPicture *picture = nullptr;
    /// Per channel: threshold (`Slider4`/`Text9`), release (`Slider5`/`Text10`), attack
    /// (`Slider6`/`Text11`).
    std::array<std::array<SliderBox *, 3>, 2> values{};
};
