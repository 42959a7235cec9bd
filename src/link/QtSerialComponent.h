#pragma once

#include <memory>

#include "link/SerialComponent.h"

class QSerialPort;

/// The serial port component over QSerialPort: 8 data bits, no parity, one stop bit, no flow
/// control. Port names "COM1".."COM32" lead to devices through `PortMap`.
///
/// An exchange waits in a local event loop that holds back user input: windows keep painting and
/// timers keep firing, and the reply is taken the moment the tty delivers it. A timer that tries
/// a second exchange meanwhile is refused with `ExchangeBusy`. A port that fails (hang-up,
/// unplugged adapter) is closed at its first error, so a dead device is reported once and never
/// spins; the next `Open` starts afresh. Opens and exchanges are reported to `FrameTrace` while
/// it is on.
class QtSerialComponent : public SerialComponent
{
public:
    QtSerialComponent();
    ~QtSerialComponent() override;

    /// `frameSize` must be 10 and `portCount` 32 (the program passes 10, 32); the component needs
    /// a running Qt application for its event loop. 0 = ready.
    int Initialize(int frameSize, int portCount) override;
    /// Closes a held port, then opens `portName` at `baud`. Answers an `OpenResult`.
    int Open(const QString &portName, int baud) override;
    /// Closes a held port, then opens the device path itself (no port name, no map). Answers
    /// `OpenOk` or `OpenFailed`.
    int OpenDevice(const QString &path, int baud);
    /// Discards stale input, sends the 10 bytes and waits up to `timeoutMs` for 10 reply bytes.
    /// The unit's reply repeats the command byte; a whole frame that answers another command is
    /// a late reply to an earlier frame and is passed over.
    /// The flags and the reply mode are accepted as the program passes them and not used: every
    /// reply of the unit is one 10-byte frame.
    int Exchange(FrameBuffer &buffer, int timeoutMs, bool, bool, int) override;
    /// Closes the port; an exchange still waiting on it ends with `ExchangePortError`.
    void Close() override;
    bool IsOpen() const override;

    /// The device behind the open port (empty while closed).
    QString DevicePath() const;

private:
    struct PendingReply;

    /// `OpenPath`, reported to the frame trace while it is on.
    int OpenTraced(const QString &portName, const QString &path, int baud);
    int OpenPath(const QString &path, int baud);
    /// The exchange itself; `received`, when given, gets the bytes that came back.
    int ExchangeFrame(FrameBuffer &buffer, int timeoutMs, QByteArray *received);

    int SendAndWait(const FrameBuffer &frame, int timeoutMs, PendingReply &reply);
    void OnReadyRead();
    void OnPortError(int error);
    void Finish(int result);
    void DiscardInput();

    std::unique_ptr<QSerialPort> port;
    QString device;
    /// The exchange under way, if any.
    PendingReply *pending = nullptr;
};
