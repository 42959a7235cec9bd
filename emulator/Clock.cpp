#include "Clock.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace Emulator {

namespace {
constexpr long NanosPerSecond = 1'000'000'000;
constexpr long BitsPerByte = 10; // start bit, 8 data bits, stop bit
constexpr long BaudRate = 9600;
} // namespace

Instant Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Instant(now.tv_sec * NanosPerSecond + now.tv_nsec);
}

void WakeOnTime()
{
    prctl(PR_SET_TIMERSLACK, 1UL);
}

bool SleepUntil(Instant deadline)
{
    const long nanos = deadline.count();
    const timespec until{nanos / NanosPerSecond, nanos % NanosPerSecond};
    return clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != EINTR;
}

Instant ByteTimes(long count)
{
    return Instant(count * BitsPerByte * NanosPerSecond / BaudRate);
}

double SecondsBetween(Instant from, Instant to)
{
    return std::chrono::duration<double>(to - from).count();
}

} // namespace Emulator
