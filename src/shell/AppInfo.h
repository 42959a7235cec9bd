#pragma once

#include <QString>

/// What the program knows about itself and the unit it talks to, for the about window.
namespace AppInfo {

inline constexpr const char *SoftwareVersion = "1.0.1";
inline constexpr const char *DefaultFirmwareVersion = "1.0.0";

struct State
{
    /// Replaced by the unit's version after connecting.
    QString FirmwareVersion = DefaultFirmwareVersion;
};

extern State state;

void Reset();

} // namespace AppInfo
