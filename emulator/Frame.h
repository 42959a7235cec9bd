#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// The virtual MX-RF418: its own model of the unit, sharing no code with the program.
namespace Emulator {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

inline constexpr Byte FrameStart = 0xF0;
inline constexpr Byte FrameDevice = 0x10;
inline constexpr Byte FrameEnd = 0xF7;
inline constexpr std::size_t FrameSize = 10;

/// F0 10 <command> d0..d5 F7, the same layout both ways.
using Frame = std::array<Byte, FrameSize>;

inline Byte CommandOf(const Frame &frame)
{
    return frame[2];
}
/// Data byte d0..d5 of a frame (frame bytes 3..8).
inline Byte DataOf(const Frame &frame, int index)
{
    return frame[3 + index];
}

/// What the scanner found in the received bytes: a whole frame, or bytes that belong to none.
struct ScanEvent
{
    enum class Kind { Frame, Garbage };
    Kind kind;
    Frame frame{};
    Bytes garbage;
};

/// Cuts the received byte stream into frames. A frame starts at F0 and is valid when its tenth
/// byte is F7; bytes before an F0 are garbage, and a candidate that does not end in F7 is garbage
/// up to the next F0 inside it, where scanning resumes.
class FrameScanner
{
public:
    /// Feeds received bytes; answers what they completed, in order. Garbage is reported as soon as
    /// it is known; a started frame waits for its remaining bytes.
    std::vector<ScanEvent> Push(std::span<const Byte> bytes);
    /// True while no frame has been started (no byte is held).
    bool Idle() const { return candidate.empty(); }

private:
    void Scan(std::vector<ScanEvent> &events);
    void FlushGarbage(std::vector<ScanEvent> &events);

    Bytes candidate;
    Bytes garbage;
};

/// Upper-case two-digit hex separated by single blanks: "F0 10 25".
std::string ToHex(std::span<const Byte> bytes);

} // namespace Emulator
