#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Gallery.h"
#include "eqimport/ui/FrmEqImport.h"
#include "model/PanelFlags.h"

namespace {

/// A room correction as a measurement program writes it: peaking filters, a shelf it has no
/// band for, an unused filter and one beyond the unit's gain range.
constexpr char RoomEq[] = "Filter Settings file\n"
                          "\n"
                          "Room EQ V5.20\n"
                          "Dated: 07-Dec-2026 10:00:00\n"
                          "\n"
                          "Notes: living room, main listening position\n"
                          "\n"
                          "Equaliser: Generic\n"
                          "Averages\n"
                          "Filter  1: ON  PK       Fc   42.5 Hz  Gain  -8.0 dB  Q  4.00\n"
                          "Filter  2: ON  PK       Fc   63.0 Hz  Gain  -5.5 dB  Q  6.50\n"
                          "Filter  3: ON  PK       Fc   118 Hz  Gain  -4.0 dB  Q  3.00\n"
                          "Filter  4: ON  PK       Fc   240 Hz  Gain  3.0 dB  BW Oct 0.67\n"
                          "Filter  5: ON  PK       Fc   1.25 kHz  Gain  -2.5 dB  Q  1.50\n"
                          "Filter  6: ON  PK       Fc   3.2 kHz  Gain  -18.0 dB  Q  5.00\n"
                          "Filter  7: ON  HS       Fc   8 kHz  Gain  2.0 dB\n"
                          "Filter  8: OFF None\n";

} // namespace

GALLERY_SCENE("FrmEqImport", [] {
    GalleryDemo();
    PanelFlags::state.PanelOpen = true;
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("room-eq.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(RoomEq);
    file.close();
    auto window = std::make_unique<FrmEqImport>();
    window->LoadFile(path);
    PanelFlags::state.PanelOpen = false;
    return window;
});
