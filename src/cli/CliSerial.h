#pragma once

#include <cstdio>
#include <vector>

#include <QElapsedTimer>
#include <QString>

#include "link/QtSerialComponent.h"

namespace Cli {

/// The serial component of the command-line tool: the program's own `QtSerialComponent`, opened
/// on a device path instead of a port name when one was given, with every exchange written to
/// stderr when tracing, and a record of the frames the unit answered (what reached it).
class CliSerial : public SerialComponent
{
public:
    CliSerial();

    /// Every `Open` opens this device, whatever port name the link asks for.
    void SetDevice(const QString &path) { device = path; }
    void SetTrace(bool on) { trace = on; }

    int Initialize(int frameSize, int portCount) override;
    int Open(const QString &portName, int baud) override;
    int Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second,
                 int replyMode) override;
    void Close() override;
    bool IsOpen() const override;

    /// The requests that got a reply, in order.
    const std::vector<FrameBuffer> &Answered() const { return answered; }
    /// The device the last `Open` tried.
    const QString &LastDevice() const { return lastDevice; }

private:
    /// One trace line on stderr: seconds since the start, then the text.
    void TraceLine(qint64 atNs, const QString &text) const;

    QtSerialComponent port;
    QString device;
    QString lastDevice;
    bool trace = false;
    QElapsedTimer clock;
    std::vector<FrameBuffer> answered;
};

/// "F0 10 25 00 00 00 00 00 00 F7".
QString HexText(const FrameBuffer &frame);

} // namespace Cli
