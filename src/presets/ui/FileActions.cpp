#include "presets/ui/FileActions.h"

#include "presets/ui/BarProgress.h"

namespace Presets {

WindowOpeners::Opener LoadFileAction(PresetFiles::Kind kind)
{
    return [kind](QWidget *panel) { PresetFiles::LoadPresetFile(kind, PanelProgress(panel)); };
}

WindowOpeners::Opener SaveFileAction(PresetFiles::Kind kind)
{
    return [kind](QWidget *) { PresetFiles::SavePresetFile(kind); };
}

} // namespace Presets
