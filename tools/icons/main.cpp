// mxrf418-icons FOLDER: writes the program's icon, as the program draws it, into FOLDER as
// <n>x<n>/apps/mxrf418.png for every size the icon holds (the hicolor theme's layout).

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include "shell/ui/UnitPicture.h"

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mxrf418-icons FOLDER\n");
        return 2;
    }
    const QIcon icon = ProgramIcon();
    for (const QSize &size : icon.availableSizes()) {
        const QString folder = QStringLiteral("%1/%2x%3/apps")
                                   .arg(QString::fromLocal8Bit(argv[1]))
                                   .arg(size.width())
                                   .arg(size.height());
        const QString path = folder + QStringLiteral("/mxrf418.png");
        if (!QDir().mkpath(folder) || !icon.pixmap(size).save(path)) {
            std::fprintf(stderr, "mxrf418-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
