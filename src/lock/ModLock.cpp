#include "lock/ModLock.h"

namespace ModLock {

State state;

void Reset()
{
    state = State {};
}

} // namespace ModLock
