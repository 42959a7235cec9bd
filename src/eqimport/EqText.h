#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

/// The parametric EQ texts that measurement and equaliser programs write, read line by line:
/// filter-settings lists (`Filter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 2.00`) and equaliser configs
/// (`Preamp: -3 dB`, `Filter: ON PK Fc 1.2 kHz Gain -3 dB BW Oct 0.67`). Lines that are neither a
/// filter nor a preamp (titles, dates, notes, blank lines) are passed over. Numbers take a point
/// or a comma as the decimal separator. Depends on nothing else of ours.
namespace EqText {

/// Larger files are refused before they are read: these texts run to a few kilobytes.
inline constexpr qint64 MaxBytes = 64 * 1024;

/// One filter line as given.
struct Filter
{
    /// 1 for the first line of the file.
    int line = 0;
    QString text;
    /// Why the filter cannot become a band (disabled, empty, a type the unit lacks); empty for an
    /// enabled peaking filter, whose values below are then read.
    QString skipped;
    double frequencyHz = 0;
    double gainDb = 0;
    double q = 0;
};

struct Read
{
    /// Every filter line, in file order.
    std::vector<Filter> filters;
    std::optional<double> preampDb;
    /// Why nothing of the file is taken (a line that cannot be read, named with its number and
    /// text, or no usable filter); empty when the file was read.
    QString refusal;

    bool HasUsable() const;
};

/// Reads a whole text (UTF-8, or UTF-16 with its byte order mark).
Read ReadText(const QByteArray &bytes);
/// Reads a file; one larger than `MaxBytes` or that cannot be read is refused.
Read ReadFile(const QString &path);

/// Q of a bandwidth of `octaves`: sqrt(2^N) / (2^N - 1).
double QOfOctaves(double octaves);

} // namespace EqText
