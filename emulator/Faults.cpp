#include "Faults.h"

#include <algorithm>

namespace Emulator {

FaultAction FaultPlan::ForFrame(Byte command, bool dropRequested)
{
    ++frameCount;
    FaultAction action;
    action.hangUp = options.hangUpAfter > 0 && frameCount == options.hangUpAfter;
    action.drop =
        Every(options.dropEvery) || options.dropCommands.contains(command) || dropRequested;
    action.corrupt = Every(options.corruptEvery);
    action.partial = Every(options.partialEvery);
    action.garbage = Every(options.garbageEvery);
    return action;
}

Bytes ShapeReply(const Frame &reply, const FaultAction &action)
{
    const std::size_t prefix = action.garbage ? GarbageBytes.size() : 0;
    const std::size_t length = action.partial ? PartialReplySize : FrameSize;
    Bytes sent(prefix + length);
    std::copy_n(GarbageBytes.begin(), prefix, sent.begin());
    std::copy_n(reply.begin(), length, sent.begin() + prefix);
    if (action.corrupt && !action.partial)
        sent.back() = CorruptEnd;
    return sent;
}

} // namespace Emulator
