#include "link/QtSerialComponent.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

#include "link/PortMap.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#endif

namespace {

constexpr int FrameSize = 10;
constexpr int Waiting = -1;

/// A USB adapter otherwise holds a short reply up to 16 ms before handing it over. A pty refuses
/// the request, which is fine.
void RequestLowLatency([[maybe_unused]] qintptr handle)
{
#ifdef Q_OS_LINUX
    serial_struct settings{};
    if (ioctl(static_cast<int>(handle), TIOCGSERIAL, &settings) != 0)
        return;
    settings.flags |= ASYNC_LOW_LATENCY;
    ioctl(static_cast<int>(handle), TIOCSSERIAL, &settings);
#endif
}

/// Flushing a tty's input costs a quarter of a millisecond on a pty, a sizeable part of a paced
/// exchange; most of the time there is nothing to flush.
bool HasInput(QSerialPort &port)
{
    if (port.bytesAvailable() > 0)
        return true;
#ifdef Q_OS_UNIX
    int waiting = 0;
    return ioctl(static_cast<int>(port.handle()), FIONREAD, &waiting) != 0 || waiting > 0;
#else
    return true;
#endif
}

bool IsFramed(const QByteArray &reply)
{
    return static_cast<std::uint8_t>(reply[0]) == FrameStart &&
        static_cast<std::uint8_t>(reply[FrameSize - 1]) == FrameEnd;
}

/// A whole frame that answers another command: the late reply to an earlier frame whose wait
/// ran out. Taken for this frame's reply, it would shift every reply after it by one frame.
bool IsStaleReply(const QByteArray &bytes, std::uint8_t command)
{
    return IsFramed(bytes) && static_cast<std::uint8_t>(bytes[2]) != command;
}

/// Errors after which the device is gone. Qt 6.4 keeps a hung-up port open and raises ReadError
/// again on every turn of the event loop, so these close the port at once.
bool IsDeviceLost(int error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError ||
        error == QSerialPort::WriteError;
}

} // namespace

struct QtSerialComponent::PendingReply
{
    std::uint8_t command = 0;
    QByteArray bytes;
    int result = Waiting;
    QEventLoop loop;
};

QtSerialComponent::QtSerialComponent() : port(std::make_unique<QSerialPort>())
{
    QObject::connect(port.get(), &QSerialPort::readyRead, port.get(), [this] { OnReadyRead(); });
    QObject::connect(port.get(), &QSerialPort::errorOccurred, port.get(),
                     [this](QSerialPort::SerialPortError error) { OnPortError(error); });
}

QtSerialComponent::~QtSerialComponent()
{
    Close();
}

int QtSerialComponent::Initialize(int frameSize, int portCount)
{
    const bool ready = frameSize == FrameSize && portCount == PortMap::LastPort &&
        QCoreApplication::instance() != nullptr;
    return ready ? 0 : 1;
}

int QtSerialComponent::Open(const QString &portName, int baud)
{
    Close();
    if (PortMap::PortNumber(portName) == 0)
        return OpenUnknownPort;
    device = PortMap::DevicePath(portName);
    if (device.isEmpty())
        return OpenNoDevice;
    port->setPortName(device);
    const bool configured = port->setBaudRate(baud) && port->setDataBits(QSerialPort::Data8) &&
        port->setParity(QSerialPort::NoParity) && port->setStopBits(QSerialPort::OneStop) &&
        port->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured || !port->open(QIODevice::ReadWrite))
        return OpenFailed;
    RequestLowLatency(port->handle());
    return OpenOk;
}

int QtSerialComponent::Exchange(FrameBuffer &buffer, int timeoutMs, bool, bool, int)
{
    if (pending)
        return ExchangeBusy;
    if (!IsOpen())
        return ExchangePortError;
    PendingReply reply;
    reply.command = buffer[2];
    pending = &reply;
    const int result = SendAndWait(buffer, timeoutMs, reply);
    pending = nullptr;
    DiscardInput();
    if (result == ExchangeOk)
        std::copy_n(reply.bytes.cbegin(), FrameSize, buffer.begin());
    return result;
}

int QtSerialComponent::SendAndWait(const FrameBuffer &frame, int timeoutMs, PendingReply &reply)
{
    DiscardInput();
    port->write(reinterpret_cast<const char *>(frame.data()), FrameSize);
    port->flush();
    if (reply.result == Waiting) {
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] { Finish(ExchangeTimeout); });
        timer.start(timeoutMs);
        reply.loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (reply.result != ExchangeOk)
        return reply.result;
    return IsFramed(reply.bytes) ? ExchangeOk : ExchangeFraming;
}

void QtSerialComponent::Close()
{
    if (port->isOpen())
        port->close();
    Finish(ExchangePortError);
}

bool QtSerialComponent::IsOpen() const
{
    return port->isOpen();
}

QString QtSerialComponent::DevicePath() const
{
    return port->isOpen() ? device : QString();
}

void QtSerialComponent::OnReadyRead()
{
    const QByteArray bytes = port->readAll();
    if (!pending || pending->result != Waiting)
        return; // input nobody asked for
    pending->bytes += bytes;
    while (pending->bytes.size() >= FrameSize && IsStaleReply(pending->bytes, pending->command))
        pending->bytes.remove(0, FrameSize);
    if (pending->bytes.size() >= FrameSize)
        Finish(ExchangeOk);
}

void QtSerialComponent::OnPortError(int error)
{
    if (!IsDeviceLost(error))
        return;
    if (port->isOpen())
        port->close();
    Finish(ExchangePortError);
}

void QtSerialComponent::Finish(int result)
{
    if (!pending || pending->result != Waiting)
        return;
    pending->result = result;
    pending->loop.quit();
}

void QtSerialComponent::DiscardInput()
{
    if (port->isOpen() && HasInput(*port))
        port->clear(QSerialPort::Input);
}
