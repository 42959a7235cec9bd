#include "Options.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace Emulator {

namespace {

const char *const Description = R"help(The virtual MX-RF418: plays the unit on a pseudo-terminal.

Prints "PTY <slave path>" as its first line once it serves, then answers every
frame F0 10 <command> d0..d5 F7 with F0 10 <command> r0..r5 F7 until SIGTERM or
SIGINT (exit 0, links removed). SIGUSR1 drops the next reply.

A fresh unit: firmware 1.3 (identity reply bytes 3, 4), password "0000"
(30 30 30 30 at 0x001A), unlocked, current preset 1, no user preset, current
setting = factory preset 1. Every fault count is of frames received, from 1.

With --pace a request counts as received 10 byte times (10.4 ms) after its
first byte arrived, and the reply leaves one byte every 1.04 ms.

Log lines (--log), one per received frame, written before the reply leaves:
  <request> -> <bytes sent>             e.g. F0 10 25 00 00 00 00 00 00 F7 ->
                                        F0 10 25 01 03 00 00 00 10 F7
  <request> -> <bytes sent> (partial)   a reply cut short
  <request> -> none                     no reply (dropped, or the hang-up)
  garbage <bytes>                       received bytes outside any frame
Bytes are upper-case hex separated by blanks, as sent (garbage and a
corrupted end byte included).)help";

struct Counted
{
    const char *name;
    int FaultOptions::*field;
    const char *help;
};

const Counted CountedFaults[] = {
    {"drop-every", &FaultOptions::dropEvery, "Send no reply to every Nth frame."},
    {"corrupt-every", &FaultOptions::corruptEvery, "Every Nth reply ends in A5 instead of F7."},
    {"partial-every", &FaultOptions::partialEvery, "Every Nth reply: only its first 5 bytes."},
    {"garbage-every", &FaultOptions::garbageEvery,
     "Send the 3 bytes 00 55 AA before every Nth reply."},
    {"hangup-after", &FaultOptions::hangUpAfter,
     "On the Nth frame close the pty without replying and exit 0."},
};

std::optional<int> ParseCount(const QString &text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<Byte> ParseCommandByte(QString text)
{
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.mid(2);
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || text.isEmpty() || value > 0xFF)
        return std::nullopt;
    return static_cast<Byte>(value);
}

std::optional<Firmware> ParseFirmware(const QString &text)
{
    static const QRegularExpression version(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})$"));
    const auto match = version.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto major = ParseCount(match.captured(1), 0, 255);
    const auto minor = ParseCount(match.captured(2), 0, 255);
    if (!major || !minor)
        return std::nullopt;
    return Firmware{static_cast<Byte>(*major), static_cast<Byte>(*minor)};
}

void AddOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromUtf8(Description));
    parser.addHelpOption();
    parser.addOptions({
        {"link", "Make a symbolic link at PATH to the pty slave.", "PATH"},
        {"com",
         "Register the pty as COMN in the program's port map "
         "(<config>/mxrf418/ports/COMN, <config> = $XDG_CONFIG_HOME or ~/.config).",
         "N"},
        {"log", "Write one line per received frame to FILE (truncated at start).", "FILE"},
        {"pace", "Run at 9600 baud 8N1 wire speed both ways (20.83 ms an exchange)."},
        {"state",
         "Keep the unit's memory (user presets, names, used marks, password, lock, "
         "current preset) in FILE across runs.",
         "FILE"},
        {"firmware", "Firmware version A.B given by the identity reply (default 1.3).", "A.B"},
        {"drop-command", "Never answer command byte HEX (e.g. 19 or 0x19); may be repeated.",
         "HEX"},
        {"delay", "Delay every reply by MS milliseconds.", "MS"},
    });
    for (const Counted &fault : CountedFaults)
        parser.addOption({fault.name, fault.help, "N"});
}

bool ReadFaults(const QCommandLineParser &parser, FaultOptions &faults, QString &error)
{
    for (const Counted &fault : CountedFaults) {
        if (!parser.isSet(fault.name))
            continue;
        const auto count = ParseCount(parser.value(fault.name), 1, 1'000'000'000);
        if (!count) {
            error = QStringLiteral("--%1 needs a whole number of at least 1").arg(fault.name);
            return false;
        }
        faults.*fault.field = *count;
    }
    for (const QString &text : parser.values("drop-command")) {
        const auto command = ParseCommandByte(text);
        if (!command) {
            error = QStringLiteral("--drop-command needs a byte in hex, not \"%1\"").arg(text);
            return false;
        }
        faults.dropCommands.insert(*command);
    }
    if (parser.isSet("delay")) {
        const auto delay = ParseCount(parser.value("delay"), 0, 3'600'000);
        if (!delay) {
            error = QStringLiteral("--delay needs milliseconds from 0 to 3600000");
            return false;
        }
        faults.delayMs = *delay;
    }
    return true;
}

} // namespace

std::optional<Options> ParseOptions(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.process(arguments); // --help and unknown options end the process here
    if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    Options options;
    options.linkPath = parser.value("link");
    options.logPath = parser.value("log");
    options.statePath = parser.value("state");
    options.pace = parser.isSet("pace");
    if (parser.isSet("com")) {
        const auto port = ParseCount(parser.value("com"), 1, 255);
        if (!port) {
            error = QStringLiteral("--com needs a port number from 1 to 255");
            return std::nullopt;
        }
        options.comPort = *port;
    }
    if (parser.isSet("firmware")) {
        const auto firmware = ParseFirmware(parser.value("firmware"));
        if (!firmware) {
            error = QStringLiteral("--firmware needs A.B with A and B from 0 to 255");
            return std::nullopt;
        }
        options.firmware = *firmware;
    }
    if (!ReadFaults(parser, options.faults, error))
        return std::nullopt;
    return options;
}

} // namespace Emulator
