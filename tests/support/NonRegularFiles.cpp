#include "NonRegularFiles.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>

bool MakePipe(const QString &path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

QString DeviceNode(const QString &folder)
{
    const QString node = folder + QStringLiteral("/device.RFP");
    const bool made =
        mknod(QFile::encodeName(node).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    return made ? node : QStringLiteral("/dev/null");
}
