#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "shell/AppInfo.h"
#include "shell/ui/FrmVersion.h"
#include "shell/ui/WindowOpeners.h"

class ShellWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void aboutShowsBothVersions()
    {
        AppInfo::state.FirmwareVersion = QStringLiteral("1.3.3");
        FrmVersion about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(about.findChild<QLabel *>("Label2")->text(), QStringLiteral("1.0.1"));
        QCOMPARE(about.findChild<QLabel *>("Label3")->text(), QStringLiteral("1.3.3"));
        about.show();
        about.findChild<QPushButton *>("Command1")->click();
        QVERIFY(!about.isVisible());
        AppInfo::Reset();
    }

    void openersRunWhatIsRegistered()
    {
        WindowOpeners::Reset();
        int runs = 0;
        QVERIFY(!WindowOpeners::Run(WindowOpeners::Action::Delay, nullptr));
        WindowOpeners::Register(WindowOpeners::Action::Delay, [&](QWidget *) { ++runs; });
        QVERIFY(WindowOpeners::Run(WindowOpeners::Action::Delay, nullptr));
        QCOMPARE(runs, 1);
        WindowOpeners::RegisterAllWindows();
        for (int action = 0; action <= int(WindowOpeners::Action::FactoryToPc); ++action)
            QVERIFY(WindowOpeners::IsRegistered(WindowOpeners::Action(action)));
        WindowOpeners::Reset();
    }
};

QTEST_MAIN(ShellWindowsTest)
#include "shell_windows_test.moc"
