#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "graph/ui/EntryControls.h"
#include "graph/ui/FrmFilter.h"
#include "graph/ui/GraphArea.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "shell/ModCountry.h"
#include "shell/ui/WindowOpeners.h"

namespace {

using Answer = Messages::Answer;

// An anti-aliased 1 px line covers its pixels by about four fifths.
bool IsRed(const QColor &c)
{
    return c.red() > 180 && c.green() < 100 && c.blue() < 100;
}

bool IsBlue(const QColor &c)
{
    return c.blue() > 180 && c.red() < 100 && c.green() < 100;
}

bool RowHasBlue(const QImage &image, int row)
{
    for (int x = 0; x < image.width(); ++x) {
        if (IsBlue(image.pixelColor(x, row)))
            return true;
    }
    return false;
}

} // namespace

class FilterWindowTest : public QObject
{
    Q_OBJECT

private:
    RecordingSerial serial;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<FrmFilter> window;

    static void ResetModules()
    {
        ModTxRx::Reset();
        ModFun::Reset();
        PanelFlags::Reset();
        ModGraph::Reset();
        FilterEdit::Reset();
        ModCountry::CommaLocale = 0;
    }

    /// The default image with its derived state and curves, as the panel leaves it; the serial
    /// double records only what the window sends.
    static void LoadModel(std::uint8_t flags = 2)
    {
        ModFun::LoadDefaultImage();
        ModFun::state.ParamImage[127] = flags;
        Refresh();
    }
    /// Derived state, summaries and curves from the image as it stands.
    static void Refresh()
    {
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
    }

    void Open()
    {
        serial.calls.clear();
        window = std::make_unique<FrmFilter>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    template<class T> T *Find(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    EntryBox *Box(const char *control, int index) const
    {
        return Find<EntryBox>(QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(index));
    }
    QSlider *Slider(int band) const
    {
        return Find<QSlider>(QStringLiteral("Slider2_%1").arg(band));
    }
    UpDown *QButtons(int band) const
    {
        return Find<UpDown>(QStringLiteral("UpDown3_%1").arg(band));
    }
    BandMarker *Marker(int band) const
    {
        return Find<BandMarker>(QStringLiteral("Label5_%1").arg(band));
    }
    GraphPicture *Picture(int channel) const
    {
        return Find<GraphPicture>(QStringLiteral("Picture1_%1").arg(channel));
    }
    QPushButton *Button(int number, int channel) const
    {
        return Find<QPushButton>(QStringLiteral("Command%1_%2").arg(number).arg(channel));
    }

    /// Types a text into a box (replacing what it held) and presses Enter.
    static void Enter(EntryBox *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    static void Leave(QWidget *box)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }

    std::vector<FrameBuffer> Frames() const
    {
        std::vector<FrameBuffer> frames;
        for (const RecordingSerial::Call &call : serial.calls)
            frames.push_back(call.frame);
        return frames;
    }
    static int Image(int index) { return ModFun::state.ParamImage[index]; }
    int Count() const { return static_cast<int>(serial.calls.size()); }

    /// The pixel of picture `channel` that holds the hot spot of `band`'s marker.
    QPoint MarkerPixel(int band) const
    {
        const BandMarker *marker = Marker(band);
        const QPoint centre(BandMarker::Width / 2, BandMarker::Height / 2);
        return Picture(band / 15)->mapFromGlobal(marker->mapToGlobal(centre));
    }
    /// A mouse event on a marker for a point given in its picture's pixels.
    void MouseOnMarker(QEvent::Type type, int band, QPoint picturePoint)
    {
        BandMarker *marker = Marker(band);
        const QPoint global = Picture(band / 15)->mapToGlobal(picturePoint);
        const QPointF local = marker->mapFromGlobal(global);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, QPointF(global), button, held, Qt::NoModifier);
        QApplication::sendEvent(marker, &event);
    }
    /// Presses a marker on its hot spot, moves the mouse by `steps` and releases it.
    void Drag(int band, std::initializer_list<QPoint> steps)
    {
        const QPoint start = MarkerPixel(band);
        MouseOnMarker(QEvent::MouseButtonPress, band, start);
        for (QPoint step : steps)
            MouseOnMarker(QEvent::MouseMove, band, start + step);
        MouseOnMarker(QEvent::MouseButtonRelease, band, start + *(steps.end() - 1));
    }
    bool LastQuestionWas(const QString &text, const QString &title) const
    {
        const Messages::Box &box = messages->Shown().back().box;
        return box.text == text && box.title == title && box.buttons == Messages::Buttons::YesNo;
    }
    void ShowCursor(int channel)
    {
        auto *box = Find<QCheckBox>(QStringLiteral("Check3_%1").arg(channel));
        if (!box->isChecked())
            box->click();
    }

private slots:
    void init()
    {
        ResetModules();
        messages = std::make_unique<ScriptedMessages>();
        serial = RecordingSerial();
        serial.open = true;
        ModTxRx::state.SerialPort = &serial;
        LoadModel();
    }

    void cleanup()
    {
        window.reset();
        messages.reset();
        ResetModules();
    }

    void opensFromTheModelWithoutSending()
    {
        WindowOpeners::RegisterAllWindows();
        QVERIFY(WindowOpeners::IsRegistered(WindowOpeners::Action::Filter));
        WindowOpeners::Reset();

        ModFun::state.ParamImage[51] = 24; // A high-pass 80 Hz, 12 dB/oct
        ModFun::state.ParamImage[52] = 2;
        ModFun::state.ParamImage[64 + 6] = 42; // B band 3 +6 dB
        Open();
        QVERIFY(serial.calls.empty());
        QVERIFY(ModGraph::state.FilterEditorShown);
        QCOMPARE(window->windowTitle(), QStringLiteral("Filters edit"));
        auto *tabs = Find<QTabWidget>("SSTab1");
        QCOMPARE(tabs->tabText(0), QStringLiteral("CH.A - Left"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("CH.B - Right"));
        QCOMPARE(Find<QCheckBox>("Check4_0")->text(), QStringLiteral("CH.B - Right"));
        QCOMPARE(Find<QCheckBox>("Check4_1")->text(), QStringLiteral("CH.A - Left"));
        QCOMPARE(Box("Text8", 0)->text(), QStringLiteral("80"));
        QCOMPARE(Find<QComboBox>("Combo2_0")->currentText(), QStringLiteral("-12 dB/Oct"));
        QCOMPARE(Slider(17)->value(), 18);
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("6"));
        QCOMPARE(Box("Text4", 17)->text(), QStringLiteral("63"));
        QCOMPARE(QButtons(17)->value(), 24);
        QCOMPARE(Button(2, 0)->text(), QStringLiteral("Set Graphic EQ"));
        QVERIFY(!Marker(0)->isVisible()); // "Cursor" starts unticked

        // The boxes come back as they were left; the tab is the panel's channel.
        Find<QCheckBox>("Check4_0")->click();
        Find<QCheckBox>("Check3_1")->click();
        window.reset();
        QVERIFY(!ModGraph::state.FilterEditorShown);
        PanelFlags::state.FilterChannel = 1;
        Open();
        QVERIFY(Find<QCheckBox>("Check4_0")->isChecked());
        QVERIFY(!Find<QCheckBox>("Check4_1")->isChecked());
        QVERIFY(Find<QCheckBox>("Check3_1")->isChecked());
        QCOMPARE(Find<QTabWidget>("SSTab1")->currentIndex(), 1);
        QVERIFY(Marker(20)->isVisible());
        Find<QCheckBox>("Check3_1")->click();
        QVERIFY(!Marker(20)->isVisible());
        QVERIFY(serial.calls.empty());
    }

    void crossoverFrequencyBoxAndSlopeList()
    {
        Open();
        EntryBox *box = Box("Text8", 0);
        Enter(box, "5");
        QCOMPARE(box->text(), QStringLiteral("20"));
        QCOMPARE(Image(51), 0);
        QCOMPARE(Frames().back(), ReplyFrame(0x04, 0, 0, 0, 0, 0, 0));
        Enter(box, "25000");
        QCOMPARE(box->text(), QStringLiteral("20000"));
        QCOMPARE(Image(51), 120);
        Enter(box, "1031");
        QCOMPARE(box->text(), QStringLiteral("1000"));
        QCOMPARE(Image(51), 68);
        QCOMPARE(ModFun::state.Summary[2],
                 QStringLiteral("HP: 1000 Hz, Bypass - LP: 20000 Hz, Bypass"));
        QCOMPARE(Count(), 3);

        // A refused key warns and does not go in; a text that is no number warns on Enter.
        box->selectAll();
        QTest::keyClicks(box, "12");
        QTest::keyClick(box, Qt::Key_A);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QTest::keyClicks(box, "..");
        QCOMPARE(box->text(), QStringLiteral("12.."));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(messages->Texts(), QStringList({"  Incorrect f value", "  Incorrect f value"}));
        QCOMPARE(messages->Shown()[0].box.title, QStringLiteral("Warning"));
        QCOMPARE(Count(), 3);
        Leave(box); // an unconfirmed text is dropped
        QCOMPARE(box->text(), QStringLiteral("1000"));

        // Channel B's low-pass at -12 dB/oct.
        auto *slope = Find<QComboBox>("Combo2_3");
        slope->setCurrentIndex(2);
        emit slope->activated(2);
        QCOMPARE(Frames().back(), ReplyFrame(0x04, 1, 1, 0, 0, 120, 2));
        QCOMPARE(ModFun::state.CrossoverSlope[3], 2.0);
        QVERIFY(ModGraph::state.FilterCurve[3][575] < -2.9);

        // While the window sets its own controls, list clicks do nothing.
        PanelFlags::state.UpdatingControls = true;
        slope->setCurrentIndex(1);
        emit slope->activated(1);
        PanelFlags::state.UpdatingControls = false;
        QCOMPARE(Count(), 4);
        QCOMPARE(Image(118), 2);
    }

    void linkedFilterEditSendsOneFrameAndMirrors()
    {
        ModFun::state.ChannelLink = 1;
        Open();
        Enter(Box("Text8", 0), "80");
        auto *slope = Find<QComboBox>("Combo2_0");
        slope->setCurrentIndex(1);
        emit slope->activated(1);
        QCOMPARE(Count(), 2);
        QCOMPARE(Frames()[1], ReplyFrame(0x04, 0, 0, 0, 0, 24, 1));
        QCOMPARE(Box("Text8", 2)->text(), QStringLiteral("80"));
        QCOMPARE(Find<QComboBox>("Combo2_2")->currentIndex(), 1);
        QCOMPARE(Image(115), 24);
        QCOMPARE(Image(116), 1);
        QCOMPARE(ModFun::state.CrossoverFreqHz[2], 80.0);
        QCOMPARE(ModGraph::state.FilterCurve[2], ModGraph::state.FilterCurve[0]);
        QCOMPARE(ModGraph::state.TotalCurve[1], ModGraph::state.TotalCurve[0]);
        QCOMPARE(ModFun::state.Summary[12], ModFun::state.Summary[2]);
    }

    void bandBoxesSliderAndSpinButtons()
    {
        Open();
        // Channel B band 3 at 1 kHz, Q index 24, +6 dB.
        Enter(Box("Text4", 17), "1000");
        Enter(Box("Text3", 17), "6");
        QCOMPARE(Slider(17)->value(), 18);
        QCOMPARE(Frames().back(), ReplyFrame(0x05, 1, 2, 0, 0x44, 0x18, 0x2A));
        QCOMPARE(ModFun::state.BandGainDb[17], 6.0);
        QCOMPARE(ModFun::state.Summary[11], QStringLiteral("~~~~~~"));

        Slider(17)->setValue(0);
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("15"));
        QCOMPARE(Image(70), 60);
        Slider(17)->setValue(60);
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("-15"));
        Enter(Box("Text3", 17), "0.25"); // halfway goes down
        QCOMPARE(Slider(17)->value(), 30);
        Enter(Box("Text3", 17), "99");
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("15"));
        QCOMPARE(Image(70), 60);

        Enter(Box("Text4", 17), "25000");
        QCOMPARE(Box("Text4", 17)->text(), QStringLiteral("20000"));
        QCOMPARE(Image(71), 120);

        // Only four characters of a Q are read: "1.0599" is 1.05, a tie that goes to 1.0.
        Enter(Box("Text5", 17), "1.0599");
        QCOMPARE(QButtons(17)->value(), 12);
        QCOMPARE(Box("Text5", 17)->text(), QStringLiteral("1"));
        QCOMPARE(Image(72), 12);
        QButtons(17)->findChild<QToolButton *>("Up")->click();
        QCOMPARE(Box("Text5", 17)->text(), QStringLiteral("1.1"));
        QCOMPARE(int(Frames().back()[7]), 13);
        const int sent = Count();
        QCOMPARE(sent, 9);

        // Texts that are no number warn and send nothing; leaving a box shows the model again.
        Enter(Box("Text3", 17), "abc");
        Enter(Box("Text4", 17), "x");
        Enter(Box("Text5", 17), "q");
        QCOMPARE(messages->Texts(),
                 QStringList(
                     {"  Incorrect value", "  Incorrect frequency value", "  Incorrect Q value"}));
        QCOMPARE(Count(), sent);
        Leave(Box("Text3", 17));
        Leave(Box("Text4", 17));
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("15"));
        QCOMPARE(Box("Text4", 17)->text(), QStringLiteral("20000"));

        // A comma locale: both keys type a comma, and the box reads it.
        ModCountry::CommaLocale = 1;
        Box("Text3", 2)->selectAll();
        QTest::keyClicks(Box("Text3", 2), "-2.5");
        QCOMPARE(Box("Text3", 2)->text(), QStringLiteral("-2,5"));
        QTest::keyClick(Box("Text3", 2), Qt::Key_Return);
        QCOMPARE(Image(6), 25);
    }

    void linkedBandEditSendsOneFrameAndMirrors()
    {
        ModFun::state.ChannelLink = 1;
        Open();
        Slider(2)->setValue(20);
        QCOMPARE(Count(), 1);
        QCOMPARE(Frames()[0], ReplyFrame(0x05, 0, 2, 0, 20, 24, 40));
        QCOMPARE(Slider(17)->value(), 20);
        QCOMPARE(Box("Text3", 17)->text(), QStringLiteral("5"));
        QCOMPARE(Image(70), 40);
        QCOMPARE(ModGraph::state.BandCurve[17], ModGraph::state.BandCurve[2]);
        QCOMPARE(Marker(17)->pos(), Marker(2)->pos());
    }

    void graphicTypeLocksFrequencyAndQ()
    {
        ModFun::state.ParamImage[1] = 68; // A band 1 at 1 kHz, Q index 10
        ModFun::state.ParamImage[2] = 10;
        Open();
        messages->Answer(Answer::No);
        Button(2, 1)->click();
        QVERIFY(serial.calls.empty());
        QCOMPARE(ModFun::state.GeqSelected, 0.0);

        messages->Answer(Answer::Yes);
        Button(2, 1)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set EQ as Graphic EQ, are you sure?"),
                                QStringLiteral("EQ Type")));
        QCOMPARE(Frames(), std::vector<FrameBuffer>({ReplyFrame(0x13, 0, 0, 0, 0, 0, 1)}));
        QCOMPARE(Image(127), 3);
        QCOMPARE(ModFun::state.EqCaption[0], QStringLiteral("GEQ"));
        for (int band = 0; band < 30; ++band) {
            const int k = band % 15;
            QCOMPARE(Image(ValueTables::EqBandOffsets[band] + 1), 8 * k + 4);
            QCOMPARE(Image(ValueTables::EqBandOffsets[band] + 2), 45);
            QVERIFY(!Box("Text4", band)->isEnabled());
            QVERIFY(!Box("Text5", band)->isEnabled());
            QVERIFY(!QButtons(band)->isEnabled());
            QVERIFY(Box("Text3", band)->isEnabled());
            QCOMPARE(Box("Text5", band)->text(), QStringLiteral("4.3"));
        }
        QCOMPARE(Box("Text4", 0)->text(), QStringLiteral("25"));
        QCOMPARE(ModFun::state.BandQCode[0], 45.0);
        for (int channel = 0; channel < 2; ++channel) {
            QCOMPARE(Button(2, channel)->text(), QStringLiteral("Set Parametric EQ"));
            QVERIFY(!Button(3, channel)->isEnabled());
        }
        // Gains stay editable.
        Slider(4)->setValue(26);
        QCOMPARE(Frames().back(), ReplyFrame(0x05, 0, 4, 0, 36, 45, 34));

        // Back to parametric: the values stay until edited.
        messages->Answer(Answer::Yes);
        Button(2, 0)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set EQ as Parametric EQ, are you sure?"),
                                QStringLiteral("EQ Type")));
        QCOMPARE(Frames().back(), ReplyFrame(0x13, 0, 0, 0, 0, 0, 0));
        QCOMPARE(Count(), 3);
        QCOMPARE(Image(127), 2);
        QVERIFY(Box("Text4", 0)->isEnabled());
        QVERIFY(Button(3, 0)->isEnabled());
        QCOMPARE(Box("Text4", 0)->text(), QStringLiteral("25"));
        QCOMPARE(QButtons(0)->value(), 45);
    }

    void flatAndTwoThirdOctaveOnLinkedChannels()
    {
        for (int band = 0; band < 30; ++band)
            ModFun::state.ParamImage[ValueTables::EqBandOffsets[band]] = 40;
        ModFun::state.ParamImage[1] = 70;
        ModFun::state.ParamImage[64 + 4] = 3;
        Refresh();
        ModFun::state.ChannelLink = 1;
        Open();
        messages->Answer(Answer::No);
        Button(1, 0)->click();
        QVERIFY(serial.calls.empty());

        messages->Answer(Answer::Yes);
        Button(1, 0)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("               Are you sure ? "),
                                QStringLiteral("EQ Flat")));
        QCOMPARE(Count(), 30);
        for (const FrameBuffer &frame : Frames()) {
            QCOMPARE(int(frame[2]), 0x05);
            QCOMPARE(int(frame[8]), 30);
        }
        QCOMPARE(ModFun::state.Summary[1], QStringLiteral("EQ Flat"));
        QCOMPARE(ModFun::state.Summary[11], QStringLiteral("EQ Flat"));
        QCOMPARE(Image(1), 70); // frequencies stay

        serial.calls.clear();
        messages->Answer(Answer::Yes);
        Button(3, 1)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set PEQ Frequency 2/3 octave, are you sure ?"),
                                QStringLiteral("Set Freq Eq")));
        QCOMPARE(Count(), 30);
        QCOMPARE(int(Frames()[0][3]), 1); // the tab's own channel first
        QCOMPARE(Image(1), 4);
        QCOMPARE(Image(64 + 4), 12);
        QCOMPARE(Box("Text4", 0)->text(), QStringLiteral("25"));
    }

    void graphFollowsThePixelMapping()
    {
        Open();
        // A flat channel is a straight line on row 95, entering from the left edge.
        const QImage flat = Picture(0)->Image();
        for (int x : {0, 1, 134, 300, 575}) {
            QVERIFY2(IsRed(flat.pixelColor(x, 95)), qPrintable(QString::number(x)));
            QVERIFY(!IsRed(flat.pixelColor(x, 94)));
            QVERIFY(!IsRed(flat.pixelColor(x, 96)));
        }
        // Tab A with "Out2": B over A, in B's colour; tab B is not affected.
        Find<QCheckBox>("Check4_0")->click();
        QVERIFY(IsBlue(Picture(0)->Image().pixelColor(300, 95)));
        QVERIFY(!IsRed(Picture(1)->Image().pixelColor(300, 95)));
        QVERIFY(IsBlue(Picture(1)->Image().pixelColor(300, 95)));

        // Three neighbouring bands of B at +15 dB add up past +30 dB: the total leaves the
        // picture at the top and is clipped there.
        for (int band : {22, 23, 24})
            Slider(band)->setValue(0);
        const int peak = ModGraph::RoundHalfEven(ModGraph::FrequencyToColumn(1000));
        QVERIFY(ModGraph::LevelToRow(ModGraph::state.TotalCurve[1][peak]) < 0);
        const QImage boosted = Picture(1)->Image();
        for (int row = 0; row < GraphPicture::Height; ++row)
            QVERIFY(!IsBlue(boosted.pixelColor(peak, row)));
        QVERIFY(RowHasBlue(boosted, 0));
        // B changed under A's overlay: tab A shows it already.
        QVERIFY(RowHasBlue(Picture(0)->Image(), 0));

        // While the graph is frozen only the grid is shown.
        ModGraph::state.GraphFrozen = 1;
        Find<QCheckBox>("Check4_0")->click();
        QCOMPARE(Picture(0)->Image(), GraphPicture::Grid());
    }

    void markerDragShowsFineGainAndSendsOnRelease()
    {
        Open();
        ShowCursor(0);
        const int band = 8; // 1 kHz, 0 dB
        QCOMPARE(MarkerPixel(band), QPoint(326, 95));

        // A click sends nothing.
        MouseOnMarker(QEvent::MouseButtonPress, band, MarkerPixel(band));
        MouseOnMarker(QEvent::MouseButtonRelease, band, MarkerPixel(band));
        QVERIFY(Marker(band)->IsEdited());
        QVERIFY(serial.calls.empty());

        // 12 pixels up is +3.77 dB: 3.7 is shown during the drag, 3.5 stored on release.
        const QPoint start = MarkerPixel(band);
        MouseOnMarker(QEvent::MouseButtonPress, band, start);
        MouseOnMarker(QEvent::MouseMove, band, start + QPoint(0, -6));
        MouseOnMarker(QEvent::MouseMove, band, start + QPoint(0, -12));
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("3.7"));
        QCOMPARE(Slider(band)->value(), 23);
        QCOMPARE(ModFun::state.BandGainDb[band], 3.7);
        QCOMPARE(MarkerPixel(band), start + QPoint(0, -12));
        QVERIFY(serial.calls.empty());
        QCOMPARE(Image(3 * band), 30); // the image waits for the release
        MouseOnMarker(QEvent::MouseButtonRelease, band, start + QPoint(0, -12));
        QCOMPARE(Frames(), std::vector<FrameBuffer>({ReplyFrame(0x05, 0, 8, 0, 68, 24, 37)}));
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("3.5"));
        QCOMPARE(ModFun::state.BandGainDb[band], 3.5);
        QCOMPARE(MarkerPixel(band).y(), ModGraph::LevelToRow(3.5));

        // Far up and left stop at +15 dB and 20 Hz; far down and right at -15 dB and 20 kHz.
        Drag(band, {QPoint(-200, -40), QPoint(-900, -300)});
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("15"));
        QCOMPARE(Box("Text4", band)->text(), QStringLiteral("20"));
        QCOMPARE(MarkerPixel(band), QPoint(0, ModGraph::LevelToRow(15)));
        Drag(band, {QPoint(900, 300)});
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("-15"));
        QCOMPARE(Box("Text4", band)->text(), QStringLiteral("20000"));
        QCOMPARE(Count(), 3);
        QCOMPARE(Frames()[1], ReplyFrame(0x05, 0, 8, 0, 0, 24, 60));
        QCOMPARE(Frames()[2], ReplyFrame(0x05, 0, 8, 0, 120, 24, 0));
    }

    void graphicDragStaysOnItsFrequencyAndLinkedDragMirrors()
    {
        LoadModel(3); // graphic, linked
        ModFun::state.ChannelLink = 1;
        Open();
        ShowCursor(0);
        const int band = 9; // 1600 Hz
        const QPoint start = MarkerPixel(band);
        Drag(band, {QPoint(80, -20), QPoint(150, -30)});
        QCOMPARE(Box("Text4", band)->text(), QStringLiteral("1600"));
        QCOMPARE(MarkerPixel(band).x(), start.x());
        QCOMPARE(Count(), 1);
        QCOMPARE(int(Frames()[0][6]), 76);
        QVERIFY(Frames()[0][8] > 30 + 2 * 8);
        QCOMPARE(Image(64 + 3 * band), Image(3 * band));
        QCOMPARE(Slider(band + 15)->value(), Slider(band)->value());
    }

    void focusMarksTheBandBeingEdited()
    {
        Open();
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(Box("Text4", 4), &in);
        QVERIFY(Marker(4)->IsEdited());
        const QColor normal = Box("Text3", 5)->palette().color(QPalette::Base);
        QVERIFY(Box("Text3", 4)->palette().color(QPalette::Base) != normal);
        QApplication::sendEvent(Slider(5), &in);
        QVERIFY(!Marker(4)->IsEdited());
        QVERIFY(Marker(5)->IsEdited());
        Leave(Slider(5));
        QVERIFY(!Marker(5)->IsEdited());
        QCOMPARE(Box("Text3", 4)->palette().color(QPalette::Base), normal);
        QVERIFY(serial.calls.empty());
    }

    void lostLinkClosesTheWindowAndStopsSending()
    {
        Open();
        serial.QueueFailure();
        serial.refusedPorts.insert("COM0");
        messages->Answer(Answer::Yes);
        Button(1, 0)->click();
        QCOMPARE(Count(), 1); // the first band failed: no further bands
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(messages->Texts().contains("Communication time-Out, the system close the device"));
        Slider(3)->setValue(10);
        Enter(Box("Text8", 0), "100");
        QCOMPARE(Count(), 1);
    }
};

QTEST_MAIN(FilterWindowTest)
#include "filter_window_test.moc"
