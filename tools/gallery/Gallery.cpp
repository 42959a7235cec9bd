#include "Gallery.h"

#include "link/ModTxRx.h"
#include "link/Startup.h"
#include "lock/ModLock.h"

void GalleryDemo()
{
    ModTxRx::Reset();
    ModLock::Reset();
    Startup::EnterDemoMode();
}
