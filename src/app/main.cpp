// mxrf418: the MX-RF418 remote control program.
#include <QApplication>

#include "graph/ModGraph.h"
#include "link/QtSerialComponent.h"
#include "session/ui/MDIFrmMain.h"
#include "session/ui/frmSplash.h"
#include "shell/ui/MessagePresenters.h"
#include "shell/ui/UnitPicture.h"
#include "shell/ui/WindowOpeners.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mxrf418"));
    QApplication::setWindowIcon(ProgramIcon());
    // Lets the desktop match the windows to the installed mxrf418.desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("mxrf418"));
    // The program ends when the operator confirms Exit, or when the serial component fails.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallMessagePresenters();
    WindowOpeners::RegisterAllWindows();
    ModGraph::FollowModel();

    QtSerialComponent serial;
    MDIFrmMain mainWindow(serial);
    QObject::connect(&mainWindow, &MDIFrmMain::programEnds, &app, &QApplication::quit);
    frmSplash splash;
    QObject::connect(&splash, &frmSplash::timeUp, &mainWindow, [&mainWindow] {
        if (!mainWindow.Load()) {
            QApplication::exit(1);
            return;
        }
        mainWindow.show();
    });
    splash.show();
    return QApplication::exec();
}
