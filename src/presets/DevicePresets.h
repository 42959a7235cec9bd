#pragma once

#include <optional>

#include <QString>

#include "presets/PresetProgress.h"

/// The unit's 32 presets: reading one into the model (presets 1..16 are the program's own
/// factory images, 17..32 are read from the unit) and storing the model with a name into one of
/// the 16 user places. Depends on link, model and the preset list (`ModPreset`).
///
/// Nothing is half-applied: a read goes into a buffer and reaches `ParamImage` only when it is
/// whole; a store marks its place used only when every data frame went through.
namespace DevicePresets {

/// 1 at the start, 1 for the recall, 32 blocks.
inline constexpr int ReadSteps = 34;
/// The bar's maximum for a store (32 image frames, 2 name frames; the bar never fills).
inline constexpr int StoreSteps = 40;

enum class Outcome {
    Done,
    Declined, ///< the operator answered No
    Refused, ///< nothing sent: an empty preset, an invalid name
    Stopped, ///< a transfer failed for good; the operator was told, the panel may be closed
};

/// A preset index 0..31 (preset number - 1) of a factory preset, else of a user preset.
bool IsFactory(int index);

/// The read window's Read: refuses an unused preset ("Preset empty"), asks before overwriting,
/// then reads the preset (`ReadFactoryPreset` or `ReadUserPreset`).
Outcome ReadPresetAsked(int index, const Presets::Progress &progress);

/// Recalls user preset `index` (16..31) on the unit and reads its image (0x1B, then 32 x 0x19).
/// The codes are brought into range before the image is applied. An empty place answers
/// `Refused` after "Preset empty"; the model is then unchanged.
Outcome ReadUserPreset(int index, const Presets::Progress &progress);
/// Applies factory preset `index` (0..15) from the program's table and recalls it on the unit
/// (0x1B only).
Outcome ReadFactoryPreset(int index, const Presets::Progress &progress);

/// The name as it is stored: leading and trailing blanks removed, 1..8 characters with codes
/// 32..127; nothing when the name cannot be stored.
std::optional<QString> CheckedPresetName(const QString &typed);

/// The store window's Store: asks, checks the name ("Symbol not admited" when it cannot be
/// stored), then stores it with `Memorize_eep`.
Outcome StorePresetAsked(int place, const QString &typedName, const Presets::Progress &progress);

/// Writes `ParamImage` and the centred `name` into user place `place` (0..15, preset place + 17):
/// 32 image frames at place * 128 + 288, 2 name frames at place * 8 + 3872 (0x18), then the used
/// mark (0x11) and the end of the store (0x3B). The list takes the name and the used flag only
/// when every frame went through; a store that stops leaves the place unused.
Outcome Memorize_eep(int place, const QString &name, const Presets::Progress &progress);

} // namespace DevicePresets
