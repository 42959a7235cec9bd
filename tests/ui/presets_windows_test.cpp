#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "TemporaryDocuments.h"
#include "editors/ui/FrmMain.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "presets/ModPreset.h"
#include "presets/ui/FrmCopyIn.h"
#include "presets/ui/FrmRead.h"
#include "presets/ui/FrmStore.h"
#include "shell/ui/WindowOpeners.h"

namespace {

template<class Control = QWidget> Control *Find(const QWidget &window, const char *name)
{
    auto *control = window.findChild<Control *>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control %s", name);
    return control;
}

/// What a window showed while the unit answered each frame.
struct Seen
{
    QString title;
    int value;
    int maximum;
    bool visible;
};

} // namespace

class PresetsWindowsTest : public QObject
{
    Q_OBJECT

private:
    RecordingSerial serial;
    std::vector<Seen> seen;

    /// The unit's answers record what `bar` and `window` show at that moment.
    void WatchWhileSending(QWidget *window, QProgressBar *bar)
    {
        seen.clear();
        serial.responder = [this, window, bar](const FrameBuffer &request) {
            seen.push_back({window->windowTitle(), bar->value(), bar->maximum(),
                            bar->parentWidget()->isVisible()});
            return ReplyFrame(request[2], 0, 0, 0, 0, 0, 0x10);
        };
    }

private slots:
    void init()
    {
        ModTxRx::Reset();
        ModFun::Reset();
        PanelFlags::Reset();
        ModGraph::Reset();
        ModPreset::Reset();
        ModPreset::FillFactoryEntries();
        ModPreset::state.PresetNames[17] = QStringLiteral("Church B");
        ModPreset::state.PresetUsed[17] = true;
        ModPreset::state.CurrentPreset = 17;
        ModFun::LoadDefaultImage();
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
        serial = RecordingSerial{};
        serial.open = true;
        ModTxRx::state.SerialPort = &serial;
    }

    void readWindowShowsTheListAndReads()
    {
        ScriptedMessages messages;
        FrmRead window;
        window.show();
        auto *list = Find<QListWidget>(window, "List1");
        QCOMPARE(list->count(), 32);
        QCOMPARE(list->currentRow(), 17);
        QCOMPARE(list->item(17)->text(), QStringLiteral("Church B"));
        auto *read = Find<QPushButton>(window, "Command1_1");

        messages.Answer(Messages::Answer::No);
        list->setCurrentRow(2);
        read->click();
        QVERIFY(window.isVisible());
        QVERIFY(serial.calls.empty());

        WatchWhileSending(&window, Find<QProgressBar>(window, "ProgressBar1"));
        messages.Answer(Messages::Answer::Yes);
        emit list->itemDoubleClicked(list->item(4));
        QCOMPARE(serial.Commands(), std::vector{0x1B});
        QCOMPARE(seen[0].title, QStringLiteral("Reading Preset......"));
        QCOMPARE(seen[0].value, 33);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(window.windowTitle(), QStringLiteral("Preset"));

        ModTxRx::state.DemoMode = true;
        FrmRead demo;
        QVERIFY(!Find<QPushButton>(demo, "Command1_1")->isEnabled());
    }

    void storeWindowPicksAPlaceChecksTheNameAndStores()
    {
        ScriptedMessages messages;
        FrmStore window;
        window.show();
        auto *list = Find<QListWidget>(window, "List1");
        auto *name = Find<QLineEdit>(window, "Text1");
        auto *place = Find<QComboBox>(window, "Combo1");
        QCOMPARE(name->text(), QStringLiteral("Church B"));
        QCOMPARE(place->currentText(), QStringLiteral("18"));
        emit list->itemDoubleClicked(list->item(3));
        QCOMPARE(name->text(), QStringLiteral(" Empty  "));
        QCOMPARE(place->currentText(), QStringLiteral("20"));

        name->clear();
        QTest::keyClicks(name, QStringLiteral("L"));
        QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u20AC"));
        QApplication::sendEvent(name, &euro);
        QTest::keyClicks(name, QStringLiteral("ive"));
        QCOMPARE(name->text(), QStringLiteral("Live"));
        QVERIFY(messages.ShownOnly(QStringLiteral("Symbol not admited"), QStringLiteral("Warning"),
                                   Messages::Icon::Information));

        auto *store = Find<QPushButton>(window, "Command1_1");
        name->setText(QStringLiteral("Nine char"));
        messages.Answer(Messages::Answer::Yes);
        store->click();
        QVERIFY(name->text().isEmpty());
        QVERIFY(window.isVisible());
        QVERIFY(serial.calls.empty());

        WatchWhileSending(&window, Find<QProgressBar>(window, "ProgressBar1"));
        name->setText(QStringLiteral(" Live "));
        messages.Answer(Messages::Answer::Yes);
        store->click();
        QCOMPARE(serial.calls.size(), std::size_t(36));
        QCOMPARE(seen[35].value, 34);
        QVERIFY(!window.isVisible());

        ModTxRx::state.DemoMode = true;
        FrmStore demo;
        QVERIFY(!Find<QPushButton>(demo, "Command1_1")->isEnabled());
    }

    void copyWindowStartsWithItsDefaultsAndCopies()
    {
        ScriptedMessages messages;
        FrmCopyIn window;
        window.show();
        auto *source = Find<QComboBox>(window, "Combo1_0");
        auto *destination = Find<QComboBox>(window, "Combo1_1");
        QCOMPARE(source->currentText(), QStringLiteral("CH.A - Left"));
        QCOMPARE(destination->currentText(), QStringLiteral("CH.B - Right"));
        for (const char *box : {"Check1", "Check2", "Check3", "Check5"})
            QVERIFY(Find<QCheckBox>(window, box)->isChecked());
        QVERIFY(!Find<QCheckBox>(window, "Check6")->isChecked());

        auto *copy = Find<QPushButton>(window, "Command1");
        destination->setCurrentIndex(0);
        copy->click();
        QVERIFY(window.isVisible()); // refused: the same channel twice

        source->setCurrentIndex(1);
        for (const char *box : {"Check1", "Check3", "Check5"})
            Find<QCheckBox>(window, box)->setChecked(false);
        messages.Answer(Messages::Answer::Yes);
        copy->click();
        QCOMPARE(serial.Commands(), (std::vector{0x02, 0x0A}));
        QCOMPARE(int(serial.calls[0].frame[3]), 0);
        QVERIFY(!window.isVisible());
    }

    void panelFileActionsShowTheirProgress()
    {
        WindowOpeners::RegisterAllWindows();
        using WindowOpeners::Action;

        TemporaryConfig config;
        TemporaryDocuments documents(config);
        ScriptedMessages messages;
        FrmMain panel;
        panel.show();
        auto *bar = Find<QProgressBar>(panel, "ProgressBar1");
        QWidget *frame = bar->parentWidget();
        const QString path = documents.PathOf(QStringLiteral("saved.RFP"));
        messages.ChooseFile(path);
        QVERIFY(WindowOpeners::Run(Action::PresetToPc, &panel));
        QVERIFY(QFile::exists(path));

        WatchWhileSending(&panel, bar);
        messages.ChooseFile(path);
        QVERIFY(WindowOpeners::Run(Action::PresetFromPc, &panel));
        QCOMPARE(seen.size(), std::size_t(33));
        QVERIFY(seen[0].visible);
        QCOMPARE(seen[32].value, 32);
        QVERIFY(!frame->isVisible());
        QCOMPARE(ModFun::state.PanelTitle, QStringLiteral("MX-RF418 - File : saved.RFP"));
        WindowOpeners::Reset();
    }
};

QTEST_MAIN(PresetsWindowsTest)
#include "presets_windows_test.moc"
