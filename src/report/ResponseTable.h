#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

/// The response curves as a table: frequency, each chosen channel's total, each of its bands and
/// each of its crossover filters. On the program's own points the table is the curve store
/// (`ModGraph::state`) as it stands; on 1/24-octave points each value is the same formula
/// evaluated there.
namespace Report {

enum class Channels { A, B, Both };
enum class Points { Program, TwentyFourthOctave };

/// Whether channel 0 (A) or 1 (B) is among the chosen.
bool Includes(Channels channels, int channel);

/// 20 Hz and every 1/24 octave above it up to 20 kHz: 20 * 2^(k / 24), k = 0..239.
std::vector<double> TwentyFourthOctaveFrequencies();

struct Column
{
    /// "A_total_db", "A_band1_db" .. "A_band15_db", "A_highpass_db", "A_lowpass_db".
    QString name;
    std::vector<double> values;
};

struct Table
{
    std::vector<double> frequencies;
    std::vector<Column> columns;
};

Table ResponseTable(Channels channels, Points points);

/// A header line "frequency_hz,..." and one line per frequency; numbers in their shortest
/// exact form with '.' decimals whatever the locale, lines ending in "\n".
QByteArray CsvText(const Table &table);

} // namespace Report
