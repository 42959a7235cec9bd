#include "link/ModTxRx.h"

#include <algorithm>
#include <cmath>

#include <QScopedValueRollback>

#include "link/LineUse.h"
#include "link/PortMap.h"
#include "shell/Messages.h"

namespace ModTxRx {

using namespace UnitProtocol;

State state;

namespace {

std::function<void()> panelCloseHook;

FrameBuffer MakeFrame(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                      std::uint8_t d3, std::uint8_t d4, std::uint8_t d5)
{
    return {FrameStart, DeviceNumber, cmd, d0, d1, d2, d3, d4, d5, FrameEnd};
}

void KeepReply(const FrameBuffer &reply)
{
    std::copy(reply.begin(), reply.end(), state.RxFrame.begin());
}

bool OpenComPort()
{
    return state.SerialPort && state.SerialPort->Open(PortName(state.ComPort), BaudRate) == 0;
}

void ClosePortIfOpen()
{
    if (state.SerialPort && state.SerialPort->IsOpen())
        state.SerialPort->Close();
}

/// Opens the remembered port and asks for the identity.
bool TryComPort()
{
    return OpenComPort() && IdentifyDevice();
}

} // namespace

void Reset()
{
    state = State{};
    panelCloseHook = nullptr;
}

ExchangeClass ExchangeClassFor(std::uint8_t command)
{
    if (std::ranges::find(SlowCommands, command) != SlowCommands.end())
        return SlowExchange;
    return command == MeterPollCommand ? MeterPollExchange : OrdinaryExchange;
}

QString PortName(int port)
{
    return QStringLiteral("COM%1").arg(port);
}

void TransferFrame(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                   std::uint8_t d3, std::uint8_t d4, std::uint8_t d5)
{
    state.TransferFailed = false;
    if (state.DemoMode || state.SendSuspended)
        return;
    if (!state.LinkIdle) {
        // A timer fired while another exchange waits: the line is taken, this frame is not sent.
        state.TransferFailed = true;
        return;
    }
    const LineUse::Hold waiting;
    state.LinkIdle = false;
    state.TxFrame = MakeFrame(cmd, d0, d1, d2, d3, d4, d5);
    FrameBuffer buffer = state.TxFrame;
    const ExchangeClass exchange = ExchangeClassFor(cmd);
    const int result = state.SerialPort
        ? state.SerialPort->Exchange(buffer, exchange.timeoutMs, true, false, exchange.replyMode)
        : ExchangePortError;
    if (result == ExchangeOk)
        KeepReply(buffer);
    // Set from this exchange's own result: a refused frame sent meanwhile must not leave its
    // failure behind.
    state.TransferFailed = result != ExchangeOk;
    state.LinkIdle = true;
}

int AskIdentity(SerialComponent &port, FrameBuffer &reply)
{
    reply = MakeFrame(IdentityCommand, 0, 0, 0, 0, 0, 0);
    return port.Exchange(reply, IdentityExchange.timeoutMs, true, false,
                         IdentityExchange.replyMode);
}

bool IsUnitIdentity(const FrameBuffer &reply)
{
    return reply[IdentityDeviceAt] == DeviceNumber;
}

bool IdentifyDevice()
{
    if (!state.SerialPort)
        return false;
    state.TxFrame = MakeFrame(IdentityCommand, 0, 0, 0, 0, 0, 0);
    if (!state.SerialPort->IsOpen() && !OpenComPort())
        return false;
    FrameBuffer buffer;
    if (AskIdentity(*state.SerialPort, buffer) != ExchangeOk)
        return false;
    KeepReply(buffer);
    return IsUnitIdentity(buffer);
}

bool ReopenLink()
{
    ClosePortIfOpen();
    // The identity query waits like any exchange: a timer firing meanwhile (the meter poll) must
    // find the line taken, or its frame would end this wait and start a reopen of its own.
    const LineUse::Hold reopen;
    const QScopedValueRollback busy(state.LinkIdle, false);
    return TryComPort();
}

bool ConnectDevice()
{
    ClosePortIfOpen();
    state.SendSuspended = false;
    state.DemoMode = false;
    if (TryComPort())
        return true;
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port) {
        state.SendSuspended = false;
        state.DemoMode = false;
        state.ComPort = static_cast<std::int16_t>(port);
        if (TryComPort())
            return true;
    }
    return false;
}

void SplitToBytes(double value, std::int16_t first)
{
    if (first < 0 || first > static_cast<int>(state.WorkBytes.size()) - 4)
        return;
    double v = std::nearbyint(value) / 16777216.0;
    for (int i = first; i < first + 4; ++i) {
        const double whole = std::floor(v);
        state.WorkBytes[i] = static_cast<std::uint8_t>(static_cast<long long>(whole) & 255);
        v = (v - whole) * 256.0;
    }
}

LinkOutcome RecoverFromFailure()
{
    if (!state.TransferFailed)
        return LinkOutcome::LinkUp;
    if (!state.LinkIdle)
        return LinkOutcome::LineBusy;
    // The rule holds the line like a transfer: a meter tick while the reopen's identity query
    // waits, or while the message box is up, skips instead of starting a recovery of its own.
    const LineUse::Hold recovery;
    const QScopedValueRollback busy(state.LinkIdle, false);
    if (ReopenLink())
        return LinkOutcome::LinkUp;
    // The unit did not answer: nothing more goes to it, not even the release when the panel
    // closes, which would only wait out its own time-out.
    ClosePortIfOpen();
    Messages::Tell(QStringLiteral("Communication time-Out, the system close the device"),
                   QStringLiteral("Communication problem"), Messages::Icon::Critical);
    if (panelCloseHook)
        panelCloseHook();
    return LinkOutcome::LinkLost;
}

bool SendRepeatable(const std::function<void()> &send)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        send();
        if (!state.TransferFailed)
            return true;
        if (RecoverFromFailure() != LinkOutcome::LinkUp)
            return false;
    }
    // The unit answers its identity but not this frame: the link stays, the action stops.
    Messages::Tell(QStringLiteral("The unit does not answer this request; the operation was "
                                  "stopped."),
                   QStringLiteral("Communication problem"), Messages::Icon::Critical);
    return false;
}

void SetPanelCloseHook(std::function<void()> hook)
{
    panelCloseHook = std::move(hook);
}

} // namespace ModTxRx
