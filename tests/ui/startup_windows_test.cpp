#include <QCheckBox>
#include <QFrame>
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
#include "session/Startup.h"
#include "session/ui/FrmTrace.h"
#include "session/ui/MDIFrmMain.h"
#include "session/ui/frmSplash.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"
#include "session/ui/MDIFrmMain.h"
#include "session/ui/frmSplash.h"
#include "shell/AppInfo.h"
#include "shell/ModCountry.h"

namespace {

/// Each exchange of the unit's log as "cmd:address", e.g. "17:001A".
QStringList Frames(const std::vector<UnitLogEntry> &log)
{
    QStringList frames;
    for (const UnitLogEntry &entry : log) {
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(entry.request[i]); };
        frames << QStringLiteral("%1:%2%3")
                      .arg(byte(2), 2, 16, QChar('0'))
                      .arg(byte(3), 2, 16, QChar('0'))
                      .arg(byte(4), 2, 16, QChar('0'))
                      .toUpper();
    }
    return frames;
}

QStringList LoadFrames()
{
    QStringList frames{"00:0000", "17:001A", "25:0000", "10:0010", "10:0013",
                       "17:0030", "17:0034", "17:0038", "17:003C"};
    for (int offset = 0; offset < 128; offset += 4)
        frames << QStringLiteral("19:%1").arg(offset, 4, 16, QChar('0')).toUpper();
    return frames;
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

    /// A button of the main window's toolbar (the panel has a `Command1` of its own).
    QPushButton *Button(const QString &name) const
    {
        return window->findChild<QToolBar *>("Toolbar1")->findChild<QPushButton *>(name);
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
        AppInfo::Reset();
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
        VirtualUnit silent;
        VirtualUnit unit;
        Start(silent, 2, {"--drop-command", "25"});
        Start(unit, 5);
        Connect();
        QVERIFY(window->Panel());
        QCOMPARE(messages->Texts(), QStringList{"Connect device, are you sure?"});
        QCOMPARE(window->windowTitle(), QStringLiteral("MX-RF418 - Remote Control Software"));
        QCOMPARE(Startup::ReadInitCfg(), std::int16_t(5));
        QCOMPARE(silent.Log(1).size(), std::size_t(1)); // searched past the silent port
        QCOMPARE(AppInfo::state.FirmwareVersion, QStringLiteral("1.3.3"));
        QVERIFY(!Button("Command1")->isEnabled());
        QVERIFY(!Button("Command2")->isEnabled());
        QVERIFY(!window->findChild<QWidget *>("FrmVum"));
        QStringList expected = LoadFrames();
        expected.prepend("25:0000"); // the identity query that found it
        QCOMPARE(Frames(unit.Log(expected.size())).mid(0, expected.size()), expected);

        // The meters move: the input bars light within a few polls of the music.
        QSignalSpy polled(window->Panel(), &FrmMain::metersPolled);
        const QColor off = QApplication::palette().color(QPalette::Button);
        bool lit = false;
        for (int tick = 0; tick < 20 && !lit; ++tick) {
            QVERIFY(polled.wait(1500));
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
        QVERIFY(!PanelFlags::state.PanelOpen);
        QVERIFY(!serial->IsOpen());
        QCOMPARE(Frames(unit.Log()).last(), QStringLiteral("0F:0000"));
        QTRY_VERIFY(!window->Panel());
        QTRY_VERIFY(Button("Command1")->isEnabled());

        // The remembered port is tried first: the silent unit hears nothing more.
        const auto before = unit.Log().size();
        Connect();
        QVERIFY(window->Panel());
        QCOMPARE(silent.Log().size(), std::size_t(1));
        QCOMPARE(Frames(unit.Log(before + 1)).at(before), QStringLiteral("25:0000"));
    }

    void failingLoadOpensNoPanelAndChangesNothing()
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
        QVERIFY(!PanelFlags::state.PanelOpen);
        QVERIFY(std::all_of(ModFun::state.ParamImage.begin(), ModFun::state.ParamImage.end(),
                            [](std::uint8_t b) { return b == 0; }));
        QCOMPARE(ModPreset::state.PresetNames[0], ModPreset::EmptyName());
        QCOMPARE(AppInfo::state.FirmwareVersion, QStringLiteral("1.0.0"));
        QCOMPARE(Startup::ReadInitCfg(), std::int16_t(1)); // the unit did answer
        QVERIFY(serial->IsOpen());
        QVERIFY(Button("Command2")->isEnabled());

        // Connect while connected releases the unit first, then searches again.
        const auto before = unit.Log().size();
        Connect();
        const QStringList again = Frames(unit.Log(before + 2)).mid(before, 2);
        QCOMPARE(again, (QStringList{"0F:0000", "25:0000"}));

        // Exit releases the unit without waiting.
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
        QCOMPARE(Frames(unit.Log()).last(), QStringLiteral("0F:0000"));
    }

    void noUnitLeavesTheRememberedPortAlone()
    {
        QVERIFY(Startup::WriteInitCfg(7));
        Connect();
        QVERIFY(!window->Panel());
        QCOMPARE(messages->Texts().last(), QStringLiteral("COM or device not found"));
        QCOMPARE(Startup::ReadInitCfg(), std::int16_t(7));
    }

    void demoOpensThePanelWithoutTransfer()
    {
        VirtualUnit unit;
        Start(unit, 1);
        messages->Answer(Messages::Answer::Yes);
        Button("Command2")->click();
        QCOMPARE(messages->Texts(), QStringList{"     Demo mode, are you sure?"});
        QVERIFY(window->Panel());
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("MX-RF418 - DEMO - Remote Control Software"));
        QCOMPARE(Button("Command2")->palette().color(QPalette::Button), QColor(255, 0, 0));
        QSignalSpy polled(window->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait(1500));
        QVERIFY(unit.Log().empty());
        QVERIFY(!serial->IsOpen());
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
