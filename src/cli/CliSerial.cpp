#include "cli/CliSerial.h"

#include "link/PortMap.h"

namespace Cli {

int CliSerial::Initialize(int frameSize, int portCount)
{
    return port.Initialize(frameSize, portCount);
}

int CliSerial::Open(const QString &portName, int baud)
{
    lastDevice = device.isEmpty() ? PortMap::DevicePath(portName) : device;
    return device.isEmpty() ? port.Open(portName, baud) : port.OpenDevice(device, baud);
}

int CliSerial::Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second, int replyMode)
{
    const FrameBuffer request = buffer;
    const int result = port.Exchange(buffer, timeoutMs, first, second, replyMode);
    if (result == ExchangeOk)
        answered.push_back(request);
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

} // namespace Cli
