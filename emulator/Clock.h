#pragma once

#include <chrono>

namespace Emulator {

/// A point on CLOCK_MONOTONIC.
using Instant = std::chrono::nanoseconds;

Instant Now();

/// Asks the kernel to wake this process on time: by default a sleep may end up to 50 us late,
/// which would show in every paced byte.
void WakeOnTime();

/// Sleeps until `deadline` against the absolute clock, so a series of deadlines does not drift.
/// Answers false when a signal interrupted the sleep before the deadline.
bool SleepUntil(Instant deadline);

/// The time `count` bytes take on the line at 9600 baud, 8N1 (10 bits a byte).
Instant ByteTimes(long count);

double SecondsBetween(Instant from, Instant to);

} // namespace Emulator
