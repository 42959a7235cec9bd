#pragma once

#include <array>
#include <cstdint>

#include <QString>

/// One 10-byte frame as it travels both ways: F0 10 cmd d0..d5 F7.
using FrameBuffer = std::array<std::uint8_t, 10>;
inline constexpr std::uint8_t FrameStart = 0xF0;
inline constexpr std::uint8_t FrameDevice = 0x10;
inline constexpr std::uint8_t FrameEnd = 0xF7;

/// What `Exchange` answers. Callers only test for non-zero; the kinds stay apart for tests and
/// logs.
enum ExchangeResult : int {
    ExchangeOk = 0,
    ExchangeTimeout = 1, ///< no complete reply within the time-out
    ExchangeFraming = 2, ///< 10 bytes came but not as F0 .. F7
    ExchangePortError = 3, ///< the port is closed, failed or hung up
    ExchangeBusy = 4, ///< called while another exchange waits for its reply
};

/// What `Open` answers; callers only test for non-zero.
enum OpenResult : int {
    OpenOk = 0,
    OpenUnknownPort = 1, ///< not "COM1".."COM32"
    OpenNoDevice = 2, ///< the port leads to no device
    OpenFailed = 3, ///< the device would not open or take the settings
};

/// The serial port component: the operations the program calls on the COM port, with the
/// arguments and results the program relies on. A test puts a double in its place.
class SerialComponent
{
public:
    virtual ~SerialComponent() = default;

    /// Prepares the component; 0 = ready. The program passes 10 and 32.
    virtual int Initialize(int first, int second) = 0;
    /// Opens "COM1".."COM32" at the baud rate, closing a port still held first; 0 = open.
    virtual int Open(const QString &portName, int baud) = 0;
    /// Sends the frame in `buffer`, waits for a 10-byte reply up to `timeoutMs` and leaves the
    /// reply in `buffer`. Answers an `ExchangeResult`; on failure `buffer` is unspecified.
    virtual int Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second,
                         int replyMode) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
