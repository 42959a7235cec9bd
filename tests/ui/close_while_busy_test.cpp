#include "ProgramUnderTest.h"

/// A close that the window system delivers while a frame waits for the unit's reply (it gets
/// through the exchange's wait) comes back once the line is free: the usual question, and on
/// Yes the release frame is the last the unit gets, the port is closed and no message follows.
class CloseWhileBusyTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramUnderTest> program;

    /// Closes the main window, or the overview panel's sub-window, at the first turn of the
    /// event loop that finds a frame waiting for its reply.
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
    void init() { program = std::make_unique<ProgramUnderTest>(); }
    void cleanup() { program.reset(); }

    void closeWhileAFrameWaits_data()
    {
        QTest::addColumn<bool>("panel");
        QTest::addColumn<bool>("duringConnect");
        QTest::newRow("main window, meter poll") << false << false;
        QTest::newRow("main window, connect load") << false << true;
        QTest::newRow("overview panel, meter poll") << true << false;
    }

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

QTEST_MAIN(CloseWhileBusyTest)
#include "close_while_busy_test.moc"
