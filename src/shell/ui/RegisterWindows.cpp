#include "shell/ui/WindowOpeners.h"

#include "graph/ui/FrmFilter.h"
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
    Register(Action::Filter, Modal<FrmFilter>());
}

} // namespace WindowOpeners
