#include "shell/ui/WindowOpeners.h"

#include <QPointer>

#include "editors/ui/FrmDelay.h"
#include "editors/ui/FrmLimiter.h"
#include "editors/ui/FrmNG.h"
#include "graph/ui/FrmFilter.h"
#include "lock/ui/FrmPassword.h"
#include "presets/ui/FileActions.h"
#include "presets/ui/FrmCopyIn.h"
#include "presets/ui/FrmRead.h"
#include "presets/ui/FrmStore.h"
#include "shell/ui/FrmVersion.h"

namespace WindowOpeners {

namespace {

/// The window belongs to the panel, which goes at once when the link to the unit is lost while
/// the window is open: the window may then be gone when `exec` returns.
template<typename Window> Opener Modal()
{
    return [](QWidget *parent) {
        const QPointer<Window> window = new Window(parent);
        window->exec();
        delete window.data();
    };
}

} // namespace

void RegisterAllWindows()
{
    Register(Action::About, Modal<FrmVersion>());
    Register(Action::Password, Modal<FrmPassword>());
    Register(Action::NoiseGate, Modal<FrmNG>());
    Register(Action::Limiter, Modal<FrmLimiter>());
    Register(Action::Delay, Modal<FrmDelay>());
    Register(Action::PresetFromDevice, Modal<FrmRead>());
    Register(Action::PresetToDevice, Modal<FrmStore>());
    Register(Action::Copy, Modal<FrmCopyIn>());
    Register(Action::PresetFromPc, Presets::LoadFileAction(PresetFiles::Kind::User));
    Register(Action::PresetToPc, Presets::SaveFileAction(PresetFiles::Kind::User));
    Register(Action::FactoryFromPc, Presets::LoadFileAction(PresetFiles::Kind::Factory));
    Register(Action::FactoryToPc, Presets::SaveFileAction(PresetFiles::Kind::Factory));
    Register(Action::Filter, Modal<FrmFilter>());
}

} // namespace WindowOpeners
