#include "presets/DeviceImage.h"

#include "link/ModTxRx.h"

namespace DeviceImage {
namespace {

constexpr std::uint8_t ReadSettingCommand = 0x19;

void RequestBlock(int offset)
{
    auto &link = ModTxRx::state;
    ModTxRx::SplitToBytes(offset, 0);
    ModTxRx::TransferFrame(ReadSettingCommand, link.WorkBytes[2], link.WorkBytes[3], 0, 0, 0, 0);
}

/// Reading is harmless to repeat: after the link was reopened the block is asked for once more,
/// since the stale reply bytes of a failed frame must never land in the image.
bool ReadBlock(int offset, OnFailure onFailure)
{
    RequestBlock(offset);
    if (!ModTxRx::state.TransferFailed)
        return true;
    if (onFailure == OnFailure::Stop || !ModTxRx::RecoverFromFailure())
        return false;
    RequestBlock(offset);
    if (!ModTxRx::state.TransferFailed)
        return true;
    ModTxRx::RecoverFromFailure();
    return false;
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
        std::copy_n(link.RxFrame.begin() + 5, BytesPerFrame, image.begin() + offset);
        if (step)
            step();
    }
    return true;
}

} // namespace DeviceImage
