#pragma once

#include <array>

#include "editors/ui/EditorDialog.h"

class EntryBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;

/// The delay editor of both channels: per channel a coarse (whole ms) and a fine (0.0208 ms)
/// spinner and a box for typing the delay, shown in milliseconds or, for both channels, as a
/// distance in metres. Opening it sends nothing; each edit sends the channel's delay frame, and
/// with link A & B on the other channel follows without a frame of its own.
class FrmDelay : public EditorDialog
{
    Q_OBJECT
public:
    explicit FrmDelay(QWidget *parent = nullptr);

private:
    QGroupBox *BuildChannel(int channel);
    QGroupBox *BuildUnitChoice();
    void FillFromImage();

    /// The spinners of channel c into its delay bytes, the delay shown, the delay frame sent.
    bool LoadDelaysFun(int channel);
    /// The chosen unit into the model and the unit's system flags, then every text in it.
    void LoadPrintAllDelayFun();
    /// With link A & B on, channel c's spinners and delay onto the other channel, unsent.
    void LinkingFunctionDelay(int channel);

    void OnSpinnerChanged(int channel);
    void OnTyped(int channel, const QString &text);
    /// The delay of channel c from the image, in the model's unit.
    void ShowDelay(int channel);
    /// Frame captions, delays and summaries of both channels in the model's unit.
    void ShowUnit();
    void SetSpinners(int channel, int coarse, int fine);

    std::array<QGroupBox *, 2> frames{};
    std::array<QSpinBox *, 2> coarse{};
    std::array<QSpinBox *, 2> fine{};
    std::array<EntryBox *, 2> delayBox{};
    std::array<QRadioButton *, 2> unitChoice{};
};
