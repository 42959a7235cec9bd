#include "presets/ui/FileActions.h"

#include "presets/ui/BarProgress.h"

WindowOpeners::Opener LoadFileAction(PresetFiles::Kind kind)
{
    return [kind](QWidget *panel) { PresetFiles::LoadPresetFile(kind, PanelProgress(panel)); };
}

WindowOpeners::Opener SaveFileAction(PresetFiles::Kind kind)
{
    return [kind](QWidget *) { PresetFiles::SavePresetFile(kind); };
}
