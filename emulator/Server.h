#pragma once

#include "Clock.h"
#include "ExchangeLog.h"
#include "Faults.h"
#include "Options.h"
#include "Pty.h"
#include "UnitModel.h"

namespace Emulator {

/// The serving loop: waits for bytes on the pty, cuts them into frames, lets the unit answer and
/// sends the answer, at wire speed with --pace and through the chosen faults.
class Server
{
public:
    Server(const Options &options, Pty &pty, UnitModel &unit, ExchangeLog &log);

    /// Serves until SIGTERM or SIGINT, or until the hang-up fault (then `HungUp` is true).
    /// Answers false when the pty failed.
    bool Run();
    bool HungUp() const { return hungUp; }

private:
    void ReadInput();
    void HandleFrame(const Frame &request, Instant firstByte);
    void Send(std::span<const Byte> bytes, Instant from);
    /// Sleeps until `deadline`; false when a stop was requested meanwhile.
    bool WaitUntil(Instant deadline);
    void SaveMemoryIfWritten();

    const Options &options;
    Pty &pty;
    UnitModel &unit;
    ExchangeLog &log;
    FaultPlan faults;
    FrameScanner scanner;
    const Instant started;
    Instant candidateStart{};
    /// With --pace: when the last request had fully arrived; the next one cannot start earlier.
    Instant inputWireFree{};
    bool hungUp = false;
};

} // namespace Emulator
