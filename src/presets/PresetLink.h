#pragma once

#include <cstdint>

/// Frames of the preset actions: memory reads and writes, recalls and image blocks.
namespace PresetLink {

/// Sends a frame that does the same when it arrives twice (a read, a recall, a write of the same
/// bytes to the same place) and applies the recovery rule. When the link was reopened the frame is
/// sent once more: a lost write would leave a hole in what the unit keeps, and the reply of a lost
/// read is stale. Answers false when the sender must stop: the link could not be mended (the
/// operator was told and the overview panel closed), or the unit still did not answer after the
/// reopen (the operator is told).
bool SendRepeatable(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                    std::uint8_t d3, std::uint8_t d4, std::uint8_t d5);

} // namespace PresetLink
