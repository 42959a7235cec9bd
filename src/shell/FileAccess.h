#pragma once

#include <QByteArray>
#include <QString>

/// The program's own files on the PC (preset files, init.cfg) are regular files, or links to
/// one. Under such a name a pipe would block an open for good, and a device or a folder is no
/// place for them: these are found before anything is opened, and the open itself never waits.
/// Depends on nothing of ours.
namespace FileAccess {

enum class Kind { Missing, Regular, Folder, Device, Pipe, DanglingLink, Special };

/// What the name stands for, links followed.
Kind KindOf(const QString &path);

/// "a folder", "a named pipe", ...: what a name of a refused kind is, for the operator.
QString Describe(Kind kind);

/// A file may be written under the name: nothing is there yet, or a regular file. Written with
/// `QSaveFile`, it is then replaced whole and nothing is written through to a pipe or a device.
inline bool MayWrite(Kind kind)
{
    return kind == Kind::Missing || kind == Kind::Regular;
}

struct FileStart
{
    /// What the name stood for; the bytes were read only from a regular file.
    Kind kind = Kind::Missing;
    QByteArray bytes;
    /// Why a regular file could not be read; empty when it was.
    QString error;
};

/// Reads up to `maxSize` bytes from the start of a regular file. The open never waits and takes
/// a regular file only, so a pipe or a device put under the name after the check is refused too.
FileStart ReadStart(const QString &path, qint64 maxSize);

} // namespace FileAccess
