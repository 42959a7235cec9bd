#include "presets/PresetLink.h"

#include "link/ModTxRx.h"

namespace PresetLink {

bool SendRepeatable(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                    std::uint8_t d3, std::uint8_t d4, std::uint8_t d5)
{
    return ModTxRx::SendRepeatable([&] { ModTxRx::TransferFrame(cmd, d0, d1, d2, d3, d4, d5); });
}

} // namespace PresetLink
