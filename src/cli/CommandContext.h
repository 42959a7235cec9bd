#pragma once

#include <QCommandLineParser>
#include <QStringList>

#include "cli/Session.h"

/// What each command of the tool gets, and the commands themselves (Commands.cpp lists them).
namespace Cli {

struct Context
{
    GlobalOptions global;
    /// The arguments after the command's name.
    QStringList arguments;
    const QCommandLineParser &parser;
};

/// Says `text` on stderr and answers `code`.
Exit Fail(Exit code, const QString &text);
/// A line of data, or the JSON document, on stdout.
void PrintJson(const QJsonValue &value);

Exit RunPorts(const Context &context);
Exit RunInfo(const Context &context);
Exit RunDump(const Context &context);
Exit RunRestore(const Context &context);
Exit RunGet(const Context &context);
Exit RunSet(const Context &context);
Exit RunPreset(const Context &context);
Exit RunMeters(const Context &context);
Exit RunLock(const Context &context);
Exit RunUnlock(const Context &context);
Exit RunPassword(const Context &context);
Exit RunEq(const Context &context);
Exit RunResponse(const Context &context);
Exit RunSheet(const Context &context);

} // namespace Cli
