#include <QLineEdit>
#include <QProgressBar>

#include "Gallery.h"
#include "presets/ModPreset.h"
#include "presets/ui/FrmCopyIn.h"
#include "presets/ui/FrmRead.h"
#include "presets/ui/FrmStore.h"

namespace {

/// The preset list of a unit with two user presets stored.
void GalleryPresetList()
{
    GalleryDemo();
    ModPreset::FillFactoryEntries();
    auto &list = ModPreset::state;
    list.PresetNames[16] = ModPreset::CenteredName(QStringLiteral("Stage"));
    list.PresetUsed[16] = true;
    list.PresetNames[17] = ModPreset::CenteredName(QStringLiteral("Church B"));
    list.PresetUsed[17] = true;
    list.CurrentPreset = 17;
}

} // namespace

GALLERY_SCENE("FrmRead", [] {
    GalleryPresetList();
    return std::make_unique<FrmRead>();
});

GALLERY_SCENE("FrmRead-reading", [] {
    GalleryPresetList();
    auto window = std::make_unique<FrmRead>();
    window->setWindowTitle(QStringLiteral("Reading Preset......"));
    auto *bar = window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    bar->setMaximum(34);
    bar->setValue(21);
    return window;
});

GALLERY_SCENE("FrmStore", [] {
    GalleryPresetList();
    return std::make_unique<FrmStore>();
});

GALLERY_SCENE("FrmStore-storing", [] {
    GalleryPresetList();
    auto window = std::make_unique<FrmStore>();
    window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Live"));
    auto *bar = window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    bar->setMaximum(40);
    bar->setValue(17);
    return window;
});

GALLERY_SCENE("FrmCopyIn", [] {
    GalleryDemo();
    return std::make_unique<FrmCopyIn>();
});
