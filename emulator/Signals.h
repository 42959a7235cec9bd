#pragma once

namespace Emulator::Signals {

/// SIGTERM and SIGINT ask the unit to stop; SIGUSR1 asks it to drop its next reply. Both are
/// noted by flags and wake the serving loop through `WakeDescriptor`.
bool Install();
/// Becomes readable when a signal arrived; `ClearWake` empties it.
int WakeDescriptor();
void ClearWake();
bool StopRequested();
/// True once after each SIGUSR1.
bool TakeDropRequest();

} // namespace Emulator::Signals
