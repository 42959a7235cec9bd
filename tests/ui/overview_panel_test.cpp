#include "CoreReset.h"
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "editors/Meters.h"
#include "editors/ui/FrmMain.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/ValueTables.h"
#include "presets/ModPreset.h"
#include "shell/ui/MessagePresenters.h"
#include "shell/ui/WindowOpeners.h"

namespace {

using Action = WindowOpeners::Action;

void ResetModules()
{
    ResetTheCore();
    WindowOpeners::Reset();
}

QColor SegmentColour(const QWidget &panel, int shape)
{
    const auto *segment = panel.findChild<QFrame *>(QStringLiteral("Shape1_%1").arg(shape));
    return segment ? segment->palette().color(QPalette::Window) : QColor();
}

} // namespace

class OverviewPanelTest : public QObject
{
    Q_OBJECT

private:
    /// A panel on the default image (channels linked) with a recording unit behind it.
    void Open(std::uint8_t flags = 2)
    {
        ModFun::LoadDefaultImage();
        ModFun::state.ParamImage[ValueTables::FlagsByteIndex] = flags;
        panel = std::make_unique<FrmMain>();
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }

    template<typename T> T *Find(const QString &name) const
    {
        T *widget = panel->findChild<T *>(name);
        if (!widget)
            qFatal("no %s", qPrintable(name));
        return widget;
    }

    void ExpectOneFrame(std::uint8_t command, std::uint8_t d0, std::uint8_t d5)
    {
        QCOMPARE(serial.calls.size(), std::size_t(1));
        const FrameBuffer &frame = serial.calls[0].frame;
        QCOMPARE(frame[2], command);
        QCOMPARE(frame[3], d0);
        QCOMPARE(frame[8], d5);
    }

    /// Clicks a button, or a caption or picture with the mouse.
    void Click(const QString &name)
    {
        auto *widget = Find<QWidget>(name);
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->click();
        else
            QTest::mouseClick(widget, Qt::LeftButton);
    }

    RecordingSerial serial;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<FrmMain> panel;

private slots:
    void init()
    {
        ResetModules();
        serial = RecordingSerial{};
        serial.open = true;
        ModTxRx::state.SerialPort = &serial;
        messages = std::make_unique<ScriptedMessages>();
    }

    void cleanup()
    {
        panel.reset();
        messages.reset();
        ResetModules();
    }

    void loadsShowingTheModelWithoutSending()
    {
        ModPreset::state.PresetNames[2] = QStringLiteral("  Live  ");
        ModPreset::state.CurrentPreset = 2;
        Open();
        QCOMPARE(panel->size(), QSize(540, 388));
        QVERIFY(PanelFlags::state.PanelOpen);
        QVERIFY(serial.calls.empty());
        QCOMPARE(panel->windowTitle(), QStringLiteral("MX-RF418 - Preset : P3 - Live  "));
        QCOMPARE(Find<QLabel>("Label100_7")->toolTip(),
                 QStringLiteral("Thr=0 dB - Rel=100 ms - Atk=5 ms"));
        QVERIFY(Find<QCheckBox>("Check12")->isChecked());
        QVERIFY2(!Find<QPushButton>("Command2_8")->isEnabled(), "no copy while linked");
        QVERIFY2(!Find<QPushButton>("Command3")->isVisible(), "service flag off");
        QVERIFY(Find<QTimer>("Timer1")->isActive());
        QCOMPARE(Find<QTimer>("Timer1")->interval(), 1000);
    }

    void muteWithLinkSendsOneFrameAndMutesBoth()
    {
        Open(2);
        Click("Image1_1");
        ExpectOneFrame(0x0A, 1, 1);
        QCOMPARE(ModFun::state.Mute[0], 1.0);
        QCOMPARE(ModFun::state.Mute[1], 1.0);
        QCOMPARE(Find<QLabel>("Image1_0")->toolTip(), QStringLiteral("Muted"));
        QVERIFY(!PanelFlags::state.UpdatingControls);
        QVERIFY(!ModTxRx::state.SendSuspended);

        serial.calls.clear();
        PanelFlags::state.UpdatingControls = true;
        Click("Image1_0");
        QVERIFY2(serial.calls.empty(), "ignored while the program sets controls");
    }

    void declinedLinkLeavesEverythingAsItWas()
    {
        Open(0);
        messages->Answer(Messages::Answer::No);
        Click("Check12");
        QCOMPARE(messages->Texts(),
                 QStringList{"                Link A & B            \r\n"
                             "     This will copy channel A to B    \r\n"
                             "             are you sure?            "});
        QVERIFY(!Find<QCheckBox>("Check12")->isChecked());
        QCOMPARE(ModFun::state.ChannelLink, std::int16_t(0));
        QVERIFY(serial.calls.empty());
        QVERIFY(Find<QPushButton>("Command2_8")->isEnabled());

        Click("Image1_0");
        ExpectOneFrame(0x0A, 0, 1);
        QCOMPARE(ModFun::state.Mute[1], 0.0); // not linked: B keeps its mute

        serial.calls.clear();
        messages->Answer(Messages::Answer::Yes);
        Click("Check12");
        ExpectOneFrame(0x12, 0, 1);
        QCOMPARE(ModFun::state.Mute[1], 1.0); // B takes A's mute
        QVERIFY(!Find<QPushButton>("Command2_8")->isEnabled());

        serial.calls.clear();
        Click("Check12");
        ExpectOneFrame(0x12, 0, 0);
        QVERIFY(Find<QPushButton>("Command2_8")->isEnabled());
    }

    void linkCopyShowsTheBusyArrowAndABoxTheArrow()
    {
        InstallArrowOverBoxes();
        Open(0);
        std::vector<int> shapes; // -1: no pointer of the program's own
        const auto look = [&shapes] {
            const QCursor *pointer = QApplication::overrideCursor();
            shapes.push_back(pointer ? pointer->shape() : -1);
        };
        messages->WhenAnswering(look);
        QObject copy;
        const auto boxDuringTheCopy = [&] {
            look();
            Messages::Tell(QStringLiteral("A box"), QString(), Messages::Icon::Information);
            look();
        };
        connect(&ModFun::notifier(), &ModFun::Notifier::summaryChanged, &copy, boxDuringTheCopy,
                Qt::SingleShotConnection);
        messages->Answer(Messages::Answer::Yes);
        Click("Check12");
        look();
        // The question, the copy, the box over it, the copy again, done.
        QCOMPARE(shapes,
                 (std::vector<int>{Qt::ArrowCursor, Qt::BusyCursor, Qt::ArrowCursor, Qt::BusyCursor,
                                   -1}));
    }

    void lockViewFollowsTheLockState()
    {
        Open(0);
        ModLock::state.LockState = 1;
        emit ModFun::notifier().lockStateChanged();
        const QStringList locked{"Frame1",     "Command2_0", "Command2_1", "Command2_2",
                                 "Command2_3", "Command1",   "Command3",   "Check12"};
        for (const QString &name : locked)
            QVERIFY2(!Find<QWidget>(name)->isEnabled(), qPrintable(name));
        QVERIFY2(Find<QWidget>("Command2_4")->isEnabled(), "the password stays reachable");
        Click("Image1_0");
        QVERIFY2(serial.calls.empty(), "the strips take no clicks while locked");

        ModLock::state.LockState = 0;
        emit ModFun::notifier().lockStateChanged();
        for (const QString &name : locked)
            QVERIFY2(Find<QWidget>(name)->isEnabled(), qPrintable(name));
        QVERIFY(Find<QWidget>("Command2_8")->isEnabled());

        ModLock::state.ServiceFlag = true;
        emit ModFun::notifier().serviceFlagChanged();
        QVERIFY(Find<QPushButton>("Command3")->isVisible());
    }

    void captionsAndButtonsRunTheirActions()
    {
        QStringList ran;
        const auto record = [&](Action action, const QString &name) {
            WindowOpeners::Register(action, [&ran, name](QWidget *) {
                ran << QStringLiteral("%1 filter=%2/%3 limiter=%4 busy=%5")
                           .arg(name)
                           .arg(PanelFlags::state.FilterChannel)
                           .arg(ModGraph::state.FilterEditorShown)
                           .arg(PanelFlags::state.LimiterChannel)
                           .arg(PanelFlags::state.PresetActionBusy);
            });
        };
        for (auto [action, name] : {std::pair{Action::NoiseGate, "gate"},
                                    {Action::Filter, "filter"},
                                    {Action::Delay, "delay"},
                                    {Action::Limiter, "limiter"},
                                    {Action::About, "about"},
                                    {Action::PresetFromDevice, "read"},
                                    {Action::FactoryFromPc, "factory"}})
            record(action, name);
        Open();
        for (const char *name : {"Label100_0", "Label100_11", "Label100_2", "Label100_14",
                                 "Label100_17", "Label100_7", "Label21", "Command2_3", "Command1"})
            Click(name);
        Click("Command2_2"); // nothing registered: nothing happens
        QCOMPARE(ran,
                 (QStringList{
                     "gate filter=0/0 limiter=0 busy=0", "filter filter=1/1 limiter=0 busy=0",
                     "filter filter=0/1 limiter=0 busy=0", "delay filter=0/0 limiter=0 busy=0",
                     "limiter filter=0/0 limiter=1 busy=0", "limiter filter=0/0 limiter=0 busy=0",
                     "about filter=0/0 limiter=0 busy=0", "read filter=0/0 limiter=0 busy=1",
                     "factory filter=0/0 limiter=0 busy=1"}));
        QVERIFY(!PanelFlags::state.PresetActionBusy);
        QVERIFY(!ModGraph::state.FilterEditorShown);
    }

    void meterPollDecodesAndSkipsWhileBusy()
    {
        serial.responder = [](const FrameBuffer &request) {
            return ReplyFrame(request[2], 93, 0, 97, 122, 90, 127);
        };
        ModFun::state.ParamImage[64 + 58] = 0;
        Open();
        QSignalSpy polled(panel.get(), &FrmMain::metersPolled);
        QVERIFY(polled.wait()); // the first tick comes after a second
        ExpectOneFrame(0x21, 0, 0);
        QCOMPARE(Find<QTimer>("Timer1")->interval(), 100);
        QCOMPARE(SegmentColour(*panel, 6), QColor(255, 0, 0)); // input A clips
        QCOMPARE(SegmentColour(*panel, 14 + 6), QColor(255, 255, 0)); // output A's limiter works

        Find<QTimer>("Timer1")->stop();
        serial.calls.clear();
        PanelFlags::state.PresetActionBusy = true;
        panel->PollMeters();
        PanelFlags::state.PresetActionBusy = false;
        ModTxRx::state.LinkIdle = false;
        panel->PollMeters();
        ModTxRx::state.LinkIdle = true;
        QVERIFY(serial.calls.empty());
        QCOMPARE(polled.count(), 1);
    }

    void failedPollThatCannotReconnectClosesThePanel()
    {
        Open();
        QSignalSpy closed(panel.get(), &FrmMain::closed);
        serial.QueueFailure();
        serial.onlyPort = QStringLiteral("none"); // the reopen fails
        panel->PollMeters();
        QVERIFY(messages->ShownOnly("Communication time-Out, the system close the device",
                                    "Communication problem", Messages::Icon::Critical));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(serial.Commands(), std::vector<int>{0x21}); // no release on a closed port
    }

    void closingAsksThenReleasesTheUnit()
    {
        Open();
        QSignalSpy closed(panel.get(), &FrmMain::closed);
        messages->Answer(Messages::Answer::No);
        panel->close();
        QVERIFY(panel->isVisible());
        QVERIFY(serial.calls.empty());
        QCOMPARE(messages->Shown()[0].box.title, QStringLiteral("ID: - Close window"));

        messages->Answer(Messages::Answer::Yes);
        panel->close();
        QCOMPARE(closed.count(), 1);
        ExpectOneFrame(0x0F, 0, 0);
        QVERIFY(!serial.IsOpen());
        QVERIFY(!PanelFlags::state.PanelOpen);
    }
};

QTEST_MAIN(OverviewPanelTest)
#include "overview_panel_test.moc"
