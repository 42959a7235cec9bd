#include "Gallery.h"
#include "report/ui/FrmExport.h"
#include "report/ui/FrmSheet.h"

GALLERY_SCENE("FrmExport", [] {
    GalleryDemo();
    return std::make_unique<FrmExport>(0);
});
GALLERY_SCENE("FrmSheet", [] { return std::make_unique<FrmSheet>(); });
