#include "link/FrameTrace.h"

#include <chrono>

#include <QStringList>

namespace FrameTrace {

namespace {

Hook hook;

qint64 NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Outcome ExchangeOutcome(int result)
{
    switch (result) {
    case ExchangeOk:
        return Outcome::Answered;
    case ExchangeTimeout:
        return Outcome::Timeout;
    case ExchangeFraming:
        return Outcome::Framing;
    case ExchangeBusy:
        return Outcome::Busy;
    default:
        return Outcome::PortError;
    }
}

QString Event(const Entry &entry)
{
    if (!entry.request.isEmpty())
        return QStringLiteral("%1 -> %2")
            .arg(HexText(entry.request),
                 entry.reply.isEmpty() ? QStringLiteral("none") : HexText(entry.reply));
    QStringList words{QStringLiteral("open")};
    if (!entry.port.isEmpty())
        words << entry.port;
    words << (entry.device.isEmpty() ? QStringLiteral("(no device)") : entry.device);
    return words.join(QLatin1Char(' '));
}

} // namespace

void SetHook(Hook newHook)
{
    hook = std::move(newHook);
}

bool IsOn()
{
    return static_cast<bool>(hook);
}

void Record(const Entry &entry)
{
    if (hook)
        hook(entry);
}

Stopwatch::Stopwatch() : at(QTime::currentTime()), startNs(NowNs()) { }

double Stopwatch::ElapsedMs() const
{
    return (NowNs() - startNs) / 1e6;
}

Entry Stopwatch::Exchange(const FrameBuffer &request, const QByteArray &reply, int result) const
{
    Entry entry;
    entry.at = at;
    entry.outcome = ExchangeOutcome(result);
    entry.request = QByteArray(reinterpret_cast<const char *>(request.data()), request.size());
    entry.reply = reply;
    entry.roundTripMs = ElapsedMs();
    return entry;
}

Entry Stopwatch::Open(const QString &port, const QString &device, Outcome outcome,
                      const QString &detail) const
{
    Entry entry;
    entry.at = at;
    entry.outcome = outcome;
    entry.roundTripMs = ElapsedMs();
    entry.port = port;
    entry.device = device;
    entry.detail = detail;
    return entry;
}

QString HexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString OutcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Answered:
        return QStringLiteral("answered");
    case Outcome::Timeout:
        return QStringLiteral("time-out");
    case Outcome::Framing:
        return QStringLiteral("framing");
    case Outcome::PortError:
        return QStringLiteral("port error");
    case Outcome::Busy:
        return QStringLiteral("line busy");
    case Outcome::Opened:
        return QStringLiteral("open");
    case Outcome::Reopened:
        return QStringLiteral("reopen");
    case Outcome::OpenFailed:
        break;
    }
    return QStringLiteral("open failed");
}

QString Line(const Entry &entry)
{
    QString outcome = OutcomeText(entry.outcome);
    if (!entry.detail.isEmpty())
        outcome += QStringLiteral(": ") + entry.detail;
    return QStringLiteral("%1  %2  %3 ms  %4")
        .arg(entry.at.toString(QStringLiteral("HH:mm:ss.zzz")), Event(entry),
             QString::number(entry.roundTripMs, 'f', 1), outcome);
}

int Command(const Entry &entry)
{
    return entry.request.size() > 2 ? static_cast<std::uint8_t>(entry.request[2]) : -1;
}

} // namespace FrameTrace
