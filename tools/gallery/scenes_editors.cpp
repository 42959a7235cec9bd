#include "Gallery.h"
#include "editors/ui/FrmDelay.h"
#include "editors/ui/FrmLimiter.h"
#include "editors/ui/FrmNG.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"

namespace {

std::uint8_t &Image(int index)
{
    return ModFun::state.ParamImage[index];
}

/// Channel A's gate on at -75 dB, 20 ms, 0.8 s; channel B's left off.
void GateOnChannelA()
{
    const int at = ValueTables::GateOffsets[0];
    Image(at) = 1;
    Image(at + 1) = 3;
    Image(at + 2) = 4;
    Image(at + 3) = 3;
}

/// Channel B's limiter at -12.2 dB, 150 ms, 10 ms.
void LimiterOnChannelB()
{
    const int at = ValueTables::LimiterOffsets[1];
    Image(at) = 9;
    Image(at + 1) = 125;
    Image(at + 2) = 89;
}

/// 10.499 ms on channel A, 1.249 ms on channel B.
void Delays()
{
    const int a = ValueTables::DelayOffsets[0];
    Image(a + 1) = 10;
    Image(a + 2) = 24;
    const int b = ValueTables::DelayOffsets[1];
    Image(b + 1) = 1;
    Image(b + 2) = 12;
}

} // namespace

GALLERY_SCENE("FrmNG", [] {
    GalleryDemo();
    GateOnChannelA();
    return std::make_unique<FrmNG>();
});

GALLERY_SCENE("FrmLimiter", [] {
    GalleryDemo();
    return std::make_unique<FrmLimiter>();
});

GALLERY_SCENE("FrmLimiter-B", [] {
    GalleryDemo();
    LimiterOnChannelB();
    PanelFlags::state.LimiterChannel = 1;
    return std::make_unique<FrmLimiter>();
});

GALLERY_SCENE("FrmDelay", [] {
    GalleryDemo();
    Delays();
    return std::make_unique<FrmDelay>();
});

GALLERY_SCENE("FrmDelay-metres", [] {
    GalleryDemo();
    Delays();
    SystemFlags::SetDistanceUnit(true);
    return std::make_unique<FrmDelay>();
});
