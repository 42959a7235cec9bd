#pragma once

#include <functional>

class QObject;

/// Whether the line to the unit is taken: an exchange waits for its reply, or a sequence of
/// frames (connecting, a preset action ...) runs. A window's close that arrives meanwhile (the
/// window system's close gets through an exchange's wait) is put off until the line is free, so
/// that the release frame can go out and nothing of the sequence runs after it.
namespace LineUse {

/// Takes the line for its life; holds nest.
class Hold
{
public:
    Hold();
    ~Hold();
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
};

bool Taken();

/// While the line is taken: keeps `retry` for `context` (a later call for the same context
/// replaces it), runs it from the event loop once the line is free (not at all when the context
/// is gone by then) and answers true. On a free line: false, nothing kept.
bool PutOffWhileTaken(QObject *context, std::function<void()> retry);

} // namespace LineUse
