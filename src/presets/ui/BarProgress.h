#pragma once

#include <functional>

#include "presets/PresetProgress.h"

class QProgressBar;
class QWidget;

namespace Presets {

/// Shows a preset action's progress on `bar` (when there is one) with the busy pointer while it
/// runs; `running` is told when the run starts (true) and ends (false), for a caption or a frame
/// to follow it.
Progress BarProgress(QProgressBar *bar, std::function<void(bool running)> running = {});

/// The overview panel's progress display for a file load: its progress bar `ProgressBar1` and the
/// frame that holds it are shown for the run and hidden after. Without such a bar only the busy
/// pointer shows.
Progress PanelProgress(QWidget *panel);

} // namespace Presets
