#include "shell/FileAccess.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileAccess {

namespace {

Kind KindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::Regular;
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Kind::Device;
    if (S_ISFIFO(mode))
        return Kind::Pipe;
    return Kind::Special;
}

} // namespace

Kind KindOf(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (stat(name.constData(), &info) == 0)
        return KindOfMode(info.st_mode);
    return lstat(name.constData(), &info) == 0 ? Kind::DanglingLink : Kind::Missing;
}

QString Describe(Kind kind)
{
    switch (kind) {
    case Kind::Folder:
        return QStringLiteral("a folder");
    case Kind::Device:
        return QStringLiteral("a device");
    case Kind::Pipe:
        return QStringLiteral("a named pipe");
    case Kind::DanglingLink:
        return QStringLiteral("a link to a file that does not exist");
    case Kind::Special:
        return QStringLiteral("a special file");
    case Kind::Missing:
    case Kind::Regular:
        break;
    }
    return {};
}

FileStart ReadStart(const QString &path, qint64 maxSize)
{
    const Kind kind = KindOf(path);
    if (kind != Kind::Regular)
        return {kind, {}, {}};
    const int handle =
        open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle < 0)
        return {kind, {}, qt_error_string(errno)};
    struct stat info = {};
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(handle);
        return {KindOfMode(info.st_mode), {}, {}};
    }
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(handle); // a handle it did not take stays ours
        return {kind, {}, file.errorString()};
    }
    const QByteArray bytes = file.read(maxSize);
    if (file.error() != QFileDevice::NoError)
        return {kind, {}, file.errorString()};
    return {kind, bytes, {}};
}

} // namespace FileAccess
