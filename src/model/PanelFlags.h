#pragma once

#include <cstdint>

/// The overview panel's flags that the model, the editors and the main window share. Depends on
/// nothing else of ours.
namespace PanelFlags {

struct State
{
    /// The program is setting controls itself: control handlers ignore the change.
    bool UpdatingControls = false;
    /// The overview panel is loaded; the meter poll works only then.
    bool PanelOpen = false;
    /// A preset action of the panel's buttons runs: the meter poll keeps out of its frames.
    bool PresetActionBusy = false;
    /// The channel (0 = A, 1 = B) the filter editor and the limiter editor open on.
    std::int16_t FilterChannel = 0;
    std::int16_t LimiterChannel = 0;
};

extern State state;

void Reset();

} // namespace PanelFlags
