#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "lock/ui/FrmPassword.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"
#include "shell/ui/WindowOpeners.h"

namespace {

/// True when `widget` sits in `layout` or in one of the layouts inside it.
bool InLayout(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        if (layout->itemAt(i)->widget() == widget || InLayout(layout->itemAt(i)->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

/// The window on a locked unit whose password is "ABCD", the distance bit set.
class LockWindowTest : public QObject
{
    Q_OBJECT

    template<class Control = QWidget> Control *Find(const char *name)
    {
        auto *control = window->findChild<Control *>(QLatin1String(name));
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    void TypeAndEnter(const char *box, const QString &text)
    {
        Find<QLineEdit>(box)->setText(text);
        QTest::keyClick(Find(box), Qt::Key_Return);
    }
    void Click(const char *button) { Find<QPushButton>(button)->click(); }
    QColor Label3Colour()
    {
        return Find("Label3")->palette().color(QPalette::Active, QPalette::WindowText);
    }
    bool Enabled(const char *frame) { return Find(frame)->isEnabled(); }

    std::unique_ptr<RecordingSerial> serial;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<FrmPassword> window;

private slots:
    void init()
    {
        ModTxRx::Reset();
        ModFun::Reset();
        SystemFlags::Reset();
        ModLock::Reset();
        serial = std::make_unique<RecordingSerial>();
        serial->open = true;
        ModTxRx::state.SerialPort = serial.get();
        messages = std::make_unique<ScriptedMessages>();
        ModLock::state.StoredPassword = {'A', 'B', 'C', 'D'};
        ModLock::state.LockState = 1;
        SystemFlags::KeepSystemFlags(SystemFlags::LockBit | SystemFlags::DistanceBit);
        window = std::make_unique<FrmPassword>();
        window->show();
    }

    void opensOnTheEntryPageAndRefusesAWrongPasswordOnce()
    {
        QVERIFY(Enabled("Frame3") && !Enabled("Frame1") && !Enabled("Frame4"));
        QVERIFY(Find<QCheckBox>("Check1")->isChecked());
        QCOMPARE(Find<QLabel>("Label2")->text(), QStringLiteral("System Lock"));
        QCOMPARE(Label3Colour(), QColor(Qt::red));
        for (const QPushButton *button : window->findChildren<QPushButton *>())
            QVERIFY2(InLayout(button->parentWidget()->layout(), button),
                     qPrintable(button->objectName()));
        TypeAndEnter("Text1", "abce");
        QCOMPARE(messages->Texts(), QStringList{"Password wrong"});
        QVERIFY(!Enabled("Frame1"));
        Click("Command1_1");
        QVERIFY(!window->isVisible());
    }

    void unlockFromTheLockPage()
    {
        TypeAndEnter("Text1", "abcd");
        QVERIFY(!Enabled("Frame3") && Enabled("Frame1") && Find("Frame1")->isVisible());
        Find<QCheckBox>("Check1")->click();
        QCOMPARE(Label3Colour(), QColor(Qt::black));
        QTest::mouseClick(Find("Label3"), Qt::LeftButton);
        QCOMPARE(Label3Colour(), QColor(Qt::red));
        Find<QCheckBox>("Check1")->click();
        Click("Command1_3");
        QVERIFY(!window->isVisible());
        QCOMPARE(Find<QLabel>("Label2")->text(), QStringLiteral("System Unlock"));
        QCOMPARE(serial->calls.size(), 1u);
        QCOMPARE(serial->calls[0].frame[6], 0x40);
    }

    void newPasswordByEnterKeys()
    {
        Click("Command1_0"); // an empty entry is refused
        TypeAndEnter("Text1", "abcd");
        Click("Command1_2");
        QVERIFY(Enabled("Frame4") && !Enabled("Frame1") && !Enabled("Frame3"));
        TypeAndEnter("Text2", "wx1");
        TypeAndEnter("Text2", "wx1z");
        QCOMPARE(window->focusWidget(), Find("Text3"));
        TypeAndEnter("Text3", "wx1y");
        QVERIFY(window->isVisible());
        TypeAndEnter("Text3", "WX1Z");
        QVERIFY(!window->isVisible());
        QCOMPARE(messages->Texts().size(), 3); // the entry, the short one, the mismatch
        QCOMPARE(ModLock::state.StoredPassword, (std::array<int, 4>{'W', 'X', '1', 'Z'}));
    }

    void serviceCodeTogglesTheFlagAndCloses()
    {
        TypeAndEnter("Text1", "q7rf");
        QVERIFY(!window->isVisible());
        QVERIFY(ModLock::state.ServiceFlag);
    }
};

QTEST_MAIN(LockWindowTest)
#include "lock_window_test.moc"
