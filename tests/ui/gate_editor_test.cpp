#include <QCheckBox>
#include <QGroupBox>

#include "EditorHarness.h"
#include "editors/ui/FrmNG.h"

namespace {

constexpr int GateA = 59;
constexpr int GateB = 123;

} // namespace

class GateEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void openingShowsTheImageAndSendsNothing()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        EditorHarness::Image(GateA + 1) = 3;
        EditorHarness::Image(GateA + 2) = 4;
        EditorHarness::Image(GateA + 3) = 3;
        EditorHarness::Image(GateB + 2) = 20; // out of the table: shown and kept as its end
        FrmNG window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Noise Gate edit"));
        QVERIFY(harness.serial.calls.empty());
        QCOMPARE(Named<QGroupBox>(window, "Frame1_0")->title(), QStringLiteral("Channel A - Left"));
        QCOMPARE(Named<QGroupBox>(window, "Frame1_1")->title(),
                 QStringLiteral("Channel B - Right"));
        QVERIFY(Named<QCheckBox>(window, "Check1_0")->isChecked());
        QVERIFY(Named<QGroupBox>(window, "Frame1_0")->isEnabled());
        QVERIFY(!Named<QCheckBox>(window, "Check1_1")->isChecked());
        QVERIFY(!Named<QGroupBox>(window, "Frame1_1")->isEnabled());
        const std::pair<int, const char *> shown[] = {{3, "-75"}, {4, "20"}, {2, "0.8"},
                                                      {6, "-90"}, {0, "80"}, {5, "0.5"}};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(Named<QSlider>(window, QStringLiteral("Slider1_%1").arg(i))->value(),
                     shown[i].first);
            QCOMPARE(Named<QLineEdit>(window, QStringLiteral("Text1_%1").arg(i))->text(),
                     QLatin1String(shown[i].second));
        }
        QCOMPARE(EditorHarness::Image(GateB + 2), std::uint8_t(8));
        QCOMPARE(EditorHarness::Summary(0, ModFun::GateBlock),
                 QStringLiteral(" Thr= -75 ; Rel=20 ; Atk=0.8"));
    }

    void typedValuesSnapAndSendOneFrameEach()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        FrmNG window;
        auto *threshold = Named<QLineEdit>(window, "Text1_0");
        TypeAndEnter(threshold, "-72.5");
        QCOMPARE(threshold->text(), QStringLiteral("-75"));
        QCOMPARE(Named<QSlider>(window, "Slider1_0")->value(), 3);
        TypeAndEnter(threshold, "-50");
        QCOMPARE(threshold->text(), QStringLiteral("-60"));
        QCOMPARE(Named<QSlider>(window, "Slider1_0")->value(), 0);
        TypeAndEnter(Named<QLineEdit>(window, "Text1_1"), "12.5");
        QCOMPARE(Named<QLineEdit>(window, "Text1_1")->text(), QStringLiteral("10"));
        QCOMPARE(Named<QSlider>(window, "Slider1_1")->value(), 6);
        ModCountry::CommaLocale = 1; // the full stop typed becomes the locale's comma
        TypeAndEnter(Named<QLineEdit>(window, "Text1_2"), "0.75");
        QCOMPARE(Named<QLineEdit>(window, "Text1_2")->text(), QStringLiteral("0,7"));
        QCOMPARE(Named<QSlider>(window, "Slider1_2")->value(), 3);
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x14, 0, 0, 1, 3, 0, 0),
            ReplyFrame(0x14, 0, 0, 1, 6, 0, 0),
            ReplyFrame(0x14, 0, 0, 1, 6, 2, 0),
            ReplyFrame(0x14, 0, 0, 1, 6, 2, 2),
        };
        QCOMPARE(harness.Frames(), expected);
        QCOMPARE(EditorHarness::Summary(0, ModFun::GateBlock),
                 QStringLiteral(" Thr= -60 ; Rel=10 ; Atk=0,7"));
        QVERIFY(harness.messages.Shown().empty());
    }

    void badNumbersAndUnappliedTextChangeNothing()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        FrmNG window;
        const auto image = ModFun::state.ParamImage;
        auto *release = Named<QLineEdit>(window, "Text1_1");
        TypeAndEnter(release, "1x5");
        QVERIFY(harness.messages.ShownOnly("  Incorrect value", "Warning",
                                           Messages::Icon::Exclamation));
        QCOMPARE(release->text(), QStringLiteral("1"));
        release->setText(QStringLiteral("40")); // typed, but never applied with Enter
        Leave(release);
        QCOMPARE(release->text(), QStringLiteral("1"));
        QVERIFY(harness.serial.calls.empty());
        QVERIFY(ModFun::state.ParamImage == image);
    }

    void enableSwitchesTheChannel()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        EditorHarness::Image(GateA + 1) = 2;
        FrmNG window;
        Named<QCheckBox>(window, "Check1_0")->click();
        QVERIFY(!Named<QGroupBox>(window, "Frame1_0")->isEnabled());
        QVERIFY(!Named<QSlider>(window, "Slider1_0")->isEnabled());
        QCOMPARE(harness.Frames(), std::vector<FrameBuffer>{ReplyFrame(0x14, 0, 0, 0, 2, 0, 0)});
        QCOMPARE(EditorHarness::Summary(0, ModFun::GateBlock), QStringLiteral(" Disabled "));
        Named<QCheckBox>(window, "Check1_1")->click();
        QVERIFY(Named<QGroupBox>(window, "Frame1_1")->isEnabled());
        QCOMPARE(harness.Frames().back(), ReplyFrame(0x14, 1, 0, 1, 0, 0, 0));
    }

    void linkedEditsMirrorWithOneFrame()
    {
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        FrmNG window;
        Named<QCheckBox>(window, "Check1_1")->click();
        QVERIFY(Named<QCheckBox>(window, "Check1_0")->isChecked());
        QVERIFY(Named<QGroupBox>(window, "Frame1_0")->isEnabled());
        auto *slider = Named<QSlider>(window, "Slider1_0");
        QTest::keyClick(slider, Qt::Key_Up); // towards the top: a higher threshold
        QCOMPARE(slider->value(), 5);
        QCOMPARE(Named<QSlider>(window, "Slider1_3")->value(), 5);
        QCOMPARE(Named<QLineEdit>(window, "Text1_3")->text(), QStringLiteral("-85"));
        QCOMPARE(EditorHarness::Image(GateB + 1), std::uint8_t(1));
        QCOMPARE(EditorHarness::Summary(1, ModFun::GateBlock),
                 QStringLiteral(" Thr= -85 ; Rel=1 ; Atk=0.5"));
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x14, 1, 0, 1, 0, 0, 0),
            ReplyFrame(0x14, 0, 0, 1, 1, 0, 0),
        };
        QCOMPARE(harness.Frames(), expected);
        QVERIFY(!ModTxRx::state.SendSuspended);
    }

    void slidersFollowTheKeysAndTheTabOrderFollowsTheColumns()
    {
        EditorHarness harness;
        EditorHarness::Image(GateA) = 1;
        FrmNG window;
        auto *release = Named<QSlider>(window, "Slider1_1");
        QTest::keyClick(release, Qt::Key_PageUp);
        QTest::keyClick(release, Qt::Key_Up);
        QCOMPARE(release->value(), 6);
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

    void aLostLinkClosesTheEditorWithoutMirroring()
    {
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        EditorHarness::Image(GateA) = 1;
        EditorHarness::Image(GateB) = 1;
        FrmNG window;
        window.show();
        harness.LoseTheLink();
        QTest::keyClick(Named<QSlider>(window, "Slider1_0"), Qt::Key_Up);
        QCOMPARE(harness.panelClosed, 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(Named<QSlider>(window, "Slider1_3")->value(), 6);
        QCOMPARE(EditorHarness::Image(GateB + 1), std::uint8_t(0));
        QCOMPARE(harness.messages.Texts(),
                 QStringList{"Communication time-Out, the system close the device"});
    }
};

QTEST_MAIN(GateEditorTest)
#include "gate_editor_test.moc"
