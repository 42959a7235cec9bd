#include "PortLinks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Emulator {

QString PortMapEntry(int port)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/mxrf418/ports");
    return folder + QStringLiteral("/COM%1").arg(port);
}

bool PortLinks::Add(const QString &path, QString &error)
{
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isSymLink()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    if (!QDir().mkpath(existing.absolutePath())) {
        error = QStringLiteral("cannot create the folder of %1").arg(path);
        return false;
    }
    QFile::remove(path); // a dangling link is not seen by exists()
    if (!QFile::link(target, path)) {
        error = QStringLiteral("cannot link %1 to %2").arg(path, target);
        return false;
    }
    links.push_back(path);
    return true;
}

void PortLinks::RemoveAll()
{
    for (const QString &path : links) {
        if (QFileInfo(path).symLinkTarget() == target)
            QFile::remove(path);
    }
    links.clear();
}

} // namespace Emulator
