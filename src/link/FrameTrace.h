#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QTime>

#include "link/SerialComponent.h"

/// The frame trace: the serial component reports every exchange and every open here while
/// someone listens (the Trace window, the command line's --trace). Nobody listening costs the
/// component one test of an empty hook per exchange.
///
/// One line per event, the same in the window, in a saved trace and on the command line:
///
///     14:03:12.345  F0 10 25 00 00 00 00 00 00 F7 -> F0 10 25 00 00 00 01 00 10 F7  21.4 ms
///     answered 14:03:14.401  F0 10 21 00 00 00 00 00 00 F7 -> none  2000.3 ms  time-out
///     14:03:14.402  open COM3 /dev/pts/4  0.3 ms  reopen
///
/// "request -> reply" reads as the virtual unit's log writes it; the reply is what came back,
/// whole or not ("none" when nothing did).
namespace FrameTrace {

enum class Outcome {
    Answered,
    Timeout,
    Framing,
    PortError,
    Busy, ///< refused: another exchange waits for its reply
    Opened,
    Reopened, ///< the device opened before is opened again (the recovery's reopen)
    OpenFailed,
};

struct Entry
{
    /// When the request went out or the open began.
    QTime at;
    Outcome outcome = Outcome::Answered;
    /// The 10 bytes sent; empty for an open.
    QByteArray request;
    /// The bytes that came back.
    QByteArray reply;
    double roundTripMs = 0;
    /// For an open: the port name (empty when a device path was opened directly), the device,
    /// and why it failed.
    QString port;
    QString device;
    QString detail;
};

using Hook = std::function<void(const Entry &)>;

/// Starts (a function) or stops (an empty one) the trace; one listener at a time.
void SetHook(Hook hook);
bool IsOn();
void Record(const Entry &entry);

/// Times one exchange or open for the trace.
class Stopwatch
{
public:
    Stopwatch();
    Entry Exchange(const FrameBuffer &request, const QByteArray &reply, int result) const;
    Entry Open(const QString &port, const QString &device, Outcome outcome,
               const QString &detail) const;

private:
    double ElapsedMs() const;

    QTime at;
    qint64 startNs;
};

/// "F0 10 25 00 00 00 00 00 00 F7".
QString HexText(const QByteArray &bytes);
/// "answered", "time-out", "framing", "port error", "line busy", "open", "reopen",
/// "open failed".
QString OutcomeText(Outcome outcome);
/// The entry's trace line, without a line end.
QString Line(const Entry &entry);
/// The command byte of an exchange's request, -1 for an open.
int Command(const Entry &entry);

} // namespace FrameTrace
