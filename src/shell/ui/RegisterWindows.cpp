#include "shell/ui/WindowOpeners.h"

#include "lock/ui/FrmPassword.h"
#include "editors/ui/FrmDelay.h"
#include "editors/ui/FrmLimiter.h"
#include "editors/ui/FrmNG.h"
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
    Register(Action::Password, Modal<FrmPassword>());
    Register(Action::NoiseGate, Modal<FrmNG>());
    Register(Action::Limiter, Modal<FrmLimiter>());
    Register(Action::Delay, Modal<FrmDelay>());
}

} // namespace WindowOpeners
