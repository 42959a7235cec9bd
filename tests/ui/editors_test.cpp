#include <memory>

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "EditorHarness.h"
#include "editors/ui/FrmDelay.h"
#include "editors/ui/FrmLimiter.h"
#include "editors/ui/FrmNG.h"
#include "editors/ui/ThresholdPicture.h"
#include "graph/ui/FrmFilter.h"

namespace {

constexpr int GateA = 59; // on, threshold, release, attack
constexpr int GateB = 123;
constexpr int DelayA = 55; // coarse high, coarse low, fine
constexpr int DelayB = 119;

/// Opens the editor "gate", "limiter", "delay" or "filter", shown, both gates on.
std::unique_ptr<QDialog> OpenEditor(const QString &which)
{
    EditorHarness::Image(GateA) = 1;
    EditorHarness::Image(GateB) = 1;
    std::unique_ptr<QDialog> editor;
    if (which == "gate")
        editor = std::make_unique<FrmNG>();
    else if (which == "limiter")
        editor = std::make_unique<FrmLimiter>();
    else if (which == "delay")
        editor = std::make_unique<FrmDelay>();
    else
        editor = std::make_unique<FrmFilter>();
    editor->show();
    return editor;
}

int ValueOf(const QWidget &editor, const QString &control)
{
    return Named<QWidget>(editor, control)->property("value").toInt();
}

/// The frame F0 10 cmd d0..d5 F7 of seven bytes written in hexadecimal.
FrameBuffer Frame(const char *hex)
{
    const QByteArray b = QByteArray::fromHex(hex);
    return ReplyFrame(b[0], b[1], b[2], b[3], b[4], b[5], b[6]);
}

/// Adds the row `name` whose first columns are the texts `texts`.
QTestData &Row(const char *name, const QStringList &texts)
{
    QTestData &row = QTest::newRow(name);
    for (const QString &text : texts)
        row << text;
    return row;
}

void AddEditorColumns()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
}

} // namespace

class EditorsTest : public QObject
{
    Q_OBJECT

private slots:
    void gateOpensShowingTheModelAndSendsNothing()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        EditorHarness::Image(GateA + 1) = 3;
        EditorHarness::Image(GateA + 2) = 4;
        EditorHarness::Image(GateA + 3) = 3;
        EditorHarness::Image(GateB + 2) = 20; // out of the table: shown and kept as its end
        FrmNG window;
        QVERIFY(Named<QCheckBox>(window, "Check1_0")->isChecked());
        QVERIFY(Named<QGroupBox>(window, "Frame1_0")->isEnabled());
        QVERIFY(!Named<QCheckBox>(window, "Check1_1")->isChecked());
        QVERIFY(!Named<QGroupBox>(window, "Frame1_1")->isEnabled());
        const int shown[] = {3, 4, 2, 6, 0, 5};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(ValueOf(window, QStringLiteral("Slider1_%1").arg(i)), shown[i]);
        QCOMPARE(EditorHarness::Image(GateB + 2), std::uint8_t(8));
        QVERIFY(harness.serial.calls.empty());
    }

    void limiterOpensOnTheChannelsTabAndSendsNothing()
    {
        EditorHarness harness;
        EditorHarness::Image(111) = 0; // B's threshold
        PanelFlags::state.LimiterChannel = 1;
        FrmLimiter window;
        auto *tabs = Named<QTabWidget>(window, "TabStrip1");
        QCOMPARE(tabs->currentIndex(), 1);
        auto *picture = Named<ThresholdPicture>(window, "Picture1");
        QCOMPARE(picture->threshold(), -30.0);
        tabs->setCurrentIndex(0);
        QCOMPARE(PanelFlags::state.LimiterChannel, std::int16_t(0));
        QCOMPARE(picture->threshold(), 0.0);
        QCOMPARE(picture->colour(), QColor(255, 0, 0));
        QVERIFY(harness.serial.calls.empty());
    }

    void typedValueSnapsAndSendsOneFrame_data()
    {
        AddEditorColumns();
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("frame");
        Row("gate threshold", {"gate", "Text1_0", "-72.5", "-75", "Slider1_0"})
            << false << 3 << QByteArray("14000001030000");
        Row("gate release", {"gate", "Text1_1", "12.5", "10", "Slider1_1"})
            << false << 6 << QByteArray("14000001000200");
        Row("gate attack, comma", {"gate", "Text1_2", "0.75", "0,7", "Slider1_2"})
            << true << 3 << QByteArray("14000001000002");
        Row("limiter threshold", {"limiter", "Text9_0", "-12.1", "-12.2", "Slider4_0"})
            << false << 61 << QByteArray("070000004B0459");
        Row("limiter release", {"limiter", "Text10_0", "1000", "350", "Slider5_0"})
            << false << 0 << QByteArray("07000000CD0496");
        Row("limiter attack", {"limiter", "Text11_0", "7.4", "7", "Slider6_0"})
            << false << 43 << QByteArray("070000004B0696");
        Row("delay", {"delay", "Text2_0", "10.5", "10.499", "UpDown2_0"})
            << false << 24 << QByteArray("0200000000 0A18");
    }
    void typedValueSnapsAndSendsOneFrame()
    {
        QFETCH(QString, editor);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, comma);
        QFETCH(QString, control);
        EditorHarness harness;
        ModCountry::CommaLocale = comma ? 1 : 0; // the full stop typed becomes the comma
        const auto window = OpenEditor(editor);
        TypeAndEnter(Named<QLineEdit>(*window, box), typed);
        QTEST(Named<QLineEdit>(*window, box)->text(), "shown");
        QTEST(ValueOf(*window, control), "value");
        QFETCH(QByteArray, frame);
        QCOMPARE(harness.Frames(), std::vector<FrameBuffer>{Frame(frame)});
        QVERIFY(harness.messages.Shown().empty());
    }

    void aTextThatIsNoNumberWarnsAndLeavingShowsTheModel_data()
    {
        AddEditorColumns();
        QTest::addColumn<QString>("shown");
        Row("gate", {"gate", "Text1_1", "1x5", "1"});
        Row("delay", {"delay", "Text2_0", "", "0"});
    }
    void aTextThatIsNoNumberWarnsAndLeavingShowsTheModel()
    {
        QFETCH(QString, editor);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        EditorHarness harness;
        const auto window = OpenEditor(editor);
        const auto image = ModFun::state.ParamImage;
        auto *entry = Named<QLineEdit>(*window, box);
        TypeAndEnter(entry, typed);
        QVERIFY(harness.messages.ShownOnly("  Incorrect value", "Warning",
                                           Messages::Icon::Exclamation));
        entry->setText(QStringLiteral("40")); // typed, but never applied with Enter
        Leave(entry);
        QTEST(entry->text(), "shown");
        QVERIFY(harness.serial.calls.empty());
        QVERIFY(ModFun::state.ParamImage == image);
    }

    void keyFiltersAreSkippedWhileTheProgramSetsControls_data()
    {
        AddEditorColumns();
        Row("gate: a comma stays", {"gate", "Text1_0", ","});
        Row("delay: a minus stays", {"delay", "Text2_0", "-"});
        Row("filter: a letter goes in", {"filter", "Text8_0", "k"});
    }
    void keyFiltersAreSkippedWhileTheProgramSetsControls()
    {
        QFETCH(QString, editor);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        EditorHarness harness;
        const auto window = OpenEditor(editor);
        auto *entry = Named<QLineEdit>(*window, box);
        entry->clear();
        PanelFlags::state.UpdatingControls = true;
        QTest::keyClicks(entry, typed);
        QTest::keyClick(entry, Qt::Key_Return);
        PanelFlags::state.UpdatingControls = false;
        QCOMPARE(entry->text(), typed);
        QVERIFY(harness.serial.calls.empty());
        QVERIFY(harness.messages.Shown().empty());
    }

    void enableSwitchesTheChannel()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        EditorHarness::Image(GateA + 1) = 2;
        FrmNG window;
        Named<QCheckBox>(window, "Check1_0")->click();
        QVERIFY(!Named<QGroupBox>(window, "Frame1_0")->isEnabled());
        QCOMPARE(harness.Frames(), std::vector<FrameBuffer>{ReplyFrame(0x14, 0, 0, 0, 2, 0, 0)});
        Named<QCheckBox>(window, "Check1_1")->click();
        QVERIFY(Named<QGroupBox>(window, "Frame1_1")->isEnabled());
        QCOMPARE(harness.Frames().back(), ReplyFrame(0x14, 1, 0, 1, 0, 0, 0));
    }

    void slidersFollowTheKeysAndTheTabOrderFollowsTheColumns()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        FrmNG window;
        auto *release = Named<QSlider>(window, "Slider1_1");
        QTest::keyClick(release, Qt::Key_PageUp);
        QTest::keyClick(release, Qt::Key_Up);
        QTest::keyClick(release, Qt::Key_Down);
        QCOMPARE(release->value(), 7);
        QCOMPARE(Named<QLineEdit>(window, "Text1_1")->text(), QStringLiteral("5"));
        QCOMPARE(harness.serial.calls.size(), std::size_t(3));

        const QStringList order{"Check1_0",  "Slider1_0", "Text1_0",  "Slider1_1", "Text1_1",
                                "Slider1_2", "Text1_2",   "Check1_1", "Slider1_3"};
        QWidget *widget = Named<QCheckBox>(window, "Check1_0");
        QStringList seen;
        while (seen.size() < order.size()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                seen << widget->objectName();
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(seen, order);
    }

    void metresAreShownForBothChannels()
    {
        EditorHarness harness;
        SystemFlags::KeepSystemFlags(0x80); // locked: the unit choice must leave that bit alone
        EditorHarness::Image(DelayB + 1) = 1;
        EditorHarness::Image(DelayB + 2) = 12;
        FrmDelay window;
        QCOMPARE(ValueOf(window, "UpDown2_1"), 12);
        Named<QRadioButton>(window, "Option1_1")->click();
        QCOMPARE(Named<QLineEdit>(window, "Text2_1")->text(), QStringLiteral("0.42466"));
        FrmDelay reopened; // in the unit chosen last
        QVERIFY(Named<QRadioButton>(reopened, "Option1_1")->isChecked());
        Named<QRadioButton>(window, "Option1_0")->click();
        QCOMPARE(Named<QLineEdit>(window, "Text2_1")->text(), QStringLiteral("1.249"));
        const std::vector<FrameBuffer> expected{ReplyFrame(0x11, 0, 0x10, 0, 0xC0, 0, 0),
                                                ReplyFrame(0x11, 0, 0x10, 0, 0x80, 0, 0)};
        QCOMPARE(harness.Frames(), expected);
    }

    void aLostLinkClosesTheEditor_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("control"); // pressed Up
        QTest::addColumn<QString>("twin");
        QTest::addColumn<int>("twinByte");
        Row("gate", {"gate", "Slider1_0", "Slider1_3"}) << GateB + 1;
        Row("limiter", {"limiter", "Slider5_0", "Slider5_1"}) << 110;
        Row("delay", {"delay", "UpDown1_0", "UpDown1_1"}) << DelayB + 1;
        Row("filter", {"filter", "Slider2_2", "Slider2_17"}) << 64 + 6;
    }
    void aLostLinkClosesTheEditor()
    {
        QFETCH(QString, editor);
        QFETCH(QString, control);
        QFETCH(QString, twin);
        QFETCH(int, twinByte);
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        const auto window = OpenEditor(editor);
        const int twinValue = ValueOf(*window, twin);
        const std::uint8_t twinImage = EditorHarness::Image(twinByte);
        harness.LoseTheLink();
        QTest::keyClick(Named<QWidget>(*window, control), Qt::Key_Up);
        QCOMPARE(harness.panelClosed, 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(harness.messages.Texts(),
                 QStringList{"Communication time-Out, the system close the device"});
        QCOMPARE(ValueOf(*window, twin), twinValue);
        QCOMPARE(EditorHarness::Image(twinByte), twinImage);
        QCOMPARE(harness.serial.calls.size(), std::size_t(1));
    }

    void typedValueWithLinkOnSendsOneFrameAndMirrors_data()
    {
        AddEditorColumns();
        QTest::addColumn<QString>("twin");
        QTest::addColumn<QString>("twinText");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("twinByte");
        Row("gate", {"gate", "Text1_3", "-85", "Text1_0", "-85"})
            << QByteArray("14010001010000") << GateB + 1 << GateA + 1;
        Row("limiter", {"limiter", "Text9_1", "-12.1", "Text9_0", "-12.2"})
            << QByteArray("070100004B0459") << 111 << 47;
        Row("delay", {"delay", "Text2_1", "2.5", "Text2_0", "2.499"})
            << QByteArray("02010000000218") << DelayB + 2 << DelayA + 2;
        Row("filter crossover", {"filter", "Text8_0", "80", "Text8_2", "80"})
            << QByteArray("04000000001800") << 51 << 115;
        Row("filter band", {"filter", "Text3_2", "5", "Text3_17", "5"})
            << QByteArray("05000200141828") << 6 << 70;
    }
    void typedValueWithLinkOnSendsOneFrameAndMirrors()
    {
        QFETCH(QString, editor);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QByteArray, frame);
        QFETCH(QString, twin);
        QFETCH(int, byte);
        QFETCH(int, twinByte);
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        const auto window = OpenEditor(editor);
        TypeAndEnter(Named<QLineEdit>(*window, box), typed);
        QCOMPARE(harness.Frames(), std::vector<FrameBuffer>{Frame(frame)});
        QTEST(Named<QLineEdit>(*window, twin)->text(), "twinText");
        QCOMPARE(EditorHarness::Image(twinByte), EditorHarness::Image(byte));
        QVERIFY(!ModTxRx::state.SendSuspended);
        QVERIFY(!PanelFlags::state.UpdatingControls);
    }
};

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
