#pragma once

#include <vector>

#include <QStringList>

#include "eqimport/EqResponse.h"
#include "eqimport/EqText.h"
#include "model/ApplyImage.h"

/// An EQ read from a file, snapped onto one channel's 15 bands: what each filter becomes, the
/// bands the channel gets, and what the unit's curve misses of the filters as given. Applying it
/// is one undo step through `ApplyImage`. Depends on graph and model.
namespace EqPlan {

using ChannelBands = EqResponse::ChannelBands;

/// Parametric: each filter takes a band with the table frequency, gain and Q nearest to it.
/// Graphic (only while the unit is in graphic mode): the bands keep their fixed 2/3-octave
/// frequencies and Q 4.3, and each filter sets the gain of the band nearest to its frequency.
enum class Mode { Parametric, Graphic };
enum class Channels { A, B, Both };

/// What became of one filter line.
struct Row
{
    EqText::Filter given;
    /// The channel's band 0..14 it went to; -1 when it was not imported.
    int band = -1;
    ModFun::BandCodes codes;
    /// Why it was not imported, or what was clipped on the way; empty when it snapped as is.
    QStringList notes;
};

struct Plan
{
    Mode mode = Mode::Parametric;
    std::vector<Row> rows;
    /// The channel's bands after the import; bands no filter took are flat.
    ChannelBands bands{};
    /// About the whole import: the preamp, which the unit has no place for.
    QStringList notes;
    EqResponse::Curves curves;
};

/// The unit's Q code whose band curve is as wide as a peaking filter of `q` at the band's gain:
/// the graph draws a band with the effective Q (Q + 0.1) / `QDivisor`(gain), so the code
/// nearest to q * `QDivisor`(gain) - 0.1.
int QCodeFor(double q, int gainCode);

/// The import of a file that was read (`EqText::Read::refusal` empty) in `mode`; `current` are
/// the channel's bands now, whose frequencies and Q stay on the bands no filter takes.
Plan MakePlan(const EqText::Read &read, Mode mode, const ChannelBands &current);

/// The bands of channel 0 or 1 as the model holds them.
ChannelBands CurrentBands(int channel);
/// The image with the plan's bands in the chosen channels, in the plan's mode. While the unit
/// links the channels, `ApplyImage` mirrors them onto the other one.
ModFun::Image ImportedImage(const Plan &plan, Channels channels, const ModFun::Image &image);
/// Sends what differs as one undo step named "EQ import"; false when the link was lost on the
/// way (the image then holds what reached the unit).
bool Apply(const Plan &plan, Channels channels);

/// "1000 Hz  -3.0 dB  Q 2.5": a band as the unit takes it.
QString BandText(const ModFun::BandCodes &codes);
/// What became of a filter: "band 3: 1000 Hz  -3.0 dB  Q 2.5", then its notes after "; ".
QString Outcome(const Row &row);

} // namespace EqPlan
