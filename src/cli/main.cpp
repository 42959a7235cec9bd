// mxrf418-cli: the unit from a terminal and from scripts.
#include <QCoreApplication>

#include "cli/Commands.h"
#include "shell/AppInfo.h"

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mxrf418-cli"));
    QCoreApplication::setApplicationVersion(QLatin1String(AppInfo::SoftwareVersion));
    return Cli::Run(QCoreApplication::arguments());
}
