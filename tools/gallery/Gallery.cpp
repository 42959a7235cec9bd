#include "Gallery.h"

#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "session/Startup.h"

void GalleryDemo()
{
    ModTxRx::Reset();
    ModLock::Reset();
    Startup::EnterDemoMode();
}
