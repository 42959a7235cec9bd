#include "presets/DeviceImage.h"

#include "link/ModTxRx.h"

namespace DeviceImage {

using namespace UnitProtocol;

namespace {

/// Reading is harmless to repeat: with `Recover` a block whose frame failed is asked for again
/// after the link was reopened, since the stale reply bytes of a failed frame must never land in
/// the image.
bool ReadBlock(int offset, OnFailure onFailure)
{
    auto &link = ModTxRx::state;
    ModTxRx::SplitToBytes(offset, 0);
    const std::uint8_t high = link.WorkBytes[2];
    const std::uint8_t low = link.WorkBytes[3];
    const auto read = [high, low] {
        ModTxRx::TransferFrame(ReadImageCommand, high, low, 0, 0, 0, 0);
    };
    if (onFailure == OnFailure::Recover)
        return ModTxRx::SendRepeatable(read);
    read();
    return !link.TransferFailed;
}

} // namespace

bool ReadSettingImage(Image &image, OnFailure onFailure, const std::function<void()> &step)
{
    auto &link = ModTxRx::state;
    if (link.DemoMode || link.SendSuspended)
        return false;
    for (int offset = 0; offset < ImageSize; offset += BytesPerFrame) {
        if (!ReadBlock(offset, onFailure))
            return false;
        std::copy_n(link.RxFrame.begin() + FourReadAt, BytesPerFrame, image.begin() + offset);
        if (step)
            step();
    }
    return true;
}

} // namespace DeviceImage
