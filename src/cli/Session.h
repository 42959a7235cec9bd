#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "cli/CliSerial.h"

/// One run of the command-line tool against the unit: it finds the unit the way Connect does (or
/// on the port or device given), runs the program's load after connecting, answers the
/// program's questions with Yes, writes its messages to stderr and releases the unit at the end.
/// The top layer of the program: uses every core folder, never a window.
namespace Cli {

/// The tool's exit codes.
enum Exit : int {
    Done = 0,
    Usage = 1,
    NoUnit = 2, ///< no unit found, or the port cannot be opened
    Refused = 3, ///< the unit refused, or it is locked
    LinkLost = 4, ///< the link was lost part-way
    BadInput = 5, ///< a file or value refused before anything was sent
};

struct GlobalOptions
{
    /// "COMn" through the port map.
    QString port;
    /// A device path used directly.
    QString device;
    bool trace = false;
    bool json = false;
};

class Session
{
public:
    explicit Session(const GlobalOptions &options);
    /// Releases the unit (0x0F) when the port is still open.
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    /// Finds the unit and loads its state into the program's model (the load after connecting,
    /// with a progress bar). Nothing when it worked, else the exit code, having said why.
    std::optional<Exit> Connect();
    /// `Refused`, having said so, when the unit is locked: the windows do not change a locked
    /// unit's setting either.
    std::optional<Exit> RefuseIfLocked() const;

    const CliSerial &Serial() const { return serial; }
    /// The texts of the program's messages since the session started, oldest first.
    const QStringList &Messages() const { return told; }

private:
    bool FindUnit();
    QString NotFoundDetail() const;

    GlobalOptions options;
    CliSerial serial;
    QStringList told;
};

} // namespace Cli
