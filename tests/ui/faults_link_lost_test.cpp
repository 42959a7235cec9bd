#include <QCheckBox>
#include <QElapsedTimer>
#include <QSignalSpy>

#include "ProgramUnderTest.h"

namespace {

const QString TimeOutMessage =
    QStringLiteral("Communication time-Out, the system close the device");

constexpr int Connected = ProgramUnderTest::ConnectFrames;

} // namespace

/// The unit lost for good in each phase of the work (unplugged: the unit hangs up; the cable
/// pulled: the unit falls silent): the operator is told once, every window of the connection
/// closes, the program is ready to connect again, and nothing the operator set or kept is lost.
class FaultsLinkLostTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramUnderTest> program;
    QByteArray initCfg;
    std::array<std::uint8_t, ValueTables::ImageSize> image{};
    QElapsedTimer clock;

    /// Connects to the unit started with `options`, then mutes channel A: the operator's own
    /// setting, which no failure may take back. One frame after the connect.
    void ConnectAndMute(const QStringList &options)
    {
        QVERIFY(program->StartUnit(options));
        QVERIFY(program->Connect());
        program->ClickPanel(QStringLiteral("Image1_0"));
        QCOMPARE(ModFun::state.Mute[0], 1.0);
        initCfg = ProgramUnderTest::FileBytes(Startup::InitCfgPath());
        QCOMPARE(initCfg, QByteArray("\x01\x00", 2));
        image = ModFun::state.ParamImage;
        clock.start();
    }

    /// What a lost link must leave, as the list of what is wrong: the time-out message once,
    /// the panel and every window it opened closed, Connect and Demo usable again, the port
    /// closed, init.cfg and the image as they were.
    QStringList LinkLostProblems() const
    {
        QStringList problems;
        (void)QTest::qWaitFor([this] { return !program->Panel(); }, 5000);
        if (const int shown = program->TimesShown(TimeOutMessage); shown != 1)
            problems << QStringLiteral("the time-out message was shown %1 times").arg(shown);
        if (program->Panel() || PanelFlags::state.PanelOpen)
            problems << QStringLiteral("the panel is open");
        for (const QString &window : program->OpenWindows())
            problems << QStringLiteral("%1 is left open").arg(window);
        for (const char *button : {"Command1", "Command2"}) {
            if (!QTest::qWaitFor([&] { return program->ToolbarButton(button)->isEnabled(); }, 1500))
                problems << QStringLiteral("%1 stays disabled").arg(button);
        }
        if (program->serial.IsOpen())
            problems << QStringLiteral("the port is open");
        if (ProgramUnderTest::FileBytes(Startup::InitCfgPath()) != initCfg)
            problems << QStringLiteral("init.cfg changed");
        if (ModFun::state.ParamImage != image)
            problems << QStringLiteral("the image changed");
        return problems;
    }

    /// The gate of channel A was switched in the editor before the link went: that edit stays.
    void ExpectGateEdited()
    {
        auto &gateOn = image[ValueTables::GateOffsets[0]];
        gateOn = gateOn == 0 ? 1 : 0;
    }

    /// Time since the fault's phase began: a hang-up is seen at once, a silent unit after the
    /// command's time-out and the reopen's identity query.
    qint64 Elapsed() const { return clock.elapsed(); }

private slots:
    void init() { program = std::make_unique<ProgramUnderTest>(); }
    void cleanup() { program.reset(); }

    void hangUpDuringTheConnectLoad()
    {
        QVERIFY(program->StartUnit(FaultAt("--hangup-after", 20))); // the tenth image read
        clock.start();
        QVERIFY(!program->Connect());
        QVERIFY(Elapsed() < 2000);
        QCOMPARE(program->messages.Texts(),
                 (QStringList{"Connect device, are you sure?", "COM or device not found"}));
        QCOMPARE(Startup::ReadInitCfg(), std::int16_t(1)); // the unit had answered
        QVERIFY(std::all_of(ModFun::state.ParamImage.begin(), ModFun::state.ParamImage.end(),
                            [](std::uint8_t b) { return b == 0; }));
        QCOMPARE(program->window.windowTitle(), QStringLiteral("MX-RF418"));
        QCOMPARE(program->OpenWindows(), QStringList()); // the loading window too
        QVERIFY(!program->serial.IsOpen());
        QVERIFY(program->ToolbarButton("Command2")->isEnabled());

        // The unit is gone: the next Connect searches every port and says so once.
        QVERIFY(!program->Connect());
        QCOMPARE(program->messages.Texts().count("COM or device not found"), 2);
        QCOMPARE(Startup::ReadInitCfg(), std::int16_t(1));
    }

    void hangUpDuringAPresetRead()
    {
        const QString memory =
            program->WriteUnitMemory(0, "  Hall  ", ProgramUnderTest::FactoryImage(6));
        // Two name reads more to connect, the mute, the recall, four blocks, then the hang-up.
        ConnectAndMute(QStringList{"--state", memory} +
                       FaultAt("--hangup-after", Connected + 2 + 1 + 1 + 5));
        QCOMPARE(ModPreset::state.PresetNames[16], QStringLiteral("  Hall  "));
        program->ReadPreset(16);
        QCOMPARE(LinkLostProblems().join("; "), QString());
        QVERIFY(Elapsed() < 2000);
        QCOMPARE(ModPreset::state.CurrentPreset, std::int16_t(0));
    }

    void hangUpDuringAStore()
    {
        // The mute, ten blocks, then the hang-up.
        ConnectAndMute(QStringList{"--state", program->UnitMemoryPath()} +
                       FaultAt("--hangup-after", Connected + 1 + 11));
        program->StorePreset(3, "Live");
        QCOMPARE(LinkLostProblems().join("; "), QString());
        QVERIFY(Elapsed() < 2000);
        QVERIFY(!ModPreset::state.PresetUsed[19]);
        QCOMPARE(ModPreset::state.PresetNames[19], ModPreset::EmptyName());
        const QByteArray kept = program->UnitMemory();
        QCOMPARE(kept.mid(288 + 3 * 128, 40), ProgramUnderTest::ImageBytes(40)); // written
        QCOMPARE(int(kept.at(0x30 + 3)), 0); // and never marked used
    }

    void hangUpDuringAFileUpload()
    {
        const QString path =
            program->WriteDocument("Hall.RFP", ProgramUnderTest::FactoryImage(6) + '\0');
        const QByteArray bytes = ProgramUnderTest::FileBytes(path);
        ConnectAndMute(FaultAt("--hangup-after", Connected + 1 + 10)); // the tenth block
        program->messages.ChooseFile(path);
        program->ClickPanel(QStringLiteral("Command2_0"));
        QCOMPARE(LinkLostProblems().join("; "), QString());
        QVERIFY(Elapsed() < 2000);
        QCOMPARE(ProgramUnderTest::FileBytes(path), bytes);
    }

    void hangUpDuringTheMeterPoll()
    {
        ConnectAndMute(FaultAt("--hangup-after", Connected + 2)); // the first poll, a second later
        QCOMPARE(LinkLostProblems().join("; "), QString());
        QVERIFY(Elapsed() < 3000);
    }

    void hangUpWhileAnEditWaitsAndTheMetersPoll()
    {
        ConnectAndMute({"--drop-command", "14"}); // the edit waits for its reply
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait(2000));
        // Half a second into the wait the unit is unplugged; the message box is up while the
        // meter poll comes round.
        QVERIFY(!program->EditorLeftOpen(QStringLiteral("Label100_0"), [this](QWidget &editor) {
            QTimer::singleShot(500, &editor, [this] { program->unit.Stop(); });
            clock.start();
            editor.findChild<QCheckBox *>(QStringLiteral("Check1_0"))->click();
        }));
        ExpectGateEdited();
        QCOMPARE(LinkLostProblems().join("; "), QString());
        QVERIFY(Elapsed() < 2000);
    }

    void hangUpDuringTheMeterPollWhileAnEditorIsOpen()
    {
        ConnectAndMute(FaultAt("--hangup-after", Connected + 2));
        QVERIFY(!program->EditorLeftOpen(QStringLiteral("Label100_10"), [](QWidget &) {}));
        QCOMPARE(LinkLostProblems().join("; "), QString());
    }

    void unitFallsSilentDuringAnEditWhileTheMetersPoll()
    {
        ConnectAndMute({"--drop-command", "14"}); // the edit's reply is lost
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait(2000));
        // And so is the identity after the reopen; the poll ticks while the reopen waits.
        QVERIFY(!program->EditorLeftOpen(QStringLiteral("Label100_0"), [this](QWidget &editor) {
            QTimer::singleShot(1000, &editor, [this] { program->unit.DropNextReply(); });
            editor.findChild<QCheckBox *>(QStringLiteral("Check1_0"))->click();
        }));
        ExpectGateEdited();
        QCOMPARE(LinkLostProblems().join("; "), QString());
    }

    void unitFallsSilentDuringTheMeterPoll()
    {
        ConnectAndMute({});
        program->unit.Freeze();
        QCOMPARE(LinkLostProblems().join("; "), QString());
        // The first poll a second after the connect, its 2 s time-out, the reopen's identity
        // 100 ms: no release frame may wait out its 10 s on the silent unit.
        QVERIFY2(Elapsed() < 6000, qPrintable(QString::number(Elapsed())));
    }
};

QTEST_MAIN(FaultsLinkLostTest)
#include "faults_link_lost_test.moc"
