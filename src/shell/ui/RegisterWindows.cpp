#include "shell/ui/WindowOpeners.h"

#include "presets/ui/FileActions.h"
#include "presets/ui/FrmCopyIn.h"
#include "presets/ui/FrmRead.h"
#include "presets/ui/FrmStore.h"
#include "shell/ui/FrmVersion.h"

namespace WindowOpeners {

namespace {

template<typename Window> Opener Modal()
{
    return [](QWidget *parent) {
        Window window(parent);
        window.exec();
    };
}

} // namespace

void RegisterAllWindows()
{
    Register(Action::About, Modal<FrmVersion>());
    Register(Action::PresetFromDevice, Modal<FrmRead>());
    Register(Action::PresetToDevice, Modal<FrmStore>());
    Register(Action::Copy, Modal<FrmCopyIn>());
    Register(Action::PresetFromPc, Presets::LoadFileAction(PresetFiles::Kind::User));
    Register(Action::PresetToPc, Presets::SaveFileAction(PresetFiles::Kind::User));
    Register(Action::FactoryFromPc, Presets::LoadFileAction(PresetFiles::Kind::Factory));
    Register(Action::FactoryToPc, Presets::SaveFileAction(PresetFiles::Kind::Factory));
}

} // namespace WindowOpeners
