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

/// The window part-way through its action.
std::unique_ptr<QWidget> Busy(std::unique_ptr<QWidget> window, int value, int maximum)
{
    auto *bar = window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    bar->setMaximum(maximum);
    bar->setValue(value);
    return window;
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
    return Busy(std::move(window), 21, 34);
});

GALLERY_SCENE("FrmStore", [] {
    GalleryPresetList();
    return std::make_unique<FrmStore>();
});

GALLERY_SCENE("FrmStore-storing", [] {
    GalleryPresetList();
    auto window = std::make_unique<FrmStore>();
    window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Live"));
    return Busy(std::move(window), 17, 40);
});

GALLERY_SCENE("FrmCopyIn", [] {
    GalleryDemo();
    return std::make_unique<FrmCopyIn>();
});
