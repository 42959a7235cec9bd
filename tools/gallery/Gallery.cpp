#include "Gallery.h"

#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "presets/ModPreset.h"

void GalleryDemo()
{
    ModTxRx::Reset();
    ModTxRx::state.DemoMode = true;
    ModLock::Reset();
    ModPreset::Reset();
    ModFun::Reset();
    ModFun::LoadDefaultImage();
    ModFun::SendWholeState();
}
