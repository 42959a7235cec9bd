#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "editors/ui/FrmMain.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "session/Startup.h"
#include "session/ui/MDIFrmMain.h"
#include "shell/ui/WindowOpeners.h"

namespace {

/// Frames of a connect to a unit without user presets: the identity query, then the load.
constexpr int Connected = 42;
constexpr int GateA = 59; // the gate's on byte of channel A
constexpr int GateB = 123;
const QString TimeOutMessage =
    QStringLiteral("Communication time-Out, the system close the device");

/// A fault option of the virtual unit for frame `frame`, counted from 1.
QStringList FaultAt(const char *option, int frame)
{
    return {QString::fromLatin1(option), QString::number(frame)};
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Runs `act` on the next modal window as soon as it shows (the click that opens it blocks).
void OnNextModal(const std::function<void(QWidget &)> &act, int triesLeft = 200)
{
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget *modal = QApplication::activeModalWidget())
            act(*modal);
        else if (triesLeft > 0)
            OnNextModal(act, triesLeft - 1);
        else
            qFatal("no modal window opened");
    });
}

/// The real program, every window registered, against the virtual unit as COM1.
struct Program
{
    Program() : window(serial)
    {
        messages.WhenAnswering([this] { KeepTheBoxUpForAMeterTick(); });
        ModGraph::Reset();
        PresetFiles::Reset();
        WindowOpeners::RegisterAllWindows();
        window.Load();
        window.show();
    }
    ~Program()
    {
        // Windows first: they still talk to the modules while they close.
        while (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        window.hide();
        unit.Stop();
        WindowOpeners::Reset();
        ModTxRx::Reset();
        ModFun::Reset();
        ModPreset::Reset();
        ModLock::Reset();
    }

    /// A box stays up until the next meter tick is due, the event loop running as behind a box.
    void KeepTheBoxUpForAMeterTick()
    {
        QTimer *timer = Panel() ? Panel()->findChild<QTimer *>("Timer1") : nullptr;
        if (!timer || !timer->isActive())
            return;
        QEventLoop box;
        QObject::connect(timer, &QTimer::timeout, &box, &QEventLoop::quit);
        QTimer::singleShot(timer->remainingTime() + 1, &box, &QEventLoop::quit);
        box.exec();
    }
    bool StartUnit(const QStringList &options)
    {
        const bool started = unit.Start({1, options});
        if (!started)
            qWarning("%s", qPrintable(unit.ErrorString()));
        return started;
    }
    /// Connect as the operator does it; true when the overview panel opened.
    bool Connect()
    {
        messages.Answer(Messages::Answer::Yes);
        ToolbarButton("Command1")->click();
        return Panel() != nullptr;
    }
    FrmMain *Panel() const { return window.Panel(); }
    QPushButton *ToolbarButton(const char *name) const
    {
        return window.findChild<QToolBar *>("Toolbar1")->findChild<QPushButton *>(name);
    }
    /// The panel's click on a button or a caption (a caption opens its editor).
    void ClickPanel(const QString &name)
    {
        QWidget *control = Panel()->findChild<QWidget *>(name);
        if (auto *button = qobject_cast<QPushButton *>(control))
            button->click();
        else
            QTest::mouseClick(control, Qt::LeftButton);
    }
    /// Opens the editor of caption `label`, runs `act` in it; whether it was still open 4 s later.
    bool EditorLeftOpen(const QString &label, const std::function<void(QWidget &)> &act)
    {
        bool leftOpen = false;
        OnNextModal([&leftOpen, act](QWidget &editor) {
            QTimer::singleShot(4000, &editor, [&] {
                leftOpen = true;
                editor.close();
            });
            act(editor);
        });
        ClickPanel(label);
        return leftOpen;
    }
    /// Runs `fault` once the unit got a gate frame (the edit's, left unanswered).
    void OnGateFrame(QObject *owner, const std::function<void()> &fault)
    {
        auto *probe = new QTimer(owner);
        QObject::connect(probe, &QTimer::timeout, probe, [this, probe, fault] {
            const std::vector<UnitLogEntry> log = unit.Log();
            if (log.empty() || log.back().request.at(2) != '\x14')
                return;
            probe->stop();
            fault();
        });
        probe->start(10);
    }
    /// No box but the questions the operator answered.
    QStringList Told() const
    {
        QStringList told;
        for (const Messages::Shown &shown : messages.Shown()) {
            if (shown.box.buttons != Messages::Buttons::YesNo)
                told << shown.box.text;
        }
        return told;
    }

    TemporaryConfig config;
    ScriptedMessages messages;
    QtSerialComponent serial;
    MDIFrmMain window;
    VirtualUnit unit;
};

enum class Act { Nothing, Store, EditorOpen, Edit };
enum class Fault { None, Unplug, Silence, Freeze };

} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Fault)

/// Mended faults go unnoticed; a link lost for good is told once, closes all and loses nothing.
class FaultsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Program> program;
    QByteArray initCfg;
    decltype(ModFun::state.ParamImage) image{};

    /// What is wrong after a lost link: the message not once, a window open, Connect or Demo
    /// disabled, the port open, init.cfg or the image changed.
    QStringList LinkLostProblems() const
    {
        QStringList problems;
        (void)QTest::qWaitFor([this] { return !program->Panel(); }, 10000);
        if (const auto shown = program->messages.Texts().count(TimeOutMessage); shown != 1)
            problems << QStringLiteral("the time-out message was shown %1 times").arg(shown);
        if (program->Panel() || PanelFlags::state.PanelOpen)
            problems << QStringLiteral("the panel is open");
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->isVisible() && shown != &program->window)
                problems << QStringLiteral("%1 is left open").arg(shown->objectName());
        }
        for (const char *button : {"Command1", "Command2"}) {
            if (!QTest::qWaitFor([&] { return program->ToolbarButton(button)->isEnabled(); }))
                problems << QStringLiteral("%1 stays disabled").arg(button);
        }
        if (program->serial.IsOpen())
            problems << QStringLiteral("the port is open");
        if (FileBytes(Startup::InitCfgPath()) != initCfg)
            problems << QStringLiteral("init.cfg changed");
        if (ModFun::state.ParamImage != image)
            problems << QStringLiteral("the image changed");
        return problems;
    }

    /// Closes the main window, or the panel's sub-window, as soon as a frame waits for its reply.
    void CloseWhenAFrameWaits(bool panel)
    {
        auto *probe = new QTimer(&program->window);
        connect(probe, &QTimer::timeout, probe, [this, probe, panel] {
            if (ModTxRx::state.LinkIdle)
                return;
            probe->stop();
            (panel ? program->Panel()->parentWidget() : &program->window)->close();
        });
        probe->start(2);
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup() { program.reset(); }

    void noiseAheadOfAMeterReplyGoesUnnoticed()
    {
        // Noise ahead of the first poll's reply: the reopen, then a poll that goes through.
        QVERIFY(program->StartUnit(FaultAt("--garbage-every", Connected + 1)));
        QVERIFY(program->Connect());
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(QTest::qWaitFor([&] { return program->unit.Log().size() > Connected + 1; }));
        QCOMPARE(program->unit.Log().at(Connected + 1).request.at(2), '\x25');
        QVERIFY(polled.wait());
        QCOMPARE(program->Told(), QStringList());
    }

    void anEditsReplyDroppedWhileTheMetersPollIsMended()
    {
        QVERIFY(program->StartUnit({"--drop-command", "14"})); // gate frames go unanswered
        QVERIFY(program->Connect());
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait());
        QCOMPARE(ModFun::state.ChannelLink, 1); // the unit's setting links B to A
        auto expected = ModFun::state.ParamImage;
        expected[GateA] ^= 1;
        expected[GateB] ^= 1;
        bool editorKept = false;
        // The edit's reply is lost (3 s), the link reopened, and the editor goes on.
        QVERIFY(!program->EditorLeftOpen("Label100_0", [&](QWidget &editor) {
            editor.findChild<QCheckBox *>("Check1_0")->click();
            editorKept = editor.isVisible();
            editor.close();
        }));
        QVERIFY(editorKept);
        QCOMPARE(program->Told(), QStringList());
        QCOMPARE(ModFun::state.ParamImage, expected);
        const int before = polled.count();
        QVERIFY(QTest::qWaitFor([&] { return polled.count() > before; }));
    }

    void aLostLinkIsToldOnceAndClosesEverything_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Act>("act");
        QTest::addColumn<Fault>("fault");
        // The mute, ten blocks, then the hang-up.
        QTest::newRow("hang-up during a store")
            << FaultAt("--hangup-after", Connected + 1 + 11) << Act::Store << Fault::None;
        QTest::newRow("hang-up at the meter poll, an editor open")
            << FaultAt("--hangup-after", Connected + 2) << Act::EditorOpen << Fault::None;
        QTest::newRow("unplugged while an edit waits")
            << QStringList{"--drop-command", "14"} << Act::Edit << Fault::Unplug;
        // The reopen's identity query goes unanswered too; the poll ticks while it waits.
        QTest::newRow("silent while an edit waits")
            << QStringList{"--drop-command", "14"} << Act::Edit << Fault::Silence;
        QTest::newRow("silent at the meter poll") << QStringList() << Act::Nothing << Fault::Freeze;
    }
    void aLostLinkIsToldOnceAndClosesEverything()
    {
        QFETCH(QStringList, options);
        QFETCH(Act, act);
        QFETCH(Fault, fault);
        QVERIFY(program->StartUnit(options));
        QVERIFY(program->Connect());
        program->ClickPanel("Image1_0"); // the operator's own setting: one frame after the connect
        QCOMPARE(ModFun::state.Mute[0], 1.0);
        initCfg = FileBytes(Startup::InitCfgPath());
        image = ModFun::state.ParamImage;
        VirtualUnit &unit = program->unit;
        if (fault == Fault::Freeze)
            unit.Freeze();
        if (act == Act::Store) { // "Preset to device" in user place 3
            OnNextModal([this](QWidget &store) {
                store.findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
                store.findChild<QLineEdit *>("Text1")->setText("Live");
                program->messages.Answer(Messages::Answer::Yes);
                store.findChild<QPushButton *>("Command1_1")->click();
            });
            program->ClickPanel("Command2_2");
        }
        if (act == Act::EditorOpen)
            QVERIFY(!program->EditorLeftOpen("Label100_10", [](QWidget &) {}));
        if (act == Act::Edit) {
            QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
            QVERIFY(polled.wait());
            QVERIFY(!program->EditorLeftOpen("Label100_0", [&](QWidget &editor) {
                program->OnGateFrame(&editor, [&unit, fault] {
                    fault == Fault::Unplug ? unit.Stop() : unit.DropNextReply();
                });
                editor.findChild<QCheckBox *>("Check1_0")->click();
            }));
            image[GateA] ^= 1; // that edit stays, not mirrored on B
        }
        QCOMPARE(LinkLostProblems().join("; "), QString());
    }

    void closeWhileAFrameWaits_data()
    {
        QTest::addColumn<bool>("panel");
        QTest::addColumn<bool>("duringConnect");
        QTest::newRow("main window, meter poll") << false << false;
        QTest::newRow("main window, connect load") << false << true;
        QTest::newRow("overview panel, meter poll") << true << false;
    }
    /// A close while a frame waits comes back once the line is free, the release the last frame.
    void closeWhileAFrameWaits()
    {
        QFETCH(bool, panel);
        QFETCH(bool, duringConnect);
        QVERIFY(program->StartUnit({"--delay", "30"})); // each reply comes 30 ms late
        // What the unit had got when the close was done (the program ends there).
        std::vector<UnitLogEntry> atEnd;
        bool portOpen = true;
        const auto done = [&] {
            atEnd = program->unit.Log();
            portOpen = program->serial.IsOpen();
        };
        connect(&program->window, &MDIFrmMain::programEnds, &program->window, done);
        program->messages.Answer(Messages::Answer::Yes); // to the close's question
        if (duringConnect)
            CloseWhenAFrameWaits(panel);
        const bool connected = program->Connect();
        if (!duringConnect) {
            QVERIFY(connected);
            connect(program->Panel(), &FrmMain::closed, program->Panel(), done);
            CloseWhenAFrameWaits(panel);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!atEnd.empty(), 5000);
        QCOMPARE(atEnd.back().request.at(2), '\x0F');
        QVERIFY(!portOpen);
        QCOMPARE(program->messages.Texts(),
                 (QStringList{"Connect device, are you sure?", "               Are you sure ? "}));
    }
};

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"
