// mxrf418-cli: the unit from a terminal and from scripts.
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>

#include "cli/Commands.h"
#include "shell/AppInfo.h"

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> application;
    if (Cli::DrawsText(arguments)) {
        // The pictures and pages need fonts; no window ever opens.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("mxrf418-cli"));
    QCoreApplication::setApplicationVersion(QLatin1String(AppInfo::SoftwareVersion));
    return Cli::Run(QCoreApplication::arguments());
}
