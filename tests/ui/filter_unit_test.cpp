// The filter window against the virtual unit over a pty: every kind of edit reaches the unit,
// which ends up holding the same setting as the PC.
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "graph/ui/EntryControls.h"
#include "graph/ui/FrmFilter.h"
#include "graph/ui/GraphArea.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "presets/DeviceImage.h"

class FilterUnitTest : public QObject
{
    Q_OBJECT

private:
    template<class T> static T *Find(QWidget *window, const QString &name)
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    static void Enter(QWidget *window, const QString &name, const QString &text)
    {
        auto *box = Find<EntryBox>(window, name);
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    static void Choose(QWidget *window, const QString &name, int item)
    {
        auto *list = Find<QComboBox>(window, name);
        list->setCurrentIndex(item);
        emit list->activated(item);
    }
    static void DragMarker(QWidget *window, int band, QPoint by)
    {
        auto *marker = Find<BandMarker>(window, QStringLiteral("Label5_%1").arg(band));
        const QPointF start(BandMarker::Width / 2, BandMarker::Height / 2);
        const QPointF global = marker->mapToGlobal(start);
        const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            QMouseEvent event(type, marker->mapFromGlobal(at), at, button, held, Qt::NoModifier);
            QApplication::sendEvent(marker, &event);
        };
        send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPointF(by) / 2, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPointF(by), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, global + QPointF(by), Qt::LeftButton, Qt::NoButton);
    }
    static DeviceImage::Image UnitImage()
    {
        DeviceImage::Image image{};
        if (!DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Stop))
            qFatal("the unit's image could not be read");
        return image;
    }
    static DeviceImage::Image PcImage()
    {
        DeviceImage::Image image{};
        std::copy_n(ModFun::state.ParamImage.begin(), image.size(), image.begin());
        return image;
    }

private slots:
    void everyEditReachesTheUnit()
    {
        TemporaryConfig config;
        VirtualUnit unit;
        VirtualUnitOptions options;
        options.comPort = 1;
        QVERIFY2(unit.Start(options), qPrintable(unit.ErrorString()));
        ScriptedMessages messages;
        QtSerialComponent serial;
        QCOMPARE(serial.Initialize(10, 32), 0);
        ModTxRx::Reset();
        ModFun::Reset();
        PanelFlags::Reset();
        ModGraph::Reset();
        FilterEdit::Reset();
        ModTxRx::state.SerialPort = &serial;
        ModTxRx::state.ComPort = 1;
        QVERIFY(ModTxRx::ConnectDevice());
        // The PC starts from the unit's own fresh setting (factory preset 1, linked).
        ModFun::LoadDefaultImage();
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
        QCOMPARE(ModFun::state.ChannelLink, std::int16_t(1));

        FilterEdit::state.CursorShown = {true, true};
        auto window = std::make_unique<FrmFilter>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        Enter(window.get(), "Text8_0", "80");
        Choose(window.get(), "Combo2_0", 2);
        Choose(window.get(), "Combo2_3", 1);
        Find<QSlider>(window.get(), "Slider2_3")->setValue(20);
        Enter(window.get(), "Text4_20", "1200");
        Enter(window.get(), "Text5_20", "3.3");
        DragMarker(window.get(), 10, QPoint(25, -20));

        const std::vector<UnitLogEntry> log = unit.Log(8);
        QCOMPARE(int(log.size()), 8);
        const int commands[] = {0x25, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05};
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(int(static_cast<std::uint8_t>(log[k].request[2])), commands[k]);
            QVERIFY(log[k].reply.has_value());
        }
        // The unit mirrored the linked channel itself, as the PC did: both hold one setting.
        QCOMPARE(UnitImage(), PcImage());
        QCOMPARE(ModFun::state.ParamImage[53 + 1], 1); // A's low-pass followed B's

        messages.Answer(Messages::Answer::Yes);
        Find<QPushButton>(window.get(), "Command2_0")->click();
        const DeviceImage::Image graphic = UnitImage();
        QCOMPARE(graphic[127], ModFun::state.ParamImage[127]);
        QCOMPARE(graphic[127] & 1, 1);
        for (int band = 0; band < 30; ++band) {
            const int at = ValueTables::EqBandOffsets[band];
            QCOMPARE(graphic[at], ModFun::state.ParamImage[at]);
        }
        QVERIFY(!ModTxRx::state.TransferFailed);
        window.reset();
        ModTxRx::Reset();
    }
};

QTEST_MAIN(FilterUnitTest)
#include "filter_unit_test.moc"
