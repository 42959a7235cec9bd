#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "EditorHarness.h"
#include "graph/ui/EntryControls.h"
#include "graph/ui/FrmFilter.h"
#include "graph/ui/GraphArea.h"

namespace {

// An anti-aliased 1 px line covers its pixels by about four fifths.
bool IsRed(const QColor &c)
{
    return c.red() > 180 && c.green() < 100 && c.blue() < 100;
}

bool IsBlue(const QColor &c)
{
    return c.blue() > 180 && c.red() < 100 && c.green() < 100;
}

} // namespace

class FilterWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<EditorHarness> harness;
    std::unique_ptr<FrmFilter> window;

    /// Derived state, summaries and curves from the image as it stands.
    static void Refresh()
    {
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
    }

    void Open()
    {
        harness->serial.calls.clear();
        window = std::make_unique<FrmFilter>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    template<class T> T *Find(const QString &name) const { return Named<T>(*window, name); }
    template<class T> T *At(const QString &control, int index) const
    {
        return Find<T>(QStringLiteral("%1_%2").arg(control).arg(index));
    }
    EntryBox *Box(const char *control, int index) const { return At<EntryBox>(control, index); }
    QSlider *Slider(int band) const { return At<QSlider>("Slider2", band); }
    UpDown *QButtons(int band) const { return At<UpDown>("UpDown3", band); }
    BandMarker *Marker(int band) const { return At<BandMarker>("Label5", band); }
    GraphPicture *Picture(int channel) const { return At<GraphPicture>("Picture1", channel); }
    QPushButton *Button(int number, int channel) const
    {
        return At<QPushButton>(QStringLiteral("Command%1").arg(number), channel);
    }
    std::vector<FrameBuffer> Frames() const { return harness->Frames(); }
    static int Image(int index) { return EditorHarness::Image(index); }
    int Count() const { return static_cast<int>(harness->serial.calls.size()); }

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
    bool LastQuestionWas(const QString &text, const QString &title) const
    {
        const Messages::Box &box = harness->messages.Shown().back().box;
        return box.text == text && box.title == title && box.buttons == Messages::Buttons::YesNo;
    }

private slots:
    void init()
    {
        harness = std::make_unique<EditorHarness>();
        EditorHarness::Image(127) = 2; // parametric, not linked
        Refresh();
    }

    void cleanup()
    {
        window.reset();
        harness.reset();
    }

    void opensFromTheModelWithoutSending()
    {
        ModFun::state.ParamImage[51] = 24; // A high-pass 80 Hz, 12 dB/oct
        ModFun::state.ParamImage[52] = 2;
        ModFun::state.ParamImage[64 + 6] = 42; // B band 3 +6 dB
        Open();
        QVERIFY(ModGraph::state.FilterEditorShown);
        QCOMPARE(Box("Text8", 0)->text(), QStringLiteral("80"));
        QCOMPARE(Find<QComboBox>("Combo2_0")->currentIndex(), 2);
        QCOMPARE(Slider(17)->value(), 18);
        QCOMPARE(QButtons(17)->value(), 24);
        QVERIFY(!Marker(0)->isVisible()); // "Cursor" starts unticked

        // The boxes come back as they were left; the tab is the panel's channel.
        Find<QCheckBox>("Check4_0")->click();
        Find<QCheckBox>("Check3_1")->click();
        window.reset();
        QVERIFY(!ModGraph::state.FilterEditorShown);
        PanelFlags::state.FilterChannel = 1;
        Open();
        QVERIFY(Find<QCheckBox>("Check4_0")->isChecked());
        QVERIFY(Find<QCheckBox>("Check3_1")->isChecked());
        QCOMPARE(Find<QTabWidget>("SSTab1")->currentIndex(), 1);
        QVERIFY(Marker(20)->isVisible());
        Find<QCheckBox>("Check3_1")->click();
        QVERIFY(!Marker(20)->isVisible());
        QVERIFY(harness->serial.calls.empty());
    }

    void crossoverFrequencyBoxAndSlopeList()
    {
        Open();
        EntryBox *box = Box("Text8", 0);
        TypeAndEnter(box, "1031");
        QCOMPARE(Frames(), std::vector<FrameBuffer>{ReplyFrame(0x04, 0, 0, 0, 0, 68, 0)});

        // A refused key warns and does not go in; a text that is no number warns on Enter.
        box->selectAll();
        QTest::keyClicks(box, "12");
        QTest::keyClick(box, Qt::Key_A);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QTest::keyClicks(box, "..");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(harness->messages.Texts(),
                 QStringList({"  Incorrect f value", "  Incorrect f value"}));
        QCOMPARE(Count(), 1);
        Leave(box); // an unconfirmed text is dropped
        QCOMPARE(box->text(), QStringLiteral("1000"));

        // Channel B's low-pass at -12 dB/oct.
        auto *slope = Find<QComboBox>("Combo2_3");
        slope->setCurrentIndex(2);
        emit slope->activated(2);
        QCOMPARE(Frames().back(), ReplyFrame(0x04, 1, 1, 0, 0, 120, 2));

        // While the window sets its own controls, list clicks do nothing.
        PanelFlags::state.UpdatingControls = true;
        slope->setCurrentIndex(1);
        emit slope->activated(1);
        PanelFlags::state.UpdatingControls = false;
        QCOMPARE(Count(), 2);
        QCOMPARE(Image(118), 2);
    }

    void bandBoxesSliderAndSpinButtons()
    {
        Open();
        // Channel B band 3 at 1 kHz, Q index 24, +6 dB.
        TypeAndEnter(Box("Text4", 17), "1000");
        TypeAndEnter(Box("Text3", 17), "6");
        QCOMPARE(Slider(17)->value(), 18);
        QCOMPARE(Frames().back(), ReplyFrame(0x05, 1, 2, 0, 0x44, 0x18, 0x2A));

        // Only four characters of a Q are read: "1.0599" is 1.05, a tie that goes to 1.0.
        TypeAndEnter(Box("Text5", 17), "1.0599");
        QCOMPARE(QButtons(17)->value(), 12);
        QButtons(17)->findChild<QToolButton *>("Up")->click();
        QCOMPARE(Box("Text5", 17)->text(), QStringLiteral("1.1"));
        QCOMPARE(Frames().back(), ReplyFrame(0x05, 1, 2, 0, 0x44, 13, 0x2A));
        QCOMPARE(Count(), 4);

        // Texts that are no number warn and send nothing.
        TypeAndEnter(Box("Text3", 17), "abc");
        TypeAndEnter(Box("Text4", 17), "x");
        TypeAndEnter(Box("Text5", 17), "q");
        QCOMPARE(harness->messages.Texts(),
                 QStringList(
                     {"  Incorrect value", "  Incorrect frequency value", "  Incorrect Q value"}));
        QCOMPARE(Count(), 4);
    }

    void graphicTypeLocksFrequencyAndQ()
    {
        ModFun::state.ParamImage[1] = 68; // A band 1 at 1 kHz, Q index 10
        ModFun::state.ParamImage[2] = 10;
        Open();
        harness->messages.Answer(Messages::Answer::No);
        Button(2, 1)->click();
        QVERIFY(harness->serial.calls.empty());

        harness->messages.Answer(Messages::Answer::Yes);
        Button(2, 1)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set EQ as Graphic EQ, are you sure?"),
                                QStringLiteral("EQ Type")));
        QCOMPARE(Frames(), std::vector<FrameBuffer>({ReplyFrame(0x13, 0, 0, 0, 0, 0, 1)}));
        QCOMPARE(Box("Text4", 0)->text(), QStringLiteral("25"));
        QVERIFY(!Box("Text4", 29)->isEnabled());
        QVERIFY(!QButtons(29)->isEnabled());
        QVERIFY(!Button(3, 1)->isEnabled());
        // Gains stay editable.
        QVERIFY(Box("Text3", 29)->isEnabled());
        Slider(4)->setValue(26);
        QCOMPARE(Frames().back(), ReplyFrame(0x05, 0, 4, 0, 36, 45, 34));

        // Back to parametric: the values stay until edited.
        harness->messages.Answer(Messages::Answer::Yes);
        Button(2, 0)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set EQ as Parametric EQ, are you sure?"),
                                QStringLiteral("EQ Type")));
        QCOMPARE(Frames().back(), ReplyFrame(0x13, 0, 0, 0, 0, 0, 0));
        QVERIFY(Box("Text4", 0)->isEnabled());
        QCOMPARE(QButtons(0)->value(), 45);
    }

    void flatAndTwoThirdOctaveOnLinkedChannels()
    {
        for (int band = 0; band < 30; ++band)
            ModFun::state.ParamImage[3 * (band % 15) + 64 * (band / 15)] = 40;
        ModFun::state.ParamImage[1] = 70;
        ModFun::state.ParamImage[64 + 4] = 3;
        Refresh();
        ModFun::state.ChannelLink = 1;
        Open();
        harness->messages.Answer(Messages::Answer::No);
        Button(1, 0)->click();
        QVERIFY(harness->serial.calls.empty());

        harness->messages.Answer(Messages::Answer::Yes);
        Button(1, 0)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("               Are you sure ? "),
                                QStringLiteral("EQ Flat")));
        QCOMPARE(Count(), 30);
        for (const FrameBuffer &frame : Frames())
            QCOMPARE(std::pair(int(frame[2]), int(frame[8])), std::pair(0x05, 30));
        QCOMPARE(Image(1), 70); // frequencies stay

        harness->serial.calls.clear();
        harness->messages.Answer(Messages::Answer::Yes);
        Button(3, 1)->click();
        QVERIFY(LastQuestionWas(QStringLiteral("Set PEQ Frequency 2/3 octave, are you sure ?"),
                                QStringLiteral("Set Freq Eq")));
        QCOMPARE(Count(), 30);
        QCOMPARE(int(Frames()[0][3]), 1); // the tab's own channel first
        QCOMPARE(Image(1), 4);
    }

    void graphFollowsThePixelMapping()
    {
        Open();
        // A flat channel is a straight line on row 95, entering from the left edge.
        const QImage flat = Picture(0)->Image();
        for (int x : {0, 300, 575}) {
            QVERIFY2(IsRed(flat.pixelColor(x, 95)), qPrintable(QString::number(x)));
            QVERIFY(!IsRed(flat.pixelColor(x, 94)));
        }
        // Tab A with "Out2": B over A, in B's colour.
        Find<QCheckBox>("Check4_0")->click();
        QVERIFY(IsBlue(Picture(0)->Image().pixelColor(300, 95)));

        // Three bands of B at +15 dB add up past +30 dB: the total is clipped at the top.
        for (int band : {22, 23, 24})
            Slider(band)->setValue(0);
        const QImage boosted = Picture(1)->Image();
        bool topRowBlue = false;
        for (int row = 0; row < GraphPicture::Height; ++row)
            QVERIFY(!IsBlue(boosted.pixelColor(326, row)));
        for (int x = 0; x < boosted.width(); ++x)
            topRowBlue = topRowBlue || IsBlue(boosted.pixelColor(x, 0));
        QVERIFY(topRowBlue);

        // While the graph is frozen only the grid is shown.
        ModGraph::state.GraphFrozen = 1;
        Find<QCheckBox>("Check4_0")->click();
        QCOMPARE(Picture(0)->Image(), GraphPicture::Grid());
    }

    void markerDragShowsFineGainAndSendsOnRelease()
    {
        Open();
        Find<QCheckBox>("Check3_0")->click(); // "Cursor"
        const int band = 8; // 1 kHz, 0 dB
        const QPoint centre(BandMarker::Width / 2, BandMarker::Height / 2);
        const QPoint start = Picture(0)->mapFromGlobal(Marker(band)->mapToGlobal(centre));
        QCOMPARE(start, QPoint(326, 95));

        // A click sends nothing.
        MouseOnMarker(QEvent::MouseButtonPress, band, start);
        MouseOnMarker(QEvent::MouseButtonRelease, band, start);
        QVERIFY(Marker(band)->IsEdited());
        QVERIFY(harness->serial.calls.empty());

        // 12 pixels up is +3.77 dB: 3.7 is shown during the drag, 3.5 stored on release.
        MouseOnMarker(QEvent::MouseButtonPress, band, start);
        MouseOnMarker(QEvent::MouseMove, band, start + QPoint(0, -12));
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("3.7"));
        QVERIFY(harness->serial.calls.empty());
        MouseOnMarker(QEvent::MouseButtonRelease, band, start + QPoint(0, -12));
        QCOMPARE(Frames(), std::vector<FrameBuffer>({ReplyFrame(0x05, 0, 8, 0, 68, 24, 37)}));
        QCOMPARE(Box("Text3", band)->text(), QStringLiteral("3.5"));
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
        QVERIFY(harness->serial.calls.empty());
    }
};

QTEST_MAIN(FilterWindowTest)
#include "filter_window_test.moc"
