#pragma once

#include <vector>

#include <QString>

#include "link/QtSerialComponent.h"

namespace Cli {

/// The serial component of the command-line tool: the program's own `QtSerialComponent`, opened
/// on a device path instead of a port name when one was given, with a record of the frames the
/// unit answered (what reached it).
class CliSerial : public SerialComponent
{
public:
    /// Every `Open` opens this device, whatever port name the link asks for.
    void SetDevice(const QString &path) { device = path; }

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
    QtSerialComponent port;
    QString device;
    QString lastDevice;
    std::vector<FrameBuffer> answered;
};

} // namespace Cli
