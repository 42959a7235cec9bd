#pragma once

#include <QString>

/// Makes a named pipe; a program that opened it for reading would wait for a writer for good.
bool MakePipe(const QString &path);

/// A character device to point the program at: one made in `folder` when the test may make
/// one, else /dev/null. Running as root, a fault that replaced a device by a file would
/// otherwise replace /dev/null itself.
QString DeviceNode(const QString &folder);
