#pragma once

#include <array>
#include <cstdint>
#include <functional>

/// Reading the unit's current setting image, four bytes a frame (command 0x19).
namespace DeviceImage {

inline constexpr int ImageSize = 128;
inline constexpr int BytesPerFrame = 4;

using Image = std::array<std::uint8_t, ImageSize>;

enum class OnFailure {
    Stop, ///< the load after connecting: no reconnect, the caller reports
    Recover, ///< preset reading: the recovery rule, then stop if it cannot mend the link
};

/// Reads the 128 bytes into `image`, calling `step` after each frame. With `Recover`, a block whose
/// frame failed is asked for again once after the link was reopened (`PresetLink::SendRepeatable`,
/// which tells the operator when that fails too). Answers false when the image could not be read
/// whole; `image` is then incomplete and must not be used. In demo mode or while sending is
/// suspended nothing is read and the answer is false.
bool ReadSettingImage(Image &image, OnFailure onFailure, const std::function<void()> &step = {});

} // namespace DeviceImage
