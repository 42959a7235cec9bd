#include "StateFile.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

namespace Emulator {

namespace {
const QByteArray Header = QByteArrayLiteral("MX-RF418 unit memory 1\n");
}

std::optional<Memory> LoadMemory(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.exists())
        return FreshMemory();
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray content = file.readAll();
    if (!content.startsWith(Header) || content.size() != Header.size() + MemorySize) {
        error = QStringLiteral("%1 is not a unit memory file").arg(path);
        return std::nullopt;
    }
    Memory memory{};
    std::copy_n(content.constData() + Header.size(), MemorySize, memory.begin());
    return memory;
}

bool SaveMemory(const QString &path, const Memory &memory, QString &error)
{
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(Header) == Header.size() &&
        file.write(reinterpret_cast<const char *>(memory.data()), MemorySize) == MemorySize &&
        file.flush();
    file.close();
    if (!written || std::rename(QFile::encodeName(temporary), QFile::encodeName(path)) != 0) {
        error = QStringLiteral("cannot save the unit memory to %1").arg(path);
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace Emulator
