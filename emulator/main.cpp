// mxrf418-unit: the virtual MX-RF418 on a pseudo-terminal. See --help.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "Clock.h"
#include "ExchangeLog.h"
#include "Options.h"
#include "PortLinks.h"
#include "Pty.h"
#include "Server.h"
#include "Signals.h"
#include "StateFile.h"
#include "UnitModel.h"

using namespace Emulator;

namespace {

int Fail(const QString &error)
{
    QTextStream(stderr) << "mxrf418-unit: " << error << Qt::endl;
    return 2;
}

std::optional<Memory> StartingMemory(const Options &options, QString &error)
{
    if (options.statePath.isEmpty())
        return FreshMemory();
    return LoadMemory(options.statePath, error);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mxrf418-unit"));
    QString error;
    const auto options = ParseOptions(QCoreApplication::arguments(), error);
    if (!options)
        return Fail(error);
    const auto memory = StartingMemory(*options, error);
    if (!memory)
        return Fail(error);
    if (!Signals::Install())
        return Fail(QStringLiteral("cannot install the signal handlers"));

    Pty pty;
    if (!pty.Open(error))
        return Fail(error);
    PortLinks links(pty.SlavePath());
    if (!options->linkPath.isEmpty() && !links.Add(options->linkPath, error))
        return Fail(error);
    if (options->comPort > 0 && !links.Add(PortMapEntry(options->comPort), error))
        return Fail(error);
    ExchangeLog log;
    if (!options->logPath.isEmpty() && !log.Open(options->logPath, error))
        return Fail(error);

    WakeOnTime();
    UnitModel unit(options->firmware, *memory);
    std::printf("PTY %s\n", qPrintable(pty.SlavePath()));
    std::fflush(stdout);

    Server server(*options, pty, unit, log);
    const bool served = server.Run();
    links.RemoveAll();
    pty.Close();
    return served ? 0 : Fail(QStringLiteral("the pty failed"));
}
