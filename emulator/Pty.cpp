#include "Pty.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace Emulator {

namespace {

QString SystemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(what, std::strerror(errno));
}

/// No echo, no line editing, no character translation: bytes pass as they are.
bool MakeRaw(int descriptor)
{
    termios settings{};
    if (tcgetattr(descriptor, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    return tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

} // namespace

bool Pty::Open(QString &error)
{
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        error = SystemError("pty slave");
        Close();
        return false;
    }
    slavePath = QString::fromLocal8Bit(name);
    slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !MakeRaw(slave) || fcntl(master, F_SETFL, O_NONBLOCK) != 0) {
        error = SystemError(name);
        Close();
        return false;
    }
    return true;
}

void Pty::Close()
{
    for (int *descriptor : {&master, &slave}) {
        if (*descriptor >= 0)
            close(*descriptor);
        *descriptor = -1;
    }
}

std::size_t Pty::Read(std::span<Byte> buffer)
{
    const ssize_t count = read(master, buffer.data(), buffer.size());
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void Pty::Write(std::span<const Byte> bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = write(master, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        bytes = bytes.subspan(static_cast<std::size_t>(count));
    }
}

} // namespace Emulator
