#include <QCheckBox>
#include <QSignalSpy>

#include "ProgramUnderTest.h"
#include "shell/AppInfo.h"

namespace {
constexpr int Connected = ProgramUnderTest::ConnectFrames;
} // namespace

/// Replies dropped, late, corrupted, cut short or behind noise while the unit stays: the link
/// is reopened and the work goes on as if nothing happened. No message, the panel stays open,
/// and what was read, stored or uploaded arrives whole.
class FaultsLineNoiseTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramUnderTest> program;

    /// No box but the questions the operator answered.
    QStringList Told() const
    {
        QStringList told;
        for (const Messages::Shown &shown : program->messages.Shown()) {
            if (shown.box.buttons != Messages::Buttons::YesNo)
                told << shown.box.text;
        }
        return told;
    }

private slots:
    void init() { program = std::make_unique<ProgramUnderTest>(); }
    void cleanup() { program.reset(); }

    void droppedReplyDuringAPresetRead()
    {
        const QString memory =
            program->WriteUnitMemory(0, "  Hall  ", ProgramUnderTest::FactoryImage(6));
        // Two name reads more to connect, the recall, three blocks, then the fourth block's
        // reply is lost: 3 s, the reopen, the block asked again.
        const int dropped = Connected + 2 + 1 + 4;
        QVERIFY(
            program->StartUnit(QStringList{"--state", memory} + FaultAt("--drop-every", dropped)));
        QVERIFY(program->Connect());
        program->ReadPreset(16);
        QCOMPARE(Told(), QStringList());
        QVERIFY(program->Panel());
        QCOMPARE(ModPreset::state.CurrentPreset, std::int16_t(16));
        QCOMPARE(ProgramUnderTest::ImageBytes(128), ProgramUnderTest::FactoryImage(6));
        const auto log = program->unit.Log(); // entry n - 1 is frame n
        QVERIFY(!log.at(dropped - 1).reply.has_value());
        QCOMPARE(log.at(dropped).request.at(2), '\x25');
        QCOMPARE(log.at(dropped + 1).request, log.at(dropped - 1).request);
    }

    void corruptedReplyDuringAStore()
    {
        const QString memory = program->UnitMemoryPath();
        // Six blocks, then the seventh block's reply ends in A5.
        QVERIFY(program->StartUnit(QStringList{"--state", memory} +
                                   FaultAt("--corrupt-every", Connected + 7)));
        QVERIFY(program->Connect());
        const QByteArray image = ProgramUnderTest::ImageBytes(128);
        program->StorePreset(3, "Live");
        QCOMPARE(Told(), QStringList());
        QVERIFY(program->Panel());
        QVERIFY(ModPreset::state.PresetUsed[19]);
        QCOMPARE(ModPreset::state.PresetNames[19], QStringLiteral("  Live  "));
        const QByteArray kept = program->UnitMemory();
        QCOMPARE(kept.mid(288 + 3 * 128, 128), image);
        QCOMPARE(kept.mid(3872 + 3 * 8, 8), QByteArray("  Live  "));
        QCOMPARE(int(kept.at(0x30 + 3)), 0x55);
    }

    void partialReplyDuringAFileUpload()
    {
        const QString path =
            program->WriteDocument("Hall.RFP", ProgramUnderTest::FactoryImage(6) + '\x02');
        // Six blocks, then the seventh block's reply stops after 5 bytes: 3 s.
        QVERIFY(program->StartUnit(FaultAt("--partial-every", Connected + 7)));
        QVERIFY(program->Connect());
        program->messages.ChooseFile(path);
        program->ClickPanel(QStringLiteral("Command2_0"));
        QCOMPARE(Told(), QStringList());
        QVERIFY(program->Panel());
        QCOMPARE(ProgramUnderTest::ImageBytes(129), ProgramUnderTest::FileBytes(path));
        QCOMPARE(ModFun::state.PanelTitle, QStringLiteral("MX-RF418 - File : Hall.RFP"));
        QCOMPARE(program->unit.Log().back().request.at(2), '\x2B');
        QCOMPARE(program->UploadedImage(), ProgramUnderTest::FactoryImage(6));
    }

    void garbageAheadOfMeterReplies()
    {
        // Three noise bytes ahead of every 43rd reply, the first poll's among them.
        QVERIFY(program->StartUnit(FaultAt("--garbage-every", Connected + 1)));
        QVERIFY(program->Connect());
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(QTest::qWaitFor([&] { return polled.count() >= 5; }, 3000));
        // The reopen after the noise.
        QCOMPARE(program->unit.Log().at(Connected + 1).request.at(2), '\x25');
        QCOMPARE(Told(), QStringList());
        QVERIFY(program->Panel());
    }

    void repliesLateForTheIdentityQuery()
    {
        // Every reply comes 150 ms after its frame, the identity query waits 100 ms: the search
        // on the remembered port times out, and its late reply arrives while the search asks
        // again. Each later frame must still get its own reply, not the one before it.
        QVERIFY(Startup::WriteInitCfg(ProgramUnderTest::UnitPort));
        QVERIFY(program->StartUnit({"--delay", "150"}));
        QVERIFY(program->Connect());
        QCOMPARE(AppInfo::state.FirmwareVersion, QStringLiteral("1.3.3"));
        QCOMPARE(ModLock::state.StoredPassword, (std::array<int, 4>{'0', '0', '0', '0'}));
        QCOMPARE(ProgramUnderTest::ImageBytes(128), ProgramUnderTest::FactoryImage(0));
        QCOMPARE(Told(), QStringList());
    }

    void editReplyDroppedWhileTheMetersPoll()
    {
        QVERIFY(program->StartUnit({"--drop-command", "14"})); // gate frames go unanswered
        QVERIFY(program->Connect());
        QSignalSpy polled(program->Panel(), &FrmMain::metersPolled);
        QVERIFY(polled.wait(2000));
        QCOMPARE(ModFun::state.ChannelLink, 1); // the unit's setting links B to A
        auto expected = ModFun::state.ParamImage;
        for (const int gate : ValueTables::GateOffsets)
            expected[gate] = expected[gate] == 0 ? 1 : 0;
        bool editorKept = false;
        // The edit's reply is lost (3 s), the link reopened, and the editor goes on.
        QVERIFY(!program->EditorLeftOpen(QStringLiteral("Label100_0"), [&](QWidget &editor) {
            editor.findChild<QCheckBox *>(QStringLiteral("Check1_0"))->click();
            editorKept = editor.isVisible();
            editor.close();
        }));
        QVERIFY(editorKept);
        QCOMPARE(Told(), QStringList());
        QVERIFY(program->Panel());
        QCOMPARE(ModFun::state.ParamImage, expected);
        const int before = polled.count();
        QVERIFY(QTest::qWaitFor([&] { return polled.count() > before; }, 1000));
    }
};

QTEST_MAIN(FaultsLineNoiseTest)
#include "faults_line_noise_test.moc"
