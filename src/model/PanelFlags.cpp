#include "model/PanelFlags.h"

namespace PanelFlags {

State state;

void Reset()
{
    state = State{};
}

} // namespace PanelFlags
