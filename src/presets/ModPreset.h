#pragma once

#include <array>
#include <cstdint>

#include <QString>

/// The preset list of the unit: 32 names of 8 characters, their used flags and the current
/// preset. Depends on model/ValueTables (the factory names).
namespace ModPreset {

inline constexpr int PresetCount = 32;
inline constexpr int FactoryCount = 16;
inline constexpr int NameLength = 8;

/// The name of an unused preset.
QString EmptyName();

struct State
{
    std::array<QString, PresetCount> PresetNames;
    std::array<bool, PresetCount> PresetUsed{};
    /// Index 0..31 of the preset last recalled or stored.
    std::int16_t CurrentPreset = 0;
};

extern State state;

/// Every name " Empty  ", none used, current preset 0.
void Reset();
/// Presets 1..16 used, with the factory names.
void FillFactoryEntries();
/// A name centred in 8 characters (the odd blank goes in front): "AB" -> "   AB   ". Longer
/// names keep their first 8 characters.
QString CenteredName(const QString &name);
/// "P" + number + " - " + the preset's name without its leading blanks, for index 0..31.
QString PresetTitleFor(int index);

} // namespace ModPreset
