#pragma once

#include <optional>

#include <QString>

#include "presets/PresetProgress.h"

/// What the command-line tool writes and reads on the terminal: data on stdout, diagnostics and
/// progress on stderr, passwords without echo.
namespace Terminal {

void PrintOut(const QString &line);
void PrintError(const QString &line);

/// A progress bar on stderr, redrawn in place, when stderr is a terminal; nothing otherwise.
class ProgressBar
{
public:
    explicit ProgressBar(QString label);
    /// The bar as a preset action's progress display.
    Presets::Progress AsProgress();
    void Start(int value, int maximum);
    void Step();
    void Finish();

private:
    void Draw() const;

    QString label;
    bool shown;
    int value = 0;
    int maximum = 1;
};

/// One line typed with the echo off after `prompt` (on stderr) when stdin is a terminal, else one
/// line of stdin; nothing at the end of the input.
std::optional<QString> ReadSecret(const QString &prompt);

} // namespace Terminal
