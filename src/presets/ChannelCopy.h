#pragma once

#include "presets/PresetProgress.h"

/// Copying chosen blocks of one channel onto the other, in the image and to the unit. Depends on
/// link, model and the message layer.
namespace ChannelCopy {

struct State
{
    /// What the copy takes, set from the window's boxes when a copy starts.
    bool CopyGate = false;
    bool CopyDelay = false;
    /// The 15 equaliser bands.
    bool CopyEq = false;
    bool CopyLimiter = false;
    /// The high-pass and low-pass filters.
    bool CopyCrossover = false;
};

extern State state;

void Reset();

enum class Direction { AToB, BToA };

/// The boxes of the copy window, in the window's order.
struct Selection
{
    bool gate = false;
    bool delay = false;
    bool eq = false;
    bool limiter = false;
    bool crossover = false;
};

enum class Outcome {
    Refused, ///< equal channels or nothing ticked; the operator was told
    Declined,
    Copied,
    Stopped, ///< a transfer failed for good
};

/// The copy window's button: refuses equal channels and an empty selection, asks, sets the
/// selection flags and copies from channel `source` to channel `destination` (0 = A, 1 = B).
/// `progress` runs over the copy (the window shows the busy pointer with it).
Outcome CopyAsked(int source, int destination, const Selection &ticked,
                  const Presets::Progress &progress = {});

/// Copies the selected blocks and sends each copied block of the destination channel in the
/// order equaliser bands, filters, delay, gate, limiter; last, the destination takes the
/// source's mute state and a mute frame carrying it. Answers false when a transfer failed for
/// good: the copy stopped there.
bool CopyChannel(Direction direction);

} // namespace ChannelCopy
