#include <functional>

#include <QCheckBox>
#include <QRadioButton>
#include <QtTest>

#include "EditorHarness.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/QtSerialComponent.h"
#include "shell/ui/WindowOpeners.h"

namespace {

QByteArray Bytes(const FrameBuffer &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()), int(frame.size()));
}

/// Runs an editor as the overview panel does, lets `edit` work in it while it is shown, and
/// closes it; answers the name of the window that was open.
QString RunEditor(WindowOpeners::Action action, const std::function<void(QWidget &)> &edit)
{
    QString opened;
    QTimer::singleShot(0, [&] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window)
            return;
        opened = window->objectName();
        edit(*window);
        window->close();
    });
    WindowOpeners::Run(action, nullptr);
    return opened;
}

} // namespace

/// The editors against the virtual unit: each edit reaches it as one frame.
class EditorsUnitTest : public QObject
{
    Q_OBJECT

private slots:
    void editsReachTheUnit()
    {
        TemporaryConfig config;
        VirtualUnit unit;
        VirtualUnitOptions options;
        options.comPort = 1;
        QVERIFY2(unit.Start(options), qPrintable(unit.ErrorString()));
        EditorHarness harness;
        QtSerialComponent serial;
        ModTxRx::state.SerialPort = &serial;
        ModTxRx::state.ComPort = 1;
        QVERIFY(ModTxRx::ConnectDevice());
        WindowOpeners::RegisterAllWindows();

        QCOMPARE(RunEditor(WindowOpeners::Action::NoiseGate,
                           [](QWidget &window) {
                               Named<QCheckBox>(window, "Check1_1")->click();
                               TypeAndEnter(Named<QLineEdit>(window, "Text1_3"), "-70");
                           }),
                 QStringLiteral("FrmNG"));
        QCOMPARE(RunEditor(WindowOpeners::Action::Limiter,
                           [](QWidget &window) {
                               TypeAndEnter(Named<QLineEdit>(window, "Text9_0"), "-6");
                           }),
                 QStringLiteral("FrmLimiter"));
        QCOMPARE(RunEditor(WindowOpeners::Action::Delay,
                           [](QWidget &window) {
                               Named<QRadioButton>(window, "Option1_1")->click();
                               TypeAndEnter(Named<QLineEdit>(window, "Text2_0"), "3.4");
                           }),
                 QStringLiteral("FrmDelay"));

        const std::vector<FrameBuffer> sent{
            ReplyFrame(0x14, 1, 0, 1, 0, 0, 0),    ReplyFrame(0x14, 1, 0, 1, 4, 0, 0),
            ReplyFrame(0x07, 0, 0, 0, 75, 4, 120), ReplyFrame(0x11, 0, 0x10, 0, 0x40, 0, 0),
            ReplyFrame(0x02, 0, 0, 0, 0, 10, 0),
        };
        const std::vector<UnitLogEntry> log = unit.Log(1 + int(sent.size()));
        QCOMPARE(log.size(), 1 + sent.size()); // the identity query first
        for (std::size_t k = 0; k < sent.size(); ++k) {
            QCOMPARE(log[k + 1].request.toHex(' '), Bytes(sent[k]).toHex(' '));
            QVERIFY(log[k + 1].reply.has_value());
        }
        QVERIFY(harness.messages.Shown().empty());
        WindowOpeners::Reset();
        ModTxRx::state.SerialPort->Close();
    }
};

QTEST_MAIN(EditorsUnitTest)
#include "editors_unit_test.moc"
