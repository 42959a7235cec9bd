#pragma once

#include "Setting.h"

namespace Emulator {

inline constexpr int FactoryPresetCount = 16;

/// The setting image of factory preset `index` (0..15) as the unit holds it in its firmware.
Setting FactoryPreset(int index);

} // namespace Emulator
