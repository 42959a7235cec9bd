#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "link/SerialComponent.h"

/// The link module: every frame to the unit goes through `TransferFrame`.
namespace ModTxRx {

inline constexpr std::uint8_t IdentityCommand = 0x25;
inline constexpr int IdentityTimeoutMs = 100;
inline constexpr int PortCount = 32;
inline constexpr int BaudRate = 9600;

struct State
{
    FrameBuffer TxFrame{};
    /// After a successful transfer bytes 0..9 hold the unit's reply; the rest is never written.
    std::array<std::uint8_t, 209> RxFrame{};
    /// Scratch bytes filled by `SplitToBytes`.
    std::array<std::uint8_t, 40> WorkBytes{};
    std::int16_t ComPort = 0;
    bool DemoMode = false;
    bool SendSuspended = false;
    bool TransferFailed = false;
    bool LinkIdle = true;
    SerialComponent *SerialPort = nullptr;
};

extern State state;

/// Clears the module state; the serial component pointer and the hooks are cleared too.
void Reset();

struct ExchangeClass
{
    int timeoutMs;
    int replyMode;
};
/// The unit answers memory, preset and release commands slowly: they get 10 s, the meter poll 2 s.
ExchangeClass ExchangeClassFor(std::uint8_t command);

/// "COM" followed by the port number, as the component expects it.
QString PortName(int port);

/// Sends one frame and keeps the reply in `RxFrame`; skipped in demo mode or while sending is
/// suspended. The outcome is `TransferFailed`. A call made while another exchange waits (from a
/// timer) sends nothing and fails.
void TransferFrame(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                   std::uint8_t d3, std::uint8_t d4, std::uint8_t d5);

/// The identity query on the open port (opening "COM"+ComPort when none is open).
bool IdentifyDevice();
/// Closes and reopens "COM"+ComPort and asks for the identity; the line counts as taken
/// (`LinkIdle` false) until it is done.
bool ReopenLink();
/// Tries the remembered port, then COM1..COM32; leaves `ComPort` where the unit answered.
bool ConnectDevice();

/// Writes a number as four bytes, most significant first, into `WorkBytes[first..first+3]`.
void SplitToBytes(double value, std::int16_t first);

/// The recovery rule every sender applies after `TransferFrame`: answers true when the sender may
/// go on (the transfer worked or the reopen succeeded). Otherwise it has closed the port, shown
/// the time-out message, closed the overview panel through its hook and answers false: the
/// sender stops. `LinkIdle` is false while the rule works, so the meter poll keeps out of it.
/// A sender refused because another exchange waits just stops; the link is left alone.
bool RecoverFromFailure();

/// For a frame that does the same when it arrives twice (a read, a recall, a write of the same
/// bytes to the same place): `send` makes its one `TransferFrame`, then the recovery rule applies.
/// When the link was reopened the frame is sent once more: a lost write would leave the unit
/// without it, and the reply of a lost read is stale. Answers false when the sender must stop: the
/// link could not be mended (the operator was told and the overview panel closed), or the unit
/// still did not answer after the reopen (the operator is told).
bool SendRepeatable(const std::function<void()> &send);

/// The overview panel registers how it is closed after a failure it cannot recover from
/// (stop the meter poll, unload the panel); an empty function unregisters.
void SetPanelCloseHook(std::function<void()> hook);

} // namespace ModTxRx
