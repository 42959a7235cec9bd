#include "presets/PresetLink.h"

#include "link/ModTxRx.h"
#include "shell/Messages.h"

namespace PresetLink {

bool SendRepeatable(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                    std::uint8_t d3, std::uint8_t d4, std::uint8_t d5)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModTxRx::TransferFrame(cmd, d0, d1, d2, d3, d4, d5);
        if (!ModTxRx::state.TransferFailed)
            return true;
        if (!ModTxRx::RecoverFromFailure())
            return false;
    }
    // The unit answers its identity but not this frame: the link stays, the action stops.
    Messages::Tell(QStringLiteral("The unit does not answer this request; the operation was "
                                  "stopped."),
                   QStringLiteral("Communication problem"), Messages::Icon::Critical);
    return false;
}

} // namespace PresetLink
