#include "cli/CliSerial.h"

#include <QStringList>

#include "link/PortMap.h"

namespace Cli {

namespace {

QString ResultText(int result)
{
    switch (result) {
    case ExchangeTimeout:
        return QStringLiteral("no reply");
    case ExchangeFraming:
        return QStringLiteral("garbled reply");
    case ExchangePortError:
        return QStringLiteral("port error");
    case ExchangeBusy:
        return QStringLiteral("line busy");
    default:
        return QStringLiteral("failed");
    }
}

} // namespace

QString HexText(const FrameBuffer &frame)
{
    QStringList bytes;
    for (std::uint8_t byte : frame)
        bytes << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return bytes.join(QLatin1Char(' '));
}

CliSerial::CliSerial()
{
    clock.start();
}

int CliSerial::Initialize(int frameSize, int portCount)
{
    return port.Initialize(frameSize, portCount);
}

int CliSerial::Open(const QString &portName, int baud)
{
    lastDevice = device.isEmpty() ? PortMap::DevicePath(portName) : device;
    const int result = device.isEmpty() ? port.Open(portName, baud) : port.OpenDevice(device, baud);
    TraceLine(clock.nsecsElapsed(),
              QStringLiteral("open %1 (%2): %3")
                  .arg(portName, lastDevice.isEmpty() ? QStringLiteral("no device") : lastDevice,
                       result == OpenOk ? QStringLiteral("open") : QStringLiteral("failed")));
    return result;
}

int CliSerial::Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second, int replyMode)
{
    const FrameBuffer request = buffer;
    const qint64 started = clock.nsecsElapsed();
    const int result = port.Exchange(buffer, timeoutMs, first, second, replyMode);
    const double roundTripMs = (clock.nsecsElapsed() - started) / 1e6;
    if (result == ExchangeOk)
        answered.push_back(request);
    TraceLine(started,
              QStringLiteral("%1 -> %2  %3 ms")
                  .arg(HexText(request),
                       result == ExchangeOk ? HexText(buffer) : ResultText(result),
                       QString::number(roundTripMs, 'f', 1)));
    return result;
}

void CliSerial::Close()
{
    port.Close();
}

bool CliSerial::IsOpen() const
{
    return port.IsOpen();
}

void CliSerial::TraceLine(qint64 atNs, const QString &text) const
{
    if (!trace)
        return;
    std::fprintf(stderr, "%10.4f s  %s\n", atNs / 1e9, qPrintable(text));
    std::fflush(stderr);
}

} // namespace Cli
