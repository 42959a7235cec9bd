#pragma once

#include <QString>
#include <optional>

#include "UnitMemory.h"

namespace Emulator {

/// The unit's memory kept in a file across runs (--state): a short header, then the 4096 bytes.
/// A missing file gives a fresh memory; a file that is not a memory file is refused (nullopt).
std::optional<Memory> LoadMemory(const QString &path, QString &error);
/// Writes a temporary file beside `path` and renames it over `path`, so a reader (or the next run
/// after a crash) sees either the old memory or the new one, never a torn file.
bool SaveMemory(const QString &path, const Memory &memory, QString &error);

} // namespace Emulator
