#pragma once

#include <cstdint>

/// Frames of the preset actions: memory reads and writes, recalls and image blocks.
namespace PresetLink {

/// Sends a frame that does the same when it arrives twice through `ModTxRx::SendRepeatable`: once
/// more after a reopen. Answers false when the sender must stop (the operator was told).
bool SendRepeatable(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                    std::uint8_t d3, std::uint8_t d4, std::uint8_t d5);

} // namespace PresetLink
