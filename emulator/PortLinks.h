#pragma once

#include <QString>
#include <vector>

namespace Emulator {

/// The entry `COMn` of the program's per-user port map (the program resolves "COMn" through it).
QString PortMapEntry(int port);

/// Symbolic links to the pty slave (--link, --com). Each replaces whatever link stood at its path;
/// on exit the unit removes those that still point at its pty.
class PortLinks
{
public:
    explicit PortLinks(QString target) : target(std::move(target)) { }
    PortLinks(const PortLinks &) = delete;
    PortLinks &operator=(const PortLinks &) = delete;
    ~PortLinks() { RemoveAll(); }

    bool Add(const QString &path, QString &error);
    void RemoveAll();

private:
    QString target;
    std::vector<QString> links;
};

} // namespace Emulator
