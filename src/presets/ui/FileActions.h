#pragma once

#include "presets/PresetFiles.h"
#include "shell/ui/WindowOpeners.h"

namespace Presets {

/// The overview panel's file buttons: load a file with the panel's progress display, save one.
WindowOpeners::Opener LoadFileAction(PresetFiles::Kind kind);
WindowOpeners::Opener SaveFileAction(PresetFiles::Kind kind);

} // namespace Presets
