#include "Server.h"

#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <poll.h>

#include "Signals.h"
#include "StateFile.h"

namespace Emulator {

namespace {
/// How long to rest when the pty reports a hang-up, so a dead line is not polled in a loop.
constexpr int HangUpRestMs = 100;
} // namespace

Server::Server(const Options &options, Pty &pty, UnitModel &unit, ExchangeLog &log)
    : options(options), pty(pty), unit(unit), log(log), faults(options.faults), started(Now())
{ }

bool Server::Run()
{
    while (!Signals::StopRequested() && !hungUp) {
        pollfd watched[] = {{pty.Master(), POLLIN, 0}, {Signals::WakeDescriptor(), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (watched[1].revents)
            Signals::ClearWake();
        if (watched[0].revents & POLLIN)
            ReadInput();
        else if (watched[0].revents & (POLLHUP | POLLERR))
            poll(&watched[1], 1, HangUpRestMs);
        else if (watched[0].revents & POLLNVAL)
            return false;
    }
    return true;
}

void Server::ReadInput()
{
    std::array<Byte, 256> buffer;
    const Instant arrived = Now();
    const std::size_t count = pty.Read(buffer);
    if (count == 0)
        return;
    Instant start = scanner.Idle() ? arrived : candidateStart;
    for (const ScanEvent &event : scanner.Push(std::span(buffer.data(), count))) {
        if (event.kind == ScanEvent::Kind::Garbage) {
            log.Garbage(event.garbage);
            continue;
        }
        HandleFrame(event.frame, std::max(start, inputWireFree));
        start = arrived;
        if (hungUp || Signals::StopRequested())
            return;
    }
    candidateStart = start;
}

/// With --pace a request counts as received when its last byte would have arrived on the line;
/// the reply then leaves byte by byte, each at its own deadline.
void Server::HandleFrame(const Frame &request, Instant firstByte)
{
    const Instant received = options.pace ? firstByte + ByteTimes(FrameSize) : Now();
    inputWireFree = received;
    if (!WaitUntil(received))
        return;
    const FaultAction fault = faults.ForFrame(CommandOf(request), Signals::TakeDropRequest());
    if (fault.hangUp) {
        log.NotReplied(request);
        hungUp = true;
        return;
    }
    // The unit acts on every frame it receives; a dropped reply is lost on the way back.
    const Frame reply = unit.Answer(request, SecondsBetween(started, received));
    SaveMemoryIfWritten();
    if (fault.drop) {
        log.NotReplied(request);
        return;
    }
    const Bytes sent = ShapeReply(reply, fault);
    log.Replied(request, sent, fault.partial);
    Send(sent, received + std::chrono::milliseconds(options.faults.delayMs));
}

void Server::Send(std::span<const Byte> bytes, Instant from)
{
    if (!options.pace) {
        if (WaitUntil(from))
            pty.Write(bytes);
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!WaitUntil(from + ByteTimes(static_cast<long>(i) + 1)))
            return;
        pty.Write(bytes.subspan(i, 1));
    }
}

bool Server::WaitUntil(Instant deadline)
{
    while (!SleepUntil(deadline)) {
        if (Signals::StopRequested())
            return false;
    }
    return true;
}

void Server::SaveMemoryIfWritten()
{
    QString error;
    if (unit.TakeMemoryWritten() && !options.statePath.isEmpty() &&
        !SaveMemory(options.statePath, unit.NonVolatile(), error))
        QTextStream(stderr) << "mxrf418-unit: " << error << Qt::endl;
}

} // namespace Emulator
