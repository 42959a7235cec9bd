// Replies from a unit that answers anything: the port search, the identity query, the recovery
// rule and the setting image read must neither crash nor leave a half-read image behind.
#include <cstdlib>

#include "FuzzInput.h"
#include "link/ModTxRx.h"
#include "presets/DeviceImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    ResetProgramWithSerial(&serial);
    ModTxRx::state.ComPort = input.Byte() % 40;
    if (ModTxRx::ConnectDevice() && ModTxRx::state.RxFrame[8] != 0x10)
        std::abort();
    if (ModTxRx::state.ComPort < 0 || ModTxRx::state.ComPort > 39)
        std::abort();
    DeviceImage::Image image{};
    const auto mode =
        input.Byte() & 1 ? DeviceImage::OnFailure::Recover : DeviceImage::OnFailure::Stop;
    DeviceImage::ReadSettingImage(image, mode);
    while (!input.Empty()) {
        ModTxRx::TransferFrame(input.Byte(), input.Byte(), input.Byte(), 0, 0, 0, 0);
        ModTxRx::RecoverFromFailure();
    }
    return 0;
}
