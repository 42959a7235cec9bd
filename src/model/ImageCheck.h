#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QString>

/// Codes from a file or from the unit are never trusted: the check names every code of an image
/// that lies outside its table, the clamp brings such codes into range. Depends on
/// model/ValueTables only.
namespace ImageCheck {

struct BadCode
{
    /// Byte position in the image (the high byte of the 16-bit delay).
    int byteIndex;
    /// The code found (the whole millisecond count for the delay).
    int value;
    /// What the byte holds, e.g. "channel A limiter threshold".
    QString what;
    /// The highest code allowed.
    int last;
};

/// Every code of the image outside its table, in byte order. Bytes beyond the end of a short
/// image are not looked at.
std::vector<BadCode> FindBadCodes(std::span<const std::uint8_t> image);

/// "byte 47 holds 200 (channel A limiter threshold, 0..150)".
QString Describe(const BadCode &bad);

/// Brings every code outside its table to the table's last entry; answers how many were changed.
int ClampCodes(std::span<std::uint8_t> image);

} // namespace ImageCheck
