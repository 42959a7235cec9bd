#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "shell/AppInfo.h"
#include "shell/ui/FrmVersion.h"
#include "shell/ui/ModWindow.h"
#include "shell/ui/UnitPicture.h"
#include "shell/ui/WindowOpeners.h"

class ShellWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void clientSizeIsExact()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(ModWindow::SetClientSize(&window, 540, 388), 1);
        QCOMPARE(window.size(), QSize(540, 388));
        const ModWindow::WindowMetrics metrics = ModWindow::GetWindowMetrics(&window);
        QVERIFY(!metrics.failed);
        QCOMPARE(metrics.clientWidth, 540);
        QCOMPARE(ModWindow::SetClientSize(nullptr, 540, 388), 0);
        QVERIFY(ModWindow::GetWindowMetrics(nullptr).failed);
    }

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

    void iconShowsBothLedColumnsUncovered()
    {
        // The icon draws the front in the middle 60 % of its height: LED columns at 0.2 h and
        // 0.38 h, five LEDs each, red, orange and three green from the top.
        const int size = 64;
        const QImage icon = ProgramIcon().pixmap(size).toImage();
        const qreal h = size * 0.6;
        const qreal step = h * 0.45 / 5;
        for (const qreal left : {h * 0.2, h * 0.38}) {
            for (int led = 0; led < 5; ++led) {
                const QColor colour = icon.pixelColor(
                    int(left + h * 0.05), int(size * 0.2 + h * 0.42 + (led + 0.5) * step));
                const bool lit = led < 2
                    ? colour.red() > 200 && colour.blue() < 80
                    : colour.green() > 200 && colour.red() < 80 && colour.blue() < 80;
                QVERIFY2(lit,
                         qPrintable(QStringLiteral("column at %1, LED %2: %3")
                                        .arg(left)
                                        .arg(led)
                                        .arg(colour.name())));
            }
        }
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
