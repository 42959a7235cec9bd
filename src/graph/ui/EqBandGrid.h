#pragma once

#include <array>

#include <QWidget>

#include "model/ValueTables.h"

class EntryBox;
class QSlider;
class UpDown;

/// The controls of one equaliser band.
struct BandControls
{
    /// `Slider2`: 0..60 from the top, position = 60 - gain index (0 is +15 dB).
    QSlider *slider = nullptr;
    /// `Text3`, `Text4`, `Text5`: gain in dB, centre frequency in Hz, Q.
    EntryBox *gain = nullptr;
    EntryBox *frequency = nullptr;
    EntryBox *q = nullptr;
    /// `UpDown3`: the Q index.
    UpDown *qButtons = nullptr;
};

/// The 15 band strips of one channel on one grid, so that every row (band numbers, sliders,
/// gains, frequencies, Qs) lines up across the bands, with the row captions on the left.
class EqBandGrid : public QWidget
{
public:
    EqBandGrid(int channel, QWidget *parent);

    const BandControls &Band(int k) const { return bands[k]; }

private:
    void AddCaptions(int channel);
    void AddBand(int channel, int k);

    std::array<BandControls, ValueTables::BandsPerChannel> bands;
};
