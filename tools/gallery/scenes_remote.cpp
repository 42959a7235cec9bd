#include <QPushButton>

#include "Gallery.h"
#include "editors/ui/FrmMain.h"
#include "remote/ui/FrmRemote.h"

// The remote window serving the demo panel: the address, its QR code and the token.
GALLERY_SCENE("FrmRemote", [] {
    GalleryDemo();
    static FrmMain panel;
    auto window = std::make_unique<FrmRemote>(&panel);
    window->findChild<QPushButton *>(QStringLiteral("CommandStart"))->click();
    return window;
});
