#include "Frame.h"

#include <algorithm>
#include <cstdio>

namespace Emulator {

std::vector<ScanEvent> FrameScanner::Push(std::span<const Byte> bytes)
{
    std::vector<ScanEvent> events;
    candidate.insert(candidate.end(), bytes.begin(), bytes.end());
    Scan(events);
    FlushGarbage(events);
    return events;
}

void FrameScanner::Scan(std::vector<ScanEvent> &events)
{
    for (;;) {
        const auto start = std::find(candidate.begin(), candidate.end(), FrameStart);
        garbage.insert(garbage.end(), candidate.begin(), start);
        candidate.erase(candidate.begin(), start);
        if (candidate.size() < FrameSize)
            return;
        if (candidate[FrameSize - 1] == FrameEnd) {
            FlushGarbage(events);
            ScanEvent event{ScanEvent::Kind::Frame, {}, {}};
            std::copy_n(candidate.begin(), FrameSize, event.frame.begin());
            events.push_back(std::move(event));
            candidate.erase(candidate.begin(), candidate.begin() + FrameSize);
            continue;
        }
        const auto next = std::find(candidate.begin() + 1, candidate.end(), FrameStart);
        garbage.insert(garbage.end(), candidate.begin(), next);
        candidate.erase(candidate.begin(), next);
    }
}

void FrameScanner::FlushGarbage(std::vector<ScanEvent> &events)
{
    if (garbage.empty())
        return;
    events.push_back({ScanEvent::Kind::Garbage, {}, std::move(garbage)});
    garbage.clear();
}

std::string ToHex(std::span<const Byte> bytes)
{
    std::string text;
    for (const Byte byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        if (!text.empty())
            text += ' ';
        text += digits;
    }
    return text;
}

} // namespace Emulator
