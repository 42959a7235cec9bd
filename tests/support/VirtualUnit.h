#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

/// One line of the virtual unit's log: the frame it got and the reply it sent (none when it kept
/// silent).
struct UnitLogEntry
{
    QByteArray request;
    std::optional<QByteArray> reply;
};

struct VirtualUnitOptions
{
    /// Registers the unit as COMn in the port map (`--com n`) when n is 1..32.
    int comPort = 0;
    /// Further options as the unit takes them: {"--pace"}, {"--drop-every", "3"}, ...
    QStringList extra;
    /// Keeps the unit's log (`--log`) in a temporary file, read by `Log`.
    bool log = true;
};

/// Runs the virtual unit (`MXRF_UNIT_PROGRAM`) on a pseudo-terminal for a test or a benchmark and
/// stops it (SIGTERM) when it goes. The unit inherits the environment: under a `TemporaryConfig`
/// its port map entry lands in the temporary folder.
class VirtualUnit
{
public:
    VirtualUnit() = default;
    ~VirtualUnit();
    VirtualUnit(const VirtualUnit &) = delete;
    VirtualUnit &operator=(const VirtualUnit &) = delete;

    /// Starts the unit and reads the pty path from its first line. False, with `ErrorString`,
    /// when it did not come up within a few seconds.
    bool Start(const VirtualUnitOptions &options = {});
    /// Ends the unit with SIGTERM (killed if it lingers) and waits for it.
    void Stop();
    bool IsRunning() const;

    /// The pty the unit plays on, as "/dev/pts/N".
    const QString &PtyPath() const { return ptyPath; }
    const QString &ErrorString() const { return error; }

    /// The log lines written so far, one per frame the unit got.
    QStringList LogLines() const;
    /// Waits until the log holds at least `count` lines (at most `timeoutMs`) and answers every
    /// line read, parsed; fewer than `count` when the time ran out.
    std::vector<UnitLogEntry> Log(int count = 0, int timeoutMs = 2000) const;

    /// "<request hex> -> <reply hex>" or "<request hex> -> none"; nullopt for anything else.
    static std::optional<UnitLogEntry> ParseLogLine(const QString &line);

private:
    QProcess process;
    QTemporaryDir folder;
    QString ptyPath;
    QString logPath;
    QString error;
};
