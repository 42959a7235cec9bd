#include <QProgressBar>

#include "Gallery.h"
#include "shell/ui/FrmVersion.h"
#include "shell/ui/FrmVum.h"

GALLERY_SCENE("FrmVersion", [] { return std::make_unique<FrmVersion>(); });

GALLERY_SCENE("FrmVum", [] {
    auto window = std::make_unique<FrmVum>();
    window->progressBar()->setMaximum(59);
    window->progressBar()->setValue(23);
    return window;
});
