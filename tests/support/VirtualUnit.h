#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

/// One exchange in the virtual unit's log: the frame it got and the bytes it sent back (none when
/// it kept silent or hung up), garbage and corruption included.
struct UnitLogEntry
{
    QByteArray request;
    std::optional<QByteArray> reply;
    /// The reply was cut short on purpose.
    bool partial = false;
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
    /// The unit's process id, for signals (SIGUSR1 drops its next reply); 0 when it is not
    /// running.
    qint64 ProcessId() const { return process.processId(); }

    /// The unit drops its next reply (SIGUSR1).
    void DropNextReply();
    /// The unit stops dead with its line still open, as when the cable to it is pulled and the
    /// adapter stays (SIGSTOP); `Stop` wakes it first.
    void Freeze();

    /// The pty the unit plays on, as "/dev/pts/N".
    const QString &PtyPath() const { return ptyPath; }
    const QString &ErrorString() const { return error; }

    /// Waits until the log holds at least `count` exchanges (at most `timeoutMs`) and answers all
    /// of them; fewer than `count` when the time ran out.
    std::vector<UnitLogEntry> Log(int count = 0, int timeoutMs = 2000) const;

    /// The log lines written so far: one per frame the unit got, and "garbage ..." lines for
    /// bytes that made no frame.
    QStringList LogLines() const;

private:
    QProcess process;
    QTemporaryDir folder;
    QString ptyPath;
    QString logPath;
    QString error;
    bool frozen = false;
};
