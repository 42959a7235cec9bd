#pragma once

#include <set>

#include "Frame.h"

namespace Emulator {

/// Line faults chosen on the command line. Counts are of frames received, from 1; 0 is off.
struct FaultOptions
{
    int dropEvery = 0;
    std::set<Byte> dropCommands;
    int delayMs = 0;
    int corruptEvery = 0;
    int partialEvery = 0;
    int garbageEvery = 0;
    int hangUpAfter = 0;
};

/// What happens to the reply of one frame.
struct FaultAction
{
    bool hangUp = false; ///< close the line instead of answering
    bool drop = false; ///< answer nothing
    bool corrupt = false;
    bool partial = false;
    bool garbage = false;
};

/// Bytes of a reply that is cut short, and the noise sent ahead of a reply.
inline constexpr std::size_t PartialReplySize = 5;
inline constexpr std::array<Byte, 3> GarbageBytes{0x00, 0x55, 0xAA};
/// What a corrupted reply carries in place of its end byte.
inline constexpr Byte CorruptEnd = 0xA5;

class FaultPlan
{
public:
    explicit FaultPlan(FaultOptions options) : options(std::move(options)) { }

    /// Decides the fate of the next received frame. `dropRequested` (SIGUSR1) drops its reply.
    FaultAction ForFrame(Byte command, bool dropRequested);

private:
    bool Every(int period) const { return period > 0 && frameCount % period == 0; }

    FaultOptions options;
    long frameCount = 0;
};

/// The bytes that go out for `reply` under `action`: garbage first, then the reply with its end
/// byte spoiled or cut after its first bytes.
Bytes ShapeReply(const Frame &reply, const FaultAction &action);

} // namespace Emulator
