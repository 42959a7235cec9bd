#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "EditorHarness.h"
#include "eqimport/ui/FrmEqImport.h"
#include "model/SettingHistory.h"

/// The import preview on unlinked channels: a file chosen through the dialog layer, channel B,
/// Apply.
class EqImportWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void applySendsTheChangedBandOfTheChosenChannelAsOneStep()
    {
        EditorHarness harness;
        EditorHarness::Image(ValueTables::FlagsByteIndex) = 0;
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
        PanelFlags::state.PanelOpen = true;
        ModFun::history().Clear();
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("eq.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Preamp: -3 dB\nFilter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 2.00\n"
                   "Filter 2: ON LS Fc 80 Hz Gain 3 dB\n");
        file.close();
        harness.messages.ChooseFile(file.fileName());

        FrmEqImport window;
        window.findChild<QPushButton *>("CommandChoose")->click();
        QCOMPARE(window.findChild<QTableWidget *>("TableFilters")->rowCount(), 2);
        window.findChild<QComboBox *>("ComboChannel")->setCurrentIndex(1);
        window.findChild<QPushButton *>("CommandApply")->click();

        // Band 1 of B: 100 Hz (code 28), Q 2.5 (code 27), -3 dB (code 24); the rest stay flat.
        const std::vector<FrameBuffer> sent{
            {0xF0, 0x10, 0x05, 0x01, 0x00, 0x00, 0x1C, 0x1B, 0x18, 0xF7}};
        QCOMPARE(harness.Frames(), sent);
        QCOMPARE(ModFun::history().UndoText(), QStringLiteral("Undo CH.B EQ import"));
        QVERIFY(ModFun::history().Undo());
        QCOMPARE(EditorHarness::Image(ValueTables::EqBandOffsets[15]), 30);
    }
};

QTEST_MAIN(EqImportWindowTest)
#include "eq_import_window_test.moc"
