#include "cli/Commands.h"

#include <algorithm>
#include <cstdio>

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CommandContext.h"
#include "cli/Terminal.h"
#include "link/PortMap.h"

namespace Cli {

namespace {

struct Command
{
    const char *name;
    /// The arguments as help shows them.
    const char *syntax;
    const char *summary;
    /// Fewest and most arguments (-1: any number).
    int fewest;
    int most;
    Exit (*run)(const Context &);
    /// The command's own options.
    QList<QCommandLineOption> (*options)();
};

QList<QCommandLineOption> NoOptions()
{
    return {};
}

QCommandLineOption FromOption()
{
    return {QStringLiteral("from"),
            QStringLiteral("Take the setting from a JSON or preset file instead of the unit."),
            QStringLiteral("FILE")};
}

const Command Commands[] = {
    {"ports", "",
     "COM1..COM32 with their devices and why one does not open, and the serial adapters no COM "
     "name leads to",
     0, 0, RunPorts, NoOptions},
    {"info", "", "firmware, lock state, current preset and the 32 presets with their names", 0, 0,
     RunInfo, NoOptions},
    {"dump", "", "the whole current setting as JSON (stdout), or as a preset file", 0, 0, RunDump,
     [] {
         return QList<QCommandLineOption>{
             {QStringLiteral("preset-file"),
              QStringLiteral("Write a 129-byte preset file (*.RFP) instead of JSON."),
              QStringLiteral("FILE")}};
     }},
    {"restore", "FILE", "send a setting (JSON or preset file) to the unit", 1, 1, RunRestore,
     [] {
         return QList<QCommandLineOption>{
             {QStringLiteral("verify"), QStringLiteral("Read the setting back and compare.")}};
     }},
    {"get", "[NAME...]", "parameters by their JSON names (all of them without a NAME)", 0, -1,
     RunGet, NoOptions},
    {"set", "NAME=VALUE...", "change parameters; each value snaps to the unit's steps", 1, -1,
     RunSet, NoOptions},
    {"preset", "list | read N | store N NAME",
     "the unit's presets, numbered 1..32 (17..32 are user presets)", 1, 3, RunPreset, NoOptions},
    {"meters", "", "the six meters, ten polls a second, one line a poll", 0, 0, RunMeters,
     [] {
         return QList<QCommandLineOption>{
             {QStringLiteral("count"), QStringLiteral("Stop after N polls."), QStringLiteral("N")}};
     }},
    {"lock", "", "lock the unit (asks for its password)", 0, 0, RunLock, NoOptions},
    {"unlock", "", "unlock the unit (asks for its password)", 0, 0, RunUnlock, NoOptions},
    {"password", "", "change the password (asks for the old one, then the new one twice)", 0, 0,
     RunPassword, NoOptions},
    {"eq", "import FILE --channel A|B",
     "a parametric EQ file (filter settings or equaliser config) onto a channel's 15 bands", 2, 2,
     RunEq,
     [] {
         return QList<QCommandLineOption>{
             {QStringLiteral("channel"), QStringLiteral("A, B or both."), QStringLiteral("C")},
             {QStringLiteral("dry-run"),
              QStringLiteral("Print the snapped bands and the largest difference only.")}};
     }},
    {"response", "FILE",
     "the response as CSV (frequency, totals, bands, filters), PNG or SVG, by the file's suffix", 1,
     1, RunResponse,
     [] {
         return QList<QCommandLineOption>{
             {QStringLiteral("channel"), QStringLiteral("A, B or both (the default)."),
              QStringLiteral("A|B|both"), QStringLiteral("both")},
             {QStringLiteral("points"),
              QStringLiteral("CSV on the program's 576 points (the default) or on 1/24-octave "
                             "points."),
              QStringLiteral("program|24"), QStringLiteral("program")},
             FromOption()};
     }},
    {"sheet", "FILE.pdf",
     "the settings sheet: preset, date, firmware, response graph and every setting, as a PDF", 1, 1,
     RunSheet, [] { return QList<QCommandLineOption>{FromOption()}; }},
};

constexpr char ExitCodes[] =
    "Exit codes: 0 done; 1 usage error; 2 no unit found or the port cannot be opened; 3 the\n"
    "unit refused or is locked; 4 the link was lost part-way (what was and was not applied is\n"
    "printed); 5 a file or value refused before anything was sent.\n"
    "Passwords are read from the terminal without echo, or one a line from stdin.";

QString Overview()
{
    QString text = QStringLiteral("The MX-RF418 from a terminal or a script.\n\nCommands:\n");
    for (const Command &command : Commands)
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(command.name), QLatin1String(command.syntax),
                         QLatin1String(command.summary));
    return text + QStringLiteral("\n'mxrf418-cli COMMAND --help' tells more.\n") +
        QLatin1String(ExitCodes);
}

const Command *Find(const QString &name)
{
    for (const Command &command : Commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

void AddGlobalOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("port"),
         QStringLiteral("The unit's port COM1..COM32, through the port map."),
         QStringLiteral("COMn")},
        {QStringLiteral("device"), QStringLiteral("The unit's serial device, e.g. /dev/ttyUSB0."),
         QStringLiteral("PATH")},
        {QStringLiteral("trace"),
         QStringLiteral("Print every open and exchange on stderr: time, request and reply, "
                        "round trip, outcome.")},
        {QStringLiteral("json"), QStringLiteral("Print data as JSON.")},
    });
}

std::optional<GlobalOptions> ReadGlobalOptions(const QCommandLineParser &parser)
{
    GlobalOptions options{
        parser.value(QStringLiteral("port")), parser.value(QStringLiteral("device")),
        parser.isSet(QStringLiteral("trace")), parser.isSet(QStringLiteral("json"))};
    if (!options.port.isEmpty() && !options.device.isEmpty()) {
        Fail(Usage, QStringLiteral("--port and --device exclude each other"));
        return std::nullopt;
    }
    if (!options.port.isEmpty() && PortMap::PortNumber(options.port) == 0) {
        Fail(Usage, QStringLiteral("--port takes COM1..COM32"));
        return std::nullopt;
    }
    return options;
}

/// The commands that draw text into pictures or pages.
const char *const DrawingCommands[] = {"response", "sheet"};

bool ArgumentCountFits(const Command &command, qsizetype count)
{
    return count >= command.fewest && (command.most < 0 || count <= command.most);
}

} // namespace

Exit Fail(Exit code, const QString &text)
{
    Terminal::PrintError(text);
    return code;
}

void PrintJson(const QJsonValue &value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    std::fputs(document.toJson(QJsonDocument::Indented).constData(), stdout);
}

bool DrawsText(const QStringList &arguments)
{
    QCommandLineParser parser;
    AddGlobalOptions(parser);
    parser.parse(arguments);
    const QString name = parser.positionalArguments().value(0);
    return std::ranges::any_of(DrawingCommands,
                               [&name](const char *drawing) { return name == drawing; });
}

int Run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Overview());
    parser.addHelpOption();
    parser.addVersionOption();
    AddGlobalOptions(parser);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    // A first pass finds the command; its options are known only then.
    parser.parse(arguments);
    const QString name = parser.positionalArguments().value(0);
    const Command *command = Find(name);
    if (!command) {
        parser.process(arguments); // --help, --version and unknown options end here
        return Fail(Usage,
                    name.isEmpty()
                        ? QStringLiteral("a command is needed; see mxrf418-cli --help")
                        : QStringLiteral("%1: no such command; see mxrf418-cli --help").arg(name));
    }
    parser.setApplicationDescription(QLatin1String(command->summary) + QStringLiteral("\n\n") +
                                     QLatin1String(ExitCodes));
    parser.clearPositionalArguments();
    parser.addPositionalArgument(
        QLatin1String(command->name), QLatin1String(command->summary),
        QStringLiteral("%1 %2").arg(QLatin1String(command->name), QLatin1String(command->syntax)));
    parser.addOptions(command->options());
    parser.process(arguments);
    const QStringList rest = parser.positionalArguments().mid(1);
    if (!ArgumentCountFits(*command, rest.size()))
        return Fail(Usage,
                    QStringLiteral("usage: mxrf418-cli %1 %2")
                        .arg(QLatin1String(command->name), QLatin1String(command->syntax)));
    const std::optional<GlobalOptions> global = ReadGlobalOptions(parser);
    if (!global)
        return Usage;
    return command->run({*global, rest, parser});
}

} // namespace Cli
