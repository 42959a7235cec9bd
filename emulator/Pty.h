#pragma once

#include <QString>

#include "Frame.h"

namespace Emulator {

/// The unit's end of a pseudo-terminal. The program opens the slave side as its serial port.
/// The unit holds a slave descriptor of its own, so that the master never sees a hang-up while
/// the program has its port closed: the program can close and reopen the port at will.
class Pty
{
public:
    Pty() = default;
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    ~Pty() { Close(); }

    /// Opens a raw pty; on failure `error` says why.
    bool Open(QString &error);
    void Close();

    int Master() const { return master; }
    const QString &SlavePath() const { return slavePath; }

    /// Reads what the program sent (up to `buffer.size()` bytes); 0 when nothing is waiting.
    std::size_t Read(std::span<Byte> buffer);
    /// Writes bytes to the program; what the pty cannot take (nobody reading) is dropped.
    void Write(std::span<const Byte> bytes);

private:
    int master = -1;
    int slave = -1;
    QString slavePath;
};

} // namespace Emulator
