#include "shell/AppInfo.h"

namespace AppInfo {

State state;

void Reset()
{
    state = State{};
}

} // namespace AppInfo
