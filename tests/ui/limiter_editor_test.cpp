#include <QTabWidget>

#include "EditorHarness.h"
#include "editors/ui/FrmLimiter.h"
#include "editors/ui/ThresholdPicture.h"
#include "model/PanelFlags.h"

namespace {

constexpr int LimiterB = 109; // attack, release, threshold

} // namespace

class LimiterEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheChannelsTabAndSendsNothing()
    {
        EditorHarness harness;
        EditorHarness::Image(LimiterB + 2) = 0;
        PanelFlags::state.LimiterChannel = 1;
        FrmLimiter window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Limiters edit"));
        QVERIFY(harness.serial.calls.empty());
        auto *tabs = Named<QTabWidget>(window, "TabStrip1");
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(tabs->tabText(0), QStringLiteral("CH.A - Left"));
        QCOMPARE(Named<QSlider>(window, "Slider4_0")->value(), 0);
        QCOMPARE(Named<QLineEdit>(window, "Text9_0")->text(), QStringLiteral("0"));
        QCOMPARE(Named<QSlider>(window, "Slider4_1")->value(), 150);
        QCOMPARE(Named<QLineEdit>(window, "Text9_1")->text(), QStringLiteral("-30"));
        QCOMPARE(Named<QLineEdit>(window, "Text10_1")->text(), QStringLiteral("100"));
        QCOMPARE(Named<QSlider>(window, "Slider5_1")->value(), 130);
        QCOMPARE(Named<QLineEdit>(window, "Text11_1")->text(), QStringLiteral("5"));
        QCOMPARE(Named<QSlider>(window, "Slider6_1")->value(), 45);
        auto *picture = Named<ThresholdPicture>(window, "Picture1");
        QCOMPARE(picture->threshold(), -30.0);
        QCOMPARE(picture->colour(), QColor(0, 0, 255));

        tabs->setCurrentIndex(0);
        QCOMPARE(PanelFlags::state.LimiterChannel, std::int16_t(0));
        QCOMPARE(picture->threshold(), 0.0);
        QCOMPARE(picture->colour(), QColor(255, 0, 0));
        QVERIFY(harness.serial.calls.empty());
    }

    void typedValuesSnapAndSendOneFrameEach()
    {
        EditorHarness harness;
        FrmLimiter window;
        auto *threshold = Named<QLineEdit>(window, "Text9_0");
        TypeAndEnter(threshold, "-12.1");
        QCOMPARE(threshold->text(), QStringLiteral("-12.2"));
        QCOMPARE(Named<QSlider>(window, "Slider4_0")->value(), 61);
        QCOMPARE(Named<ThresholdPicture>(window, "Picture1")->threshold(), -12.2);
        TypeAndEnter(threshold, "5");
        QCOMPARE(threshold->text(), QStringLiteral("0"));
        TypeAndEnter(threshold, "-40");
        QCOMPARE(threshold->text(), QStringLiteral("-30"));
        QCOMPARE(Named<QSlider>(window, "Slider4_0")->value(), 150);
        TypeAndEnter(Named<QLineEdit>(window, "Text10_0"), "1000");
        QCOMPARE(Named<QSlider>(window, "Slider5_0")->value(), 0);
        TypeAndEnter(Named<QLineEdit>(window, "Text11_0"), "7.4");
        QCOMPARE(Named<QLineEdit>(window, "Text11_0")->text(), QStringLiteral("7"));
        QCOMPARE(Named<QSlider>(window, "Slider6_0")->value(), 43);
        // Release travels before attack.
        const std::vector<FrameBuffer> expected{
            ReplyFrame(0x07, 0, 0, 0, 75, 4, 89), ReplyFrame(0x07, 0, 0, 0, 75, 4, 150),
            ReplyFrame(0x07, 0, 0, 0, 75, 4, 0),  ReplyFrame(0x07, 0, 0, 0, 205, 4, 0),
            ReplyFrame(0x07, 0, 0, 0, 205, 6, 0),
        };
        QCOMPARE(harness.Frames(), expected);
        QCOMPARE(EditorHarness::Summary(0, ModFun::LimiterBlock),
                 QStringLiteral("Thr=-30 dB - Rel=350 ms - Atk=7 ms"));
    }

    void linkedEditsMirrorWithOneFrame()
    {
        EditorHarness harness;
        ModFun::state.ChannelLink = 1;
        FrmLimiter window;
        auto *release = Named<QSlider>(window, "Slider5_0");
        QTest::keyClick(release, Qt::Key_PageUp); // 10 ms longer
        QCOMPARE(release->value(), 120);
        QCOMPARE(Named<QSlider>(window, "Slider5_1")->value(), 120);
        QCOMPARE(Named<QLineEdit>(window, "Text10_1")->text(), QStringLiteral("110"));
        QCOMPARE(EditorHarness::Image(LimiterB + 1), std::uint8_t(85));
        QCOMPARE(EditorHarness::Summary(1, ModFun::LimiterBlock),
                 QStringLiteral("Thr=0 dB - Rel=110 ms - Atk=5 ms"));
        QCOMPARE(harness.Frames(), std::vector<FrameBuffer>{ReplyFrame(0x07, 0, 0, 0, 85, 4, 150)});
        QVERIFY(!ModTxRx::state.SendSuspended);
    }
};

QTEST_MAIN(LimiterEditorTest)
#include "limiter_editor_test.moc"
