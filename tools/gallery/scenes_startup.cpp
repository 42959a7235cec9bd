#include <QPushButton>

#include "Gallery.h"
#include "editors/ui/FrmMain.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "model/ModFun.h"
#include "session/ui/MDIFrmMain.h"
#include "session/ui/frmSplash.h"

namespace {

QtSerialComponent &GallerySerial()
{
    static QtSerialComponent serial;
    return serial;
}

/// The main window as it stands after loading, before Connect or Demo.
std::unique_ptr<MDIFrmMain> LoadedMainWindow()
{
    auto window = std::make_unique<MDIFrmMain>(GallerySerial());
    window->Load();
    return window;
}

/// A meter reply with music playing on channel A, its limiter taking 4 dB off; channel B muted.
void PlayMusic()
{
    const std::uint8_t reply[6] = {86, 60, 104, 0, 80, 127};
    std::copy(std::begin(reply), std::end(reply), ModTxRx::state.RxFrame.begin() + 3);
}

} // namespace

GALLERY_SCENE("frmSplash", [] { return std::make_unique<frmSplash>(); });

GALLERY_SCENE("MDIFrmMain", [] { return LoadedMainWindow(); });

GALLERY_SCENE("MDIFrmMain-demo", [] {
    auto window = LoadedMainWindow();
    window->show();
    // Messages answer their default without a presenter: Yes to the demo question.
    window->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    return window;
});

GALLERY_SCENE("FrmMain", [] {
    GalleryDemo();
    return std::make_unique<FrmMain>();
});

GALLERY_SCENE("FrmMain-meters", [] {
    GalleryDemo();
    ModFun::state.ParamImage[ValueTables::MuteOffsets[1]] = 1;
    ModFun::state.ParamImage[ValueTables::FlagsByteIndex] = 0;
    auto panel = std::make_unique<FrmMain>();
    PlayMusic();
    panel->PollMeters();
    return panel;
});
