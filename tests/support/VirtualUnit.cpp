#include "VirtualUnit.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <csignal>

namespace {

constexpr int StartTimeoutMs = 5000;
constexpr int StopTimeoutMs = 3000;
constexpr int LogPollMs = 5;

/// "<request> -> <reply>", "<request> -> <reply> (partial)" or "<request> -> none", bytes in
/// hex; nullopt for any other line.
std::optional<UnitLogEntry> ParseLogLine(const QString &line)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9A-Fa-f ]+) -> (none|[0-9A-Fa-f ]+?)( \\(partial\\))?$"));
    const QRegularExpressionMatch match = pattern.match(line.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    UnitLogEntry entry;
    entry.request = QByteArray::fromHex(match.captured(1).toLatin1());
    if (match.captured(2) != QLatin1String("none"))
        entry.reply = QByteArray::fromHex(match.captured(2).toLatin1());
    entry.partial = match.hasCaptured(3);
    return entry;
}

std::vector<UnitLogEntry> Exchanges(const QStringList &lines)
{
    std::vector<UnitLogEntry> entries;
    for (const QString &line : lines) {
        if (const auto entry = ParseLogLine(line))
            entries.push_back(*entry);
    }
    return entries;
}

QStringList Arguments(const VirtualUnitOptions &options, const QString &logPath)
{
    QStringList arguments = options.extra;
    if (options.comPort > 0)
        arguments << "--com" << QString::number(options.comPort);
    if (!logPath.isEmpty())
        arguments << "--log" << logPath;
    return arguments;
}

} // namespace

VirtualUnit::~VirtualUnit()
{
    Stop();
}

bool VirtualUnit::Start(const VirtualUnitOptions &options)
{
    Stop();
    logPath = options.log ? folder.filePath("unit.log") : QString();
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(MXRF_UNIT_PROGRAM), Arguments(options, logPath));
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!process.canReadLine() && process.state() != QProcess::NotRunning &&
           !deadline.hasExpired())
        process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    const QString line = QString::fromLocal8Bit(process.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("PTY /"))) {
        error = QStringLiteral("the unit did not announce its pty (first line \"%1\", %2)")
                    .arg(line, process.errorString());
        Stop();
        return false;
    }
    ptyPath = line.mid(4);
    error.clear();
    return true;
}

void VirtualUnit::Stop()
{
    if (frozen && process.state() != QProcess::NotRunning)
        ::kill(static_cast<pid_t>(process.processId()), SIGCONT);
    frozen = false;
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(StopTimeoutMs)) {
            process.kill();
            process.waitForFinished(StopTimeoutMs);
        }
    }
    ptyPath.clear();
}

void VirtualUnit::DropNextReply()
{
    if (process.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(process.processId()), SIGUSR1);
}

void VirtualUnit::Freeze()
{
    if (process.state() == QProcess::Running)
        frozen = ::kill(static_cast<pid_t>(process.processId()), SIGSTOP) == 0;
}

QStringList VirtualUnit::LogLines() const
{
    QFile file(logPath);
    if (logPath.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

std::vector<UnitLogEntry> VirtualUnit::Log(int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    std::vector<UnitLogEntry> entries = Exchanges(LogLines());
    while (static_cast<int>(entries.size()) < count && !deadline.hasExpired()) {
        QThread::msleep(LogPollMs);
        entries = Exchanges(LogLines());
    }
    return entries;
}
