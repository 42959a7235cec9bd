#pragma once

#include <QStringList>
#include <optional>

#include "Faults.h"
#include "UnitModel.h"

namespace Emulator {

struct Options
{
    QString linkPath;
    int comPort = 0; ///< 0: not registered in the port map
    QString logPath;
    QString statePath;
    bool pace = false;
    Firmware firmware;
    FaultOptions faults;
};

/// Reads the command line. --help prints the usage and ends the process; a bad value is reported
/// in `error` (nullopt).
std::optional<Options> ParseOptions(const QStringList &arguments, QString &error);

} // namespace Emulator
