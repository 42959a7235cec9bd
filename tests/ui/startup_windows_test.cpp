#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "editors/ui/FrmMain.h"
#include "link/FrameTrace.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "model/ModFun.h"
#include "remote/ui/FrmRemote.h"
#include "session/Startup.h"
#include "session/ui/FrmTrace.h"
#include "session/ui/MDIFrmMain.h"
#include "session/ui/frmSplash.h"
#include "shell/ModCountry.h"

namespace {

/// The command byte of each frame the unit got.
QList<int> Commands(const VirtualUnit &unit, int count = 0)
{
    QList<int> commands;
    for (const UnitLogEntry &entry : unit.Log(count))
        commands << static_cast<std::uint8_t>(entry.request.at(2));
    return commands;
}

} // namespace

class StartupWindowsTest : public QObject
{
    Q_OBJECT

private:
    void Start(VirtualUnit &unit, int port, const QStringList &options = {})
    {
        QVERIFY2(unit.Start({port, options}), qPrintable(unit.ErrorString()));
    }

    /// A button of the main window's toolbars (the panel has a `Command1` of its own).
    QPushButton *Button(const QString &name) const
    {
        for (auto *toolbar : window->findChildren<QToolBar *>()) {
            if (auto *button = toolbar->findChild<QPushButton *>(name))
                return button;
        }
        return nullptr;
    }

    void Connect()
    {
        messages->Answer(Messages::Answer::Yes);
        Button("Command1")->click();
    }

    std::unique_ptr<TemporaryConfig> config;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<QtSerialComponent> serial;
    std::unique_ptr<MDIFrmMain> window;

private slots:
    void init()
    {
        config = std::make_unique<TemporaryConfig>();
        messages = std::make_unique<ScriptedMessages>();
        serial = std::make_unique<QtSerialComponent>();
        window = std::make_unique<MDIFrmMain>(*serial);
        QVERIFY(window->Load());
        window->show();
    }

    void cleanup()
    {
        window.reset();
        ModTxRx::Reset();
        serial.reset();
        messages.reset();
        config.reset();
    }

    void connectFindsTheUnitLoadsAndOpensThePanel()
    {
        VirtualUnit unit;
        Start(unit, 1);
        Connect();
        QVERIFY(window->Panel());
        QCOMPARE(messages->Texts(), QStringList{"Connect device, are you sure?"});
        QCOMPARE(window->windowTitle(), QStringLiteral("MX-RF418 - Remote Control Software"));
        QVERIFY(!Button("Command1")->isEnabled());
        QVERIFY(!Button("Command2")->isEnabled());
        QVERIFY(!window->findChild<QWidget *>("FrmVum"));

        // The meters move: the input bars light within a few polls of the music.
        QSignalSpy polled(window->Panel(), &FrmMain::metersPolled);
        const QColor off = QApplication::palette().color(QPalette::Button);
        bool lit = false;
        for (int tick = 0; tick < 20 && !lit; ++tick) {
            QVERIFY(polled.wait());
            for (int k = 0; k < 14; ++k)
                lit = lit ||
                    window->Panel()
                            ->findChild<QFrame *>(QStringLiteral("Shape1_%1").arg(k))
                            ->palette()
                            .color(QPalette::Window) != off;
        }
        QVERIFY(lit);

        // Closing the panel asks, releases the unit and closes the port.
        messages->Answer(Messages::Answer::Yes);
        qobject_cast<QMdiSubWindow *>(window->Panel()->parentWidget())->close();
        QVERIFY(!serial->IsOpen());
        QCOMPARE(Commands(unit).last(), 0x0F);
        QTRY_VERIFY(Button("Command1")->isEnabled());
    }

    void failingLoadOpensNoPanel()
    {
        VirtualUnit unit;
        Start(unit, 1, {"--drop-command", "19"});
        Connect();
        QVERIFY(!window->Panel());
        QCOMPARE(messages->Shown().size(), std::size_t(2));
        const Messages::Box &box = messages->Shown()[1].box;
        QCOMPARE(box.text, QStringLiteral("COM or device not found"));
        QCOMPARE(box.title, QStringLiteral("MX-RF416"));
        QCOMPARE(box.icon, Messages::Icon::Exclamation);
        QCOMPARE(window->windowTitle(), QStringLiteral("MX-RF418"));
        QVERIFY(Button("Command2")->isEnabled());

        // Connect while connected releases the unit first, then searches again.
        const int before = int(unit.Log().size());
        Connect();
        QCOMPARE(Commands(unit, before + 2).mid(before, 2), (QList<int>{0x0F, 0x25}));

        // Exit asks, No by default, then releases the unit.
        messages->Answer(Messages::Answer::No);
        QSignalSpy ends(window.get(), &MDIFrmMain::programEnds);
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(messages->Shown().back().box.title, QStringLiteral("Exit"));
        QCOMPARE(messages->Shown().back().box.defaultAnswer, Messages::Answer::No);
        messages->Answer(Messages::Answer::Yes);
        window->close();
        QCOMPARE(ends.count(), 1);
        QVERIFY(!serial->IsOpen());
        QCOMPARE(Commands(unit).last(), 0x0F);
    }

    void demoReleasesTheUnitAndOpensThePanel_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<std::vector<int>>("sent");
        QTest::newRow("port open") << true << std::vector<int>{0x0F};
        QTest::newRow("port closed") << false << std::vector<int>{};
    }
    void demoReleasesTheUnitAndOpensThePanel()
    {
        QFETCH(bool, portOpen);
        RecordingSerial recording;
        MDIFrmMain demo(recording);
        QVERIFY(demo.Load());
        recording.open = portOpen;
        messages->Answer(Messages::Answer::Yes);
        demo.findChild<QToolBar *>("Toolbar1")->findChild<QPushButton *>("Command2")->click();
        QCOMPARE(messages->Texts(), QStringList{"     Demo mode, are you sure?"});
        QVERIFY(!recording.open);
        QVERIFY(demo.Panel());
        QCOMPARE(demo.windowTitle(), QStringLiteral("MX-RF418 - DEMO - Remote Control Software"));
        QCOMPARE(demo.findChild<QToolBar *>("Toolbar1")
                     ->findChild<QPushButton *>("Command2")
                     ->palette()
                     .color(QPalette::Button),
                 QColor(255, 0, 0));
        QVERIFY(QSignalSpy(demo.Panel(), &FrmMain::metersPolled).wait());
        QTEST(recording.Commands(), "sent");
    }

    void buttonTimerEnablesConnectAndDemoWhenNoPanelIsOpen()
    {
        auto *timer = window->findChild<QTimer *>("Timer3");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 3000);
        Button("Command1")->setEnabled(false);
        Button("Command2")->setEnabled(false);
        timer->start(1);
        QVERIFY(QSignalSpy(timer, &QTimer::timeout).wait());
        QVERIFY(Button("Command1")->isEnabled());
        QVERIFY(Button("Command2")->isEnabled());
        QCOMPARE(timer->interval(), 1000);

        messages->Answer(Messages::Answer::Yes);
        Button("Command2")->click(); // the demo panel
        Button("Command1")->setEnabled(false);
        timer->start(1);
        QVERIFY(QSignalSpy(timer, &QTimer::timeout).wait());
        QVERIFY(!Button("Command1")->isEnabled());
        QVERIFY(!Button("Command2")->isEnabled());
    }

    void traceWindowTracesWhileOpenAndSavesWithoutMeterPolls()
    {
        VirtualUnit unit;
        Start(unit, 1);
        Button("CommandTrace")->click();
        auto *trace = window->findChild<FrmTrace *>("FrmTrace");
        Connect();
        QSignalSpy polled(window->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait(1500));
        trace->findChild<QCheckBox *>("CheckHidePolls")->setChecked(true);
        messages->ChooseFile(config->Path() + "/trace.txt");
        trace->findChild<QPushButton *>("CommandSave")->click();
        QFile saved(config->Path() + "/trace.txt");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        // A heading, the open, one line per exchange but the polls, and the end of the last line.
        QCOMPARE(saved.readAll().count('\n'),
                 unit.LogLines().filter(QRegularExpression("^F0 10 (?!21)")).size() + 2);
        trace->close();
        QTRY_VERIFY(!FrameTrace::IsOn());
    }

    void remoteWindowServesWhileThePanelIsOpen()
    {
        QVERIFY(!Button("CommandRemote")->isEnabled());
        messages->Answer(Messages::Answer::Yes);
        Button("Command2")->click(); // the demo panel
        Button("CommandRemote")->click();
        QPointer<FrmRemote> remote = window->findChild<FrmRemote *>("FrmRemote");
        remote->findChild<QPushButton *>("CommandStart")->click();
        QCOMPARE(remote->findChild<QLineEdit *>("TextAddress")->text(), remote->server().Address());
        QVERIFY(!remote->findChild<QLabel *>("PictureQr")->pixmap().isNull());
        messages->Answer(Messages::Answer::Yes);
        qobject_cast<QMdiSubWindow *>(window->Panel()->parentWidget())->close();
        QTRY_VERIFY(remote.isNull());
    }

    void initializeFailureEndsTheProgram()
    {
        RecordingSerial refusing;
        refusing.initializeResult = 1;
        MDIFrmMain refused(refusing);
        QVERIFY(!refused.Load());
        QVERIFY(messages->ShownOnly("Wrong COM initialization!", "SerialLibDemo",
                                    Messages::Icon::Critical));
    }

    void splashHandsOverAfterTwoSeconds()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        frmSplash splash;
        QLocale::setDefault(saved);
        QCOMPARE(ModCountry::CommaLocale, 1); // the locale check ran
        ModCountry::CommaLocale = 0;
        splash.show();
        QSignalSpy timeUp(&splash, &frmSplash::timeUp);
        const auto *timer = splash.findChild<QTimer *>("Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(timeUp.wait(3000));
        QTRY_VERIFY(!splash.isVisible());
    }
};

QTEST_MAIN(StartupWindowsTest)
#include "startup_windows_test.moc"
