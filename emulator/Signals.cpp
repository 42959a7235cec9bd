#include "Signals.h"

#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace Emulator::Signals {

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t dropRequested = 0;
int wakePipe[2] = {-1, -1};

void OnSignal(int number)
{
    if (number == SIGUSR1)
        dropRequested = 1;
    else
        stopRequested = 1;
    const char wake = 1;
    [[maybe_unused]] const auto written = write(wakePipe[1], &wake, 1);
}

} // namespace

bool Install()
{
    if (pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a signal ends a sleep at once
    for (const int number : {SIGTERM, SIGINT, SIGUSR1}) {
        if (sigaction(number, &action, nullptr) != 0)
            return false;
    }
    return true;
}

int WakeDescriptor()
{
    return wakePipe[0];
}

void ClearWake()
{
    char drain[64];
    while (read(wakePipe[0], drain, sizeof drain) > 0) { }
}

bool StopRequested()
{
    return stopRequested != 0;
}

bool TakeDropRequest()
{
    if (dropRequested == 0)
        return false;
    dropRequested = 0;
    return true;
}

} // namespace Emulator::Signals
