#pragma once

#include <QStringList>

/// The command-line tool `mxrf418-cli`: `QCommandLineParser` with global options, the first
/// positional argument picks the command, each command adds its own options and arguments.
/// Data goes to stdout, diagnostics and progress to stderr; the exit code is a `Cli::Exit`.
namespace Cli {

/// Whether the command the arguments name draws text (response, sheet): fonts need a
/// `QGuiApplication`.
bool DrawsText(const QStringList &arguments);

/// Runs the tool with its arguments (the program name first); answers the exit code.
int Run(const QStringList &arguments);

} // namespace Cli
