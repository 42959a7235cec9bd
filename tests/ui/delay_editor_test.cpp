#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>

#include "EditorHarness.h"
#include "editors/ui/FrmDelay.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"

namespace {

constexpr int DelayA = 55; // coarse high, coarse low, fine
constexpr int DelayB = 119;

void SetDelay(int at, int coarse, int fine)
{
    EditorHarness::Image(at) = static_cast<std::uint8_t>(coarse >> 8);
    EditorHarness::Image(at + 1) = static_cast<std::uint8_t>(coarse & 0xFF);
    EditorHarness::Image(at + 2) = static_cast<std::uint8_t>(fine);
}

} // namespace

class DelayEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void opensInTheModelsUnitAndSendsNothing()
    {
        EditorHarness harness;
        SetDelay(DelayA, 1, 12);
        SetDelay(DelayB, 300, 24);
        SystemFlags::SetDistanceUnit(true);
        FrmDelay window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Delays edit"));
        QVERIFY(harness.serial.calls.empty());
        QVERIFY(Named<QRadioButton>(window, "Option1_1")->isChecked());
        QCOMPARE(Named<QSpinBox>(window, "UpDown1_0")->value(), 1);
        QCOMPARE(Named<QSpinBox>(window, "UpDown2_0")->value(), 12);
        QCOMPARE(Named<QLineEdit>(window, "Text2_0")->text(), QStringLiteral("0.42466"));
        QCOMPARE(Named<QLineEdit>(window, "Text2_1")->text(), QStringLiteral("102.16966"));
        QCOMPARE(Named<QGroupBox>(window, "Frame1_1")->title(),
                 QStringLiteral("CH.B - Right [ m ]"));
        QCOMPARE(EditorHarness::Summary(0, ModFun::DelayBlock), QStringLiteral(" 0.42466 m "));
    }

    void typedDelaysBecomeSpinnerSteps()
    {
        EditorHarness harness;
        FrmDelay window;
        auto *box = Named<QLineEdit>(window, "Text2_0");
        TypeAndEnter(box, "10.5");
        QCOMPARE(Named<QSpinBox>(window, "UpDown1_0")->value(), 10);
        QCOMPARE(Named<QSpinBox>(window, "UpDown2_0")->value(), 24);
        QCOMPARE(box->text(), QStringLiteral("10.499"));
        TypeAndEnter(box, "5-00"); // the minus sign types a space, which is dropped
        QCOMPARE(Named<QSpinBox>(window, "UpDown1_0")->value(), 300);
        QCOMPARE(Named<QSpinBox>(window, "UpDown2_0")->value(), 47);
        QCOMPARE(box->text(), QStringLiteral("300.977"));
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x02, 0, 0, 0, 0, 10, 24),
            ReplyFrame(0x02, 0, 0, 0, 1, 44, 47),
        };
        QCOMPARE(harness.Frames(), expected);
        QCOMPARE(EditorHarness::Summary(0, ModFun::DelayBlock), QStringLiteral(" 300.977 ms "));

        TypeAndEnter(box, "");
        QVERIFY(harness.messages.ShownOnly("  Incorrect value", "Warning",
                                           Messages::Icon::Exclamation));
        QCOMPARE(box->text(), QStringLiteral("300.977"));
        box->setText(QStringLiteral("12"));
        Leave(box);
        QCOMPARE(box->text(), QStringLiteral("300.977"));
        QCOMPARE(harness.serial.calls.size(), std::size_t(2));
    }

    void metresAreTypedAndShownForBothChannels()
    {
        EditorHarness harness;
        SystemFlags::KeepSystemFlags(0x80); // locked: the unit choice must leave that bit alone
        SetDelay(DelayB, 1, 12);
        FrmDelay window;
        Named<QRadioButton>(window, "Option1_1")->click();
        QCOMPARE(ModFun::state.DelayInMetres, 1.0);
        QCOMPARE(Named<QLineEdit>(window, "Text2_1")->text(), QStringLiteral("0.42466"));
        QCOMPARE(Named<QGroupBox>(window, "Frame1_0")->title(),
                 QStringLiteral("CH.A - Left [ m ]"));
        QCOMPARE(EditorHarness::Summary(1, ModFun::DelayBlock), QStringLiteral(" 0.42466 m "));
        TypeAndEnter(Named<QLineEdit>(window, "Text2_0"), "200");
        QCOMPARE(Named<QSpinBox>(window, "UpDown1_0")->value(), 300);
        QCOMPARE(Named<QSpinBox>(window, "UpDown2_0")->value(), 47);
        Named<QRadioButton>(window, "Option1_0")->click();
        QCOMPARE(Named<QLineEdit>(window, "Text2_0")->text(), QStringLiteral("300.977"));
        QCOMPARE(Named<QGroupBox>(window, "Frame1_1")->title(),
                 QStringLiteral("CH.B - Right [ ms ]"));
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x11, 0, 0x10, 0, 0xC0, 0, 0),
            ReplyFrame(0x02, 0, 0, 0, 1, 44, 47),
            ReplyFrame(0x11, 0, 0x10, 0, 0x80, 0, 0),
        };
        QCOMPARE(harness.Frames(), expected);
    }

    void linkedEditsMirrorWithOneFrame()
    {
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        FrmDelay window;
        auto *coarse = Named<QSpinBox>(window, "UpDown1_0");
        QTest::keyClick(coarse, Qt::Key_PageUp);
        QCOMPARE(coarse->value(), 10);
        TypeAndEnter(Named<QLineEdit>(window, "Text2_1"), "2.5");
        QCOMPARE(coarse->value(), 2);
        QCOMPARE(Named<QSpinBox>(window, "UpDown2_0")->value(), 24);
        QCOMPARE(Named<QLineEdit>(window, "Text2_0")->text(), QStringLiteral("2.499"));
        QCOMPARE(EditorHarness::Image(DelayA + 1), std::uint8_t(2));
        QCOMPARE(EditorHarness::Summary(0, ModFun::DelayBlock), QStringLiteral(" 2.499 ms "));
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x02, 0, 0, 0, 0, 10, 0),
            ReplyFrame(0x02, 1, 0, 0, 0, 2, 24),
        };
        QCOMPARE(harness.Frames(), expected);
        QVERIFY(!ModTxRx::state.SendSuspended);
        QVERIFY(!PanelFlags::state.UpdatingControls);
    }
};

QTEST_MAIN(DelayEditorTest)
#include "delay_editor_test.moc"
