#include <QPushButton>
#include <QToolBar>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "TemporaryDocuments.h"
#include "editors/ui/FrmMain.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/SettingHistory.h"
#include "session/ui/MDIFrmMain.h"
#include "shell/ui/WindowOpeners.h"

/// The main window's undo and redo buttons and keys, on a mute click in demo mode.
class HistoryControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void muteClickIsUndoneByKeyAndRedoneByButton()
    {
        TemporaryConfig config;
        ScriptedMessages messages;
        RecordingSerial serial;
        WindowOpeners::RegisterAllWindows();
        MDIFrmMain window(serial);
        QVERIFY(window.Load());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        messages.Answer(Messages::Answer::Yes);
        // Entering demo mode starts a new history: nothing left to undo or compare.
        ModFun::history().Push({QStringLiteral("left over"), {}, {}});
        ModFun::history().CopyToB();
        auto *toolbar = window.findChild<QToolBar *>("Toolbar1");
        toolbar->findChild<QPushButton *>("Command2")->click();
        auto *tools = window.findChild<QToolBar *>("Toolbar2");
        auto *undo = tools->findChild<QPushButton *>("CommandUndo");
        auto *redo = tools->findChild<QPushButton *>("CommandRedo");
        QVERIFY(!undo->isEnabled());
        QVERIFY(!tools->findChild<QPushButton *>("CommandAB")->isEnabled());

        QWidget *mute = window.Panel()->findChild<QWidget *>("Image1_0");
        QTest::mouseClick(mute, Qt::LeftButton);
        QCOMPARE(ModFun::state.ParamImage[ValueTables::MuteOffsets[0]], 1);
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->toolTip(), QStringLiteral("Undo CH.A mute"));
        QVERIFY(window.windowTitle().endsWith(" *"));
        QVERIFY(!redo->isEnabled());

        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ModFun::state.ParamImage[ValueTables::MuteOffsets[0]], 0);
        QCOMPARE(mute->toolTip(), QStringLiteral("Unmuted"));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->toolTip(), QStringLiteral("Redo CH.A mute"));
        QVERIFY(!window.windowTitle().endsWith(" *"));

        redo->click();
        QCOMPARE(ModFun::state.ParamImage[ValueTables::MuteOffsets[0]], 1);
        QVERIFY(undo->isEnabled());

        // Compare: B keeps the muted setting, the switch goes to it and the title says so.
        tools->findChild<QPushButton *>("CommandCopyB")->click();
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.windowTitle().endsWith(" [A]"));
        QTest::keyClick(&window, Qt::Key_F6);
        QCOMPARE(ModFun::state.ParamImage[ValueTables::MuteOffsets[0]], 1);
        QVERIFY(window.windowTitle().endsWith(" [B] *"));

        // Closing offers to store, then to save a file; the file clears the mark.
        TemporaryDocuments documents(config);
        messages.Answer(Messages::Answer::No);
        messages.Answer(Messages::Answer::Yes);
        messages.ChooseFile(documents.PathOf("kept.RFP"));
        messages.Answer(Messages::Answer::No);
        window.close();
        QCOMPARE(messages.Texts().mid(1, 3),
                 (QStringList{"The setting has changed since it was last stored or saved. Store "
                              "it to the unit first?",
                              "Save it to a file first?", "               Are you sure ? "}));
        QVERIFY(!ModFun::history().Unsaved());
        QVERIFY(!window.windowTitle().endsWith(" *"));
        WindowOpeners::Reset();
        ModTxRx::Reset();
        ModFun::Reset();
        ModFun::history().Clear();
    }
};

QTEST_MAIN(HistoryControlsTest)
#include "history_controls_test.moc"
