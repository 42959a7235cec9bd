#include <cmath>

#include <QScopedValueRollback>

#include "ModelFixture.h"
#include "graph/FilterEdit.h"
#include "graph/GraphGeometry.h"

namespace {

using namespace GraphGeometry;

TEST(MarkerGeometry, SitsOnTheGraphsMapping)
{
    EXPECT_EQ(TwipsToPixels(8625), 575);
    EXPECT_EQ(MarkerX(20), 0);
    EXPECT_NEAR(MarkerX(20000), 8625, 1e-9);
    EXPECT_NEAR(TwipsToPixels(MarkerX(1000)), ModGraph::FrequencyToColumn(1000), 1e-9);
    EXPECT_NEAR(MarkerY(0), 95.4 * 15, 1e-9);
    // The marker of a gain is on the row the curve of that gain is drawn on.
    for (double gain : {-15.0, -6.5, 0.0, 3.5, 15.0})
        EXPECT_EQ(std::lround(TwipsToPixels(MarkerY(gain))), ModGraph::LevelToRow(gain)) << gain;
    for (double hz : {20.0, 57.0, 1062.0, 19000.0})
        EXPECT_NEAR(FrequencyAtX(MarkerX(hz)), hz, 1e-9 * hz);
    EXPECT_NEAR(GainAtY(MarkerY(-12.5)), -12.5, 1e-12);
    // Values from outside the graph land on its edges instead of at infinity.
    EXPECT_EQ(MarkerX(0), 0);
    EXPECT_EQ(MarkerX(NAN), 0);
    EXPECT_NEAR(MarkerX(1e9), 8625, 1e-9);
    EXPECT_EQ(MarkerY(NAN), MarkerY(0));
}

TEST(MarkerGeometry, DragClampsToTheGraphAndTheGainRange)
{
    const DragStep high = DragMarker(MarkerX(1000), -500, false, 1000);
    EXPECT_TRUE(high.gainShown == 15 && high.y == MarkerY(15));
    const DragStep low = DragMarker(MarkerX(1000), PixelsToTwips(400), false, 1000);
    EXPECT_TRUE(low.gainShown == -15 && low.y == MarkerY(-15));
    const DragStep left = DragMarker(-3000, MarkerY(2), false, 1000);
    EXPECT_TRUE(left.x == 0 && left.frequencyHz == 20);
    const DragStep right = DragMarker(PixelsToTwips(700), MarkerY(2), false, 1000);
    EXPECT_TRUE(right.x == 8625 && right.frequencyHz == 20000);
    // Inside the graph the marker follows the mouse; the frequency is the nearest table entry.
    const DragStep inside = DragMarker(MarkerX(1031), MarkerY(-4.25), false, 250);
    EXPECT_EQ(inside.x, MarkerX(1031));
    EXPECT_NEAR(inside.y, MarkerY(-4.25), 1e-9);
    EXPECT_EQ(inside.frequencyHz, 1000);
    EXPECT_EQ(inside.gainShown, -4.3);
}

TEST(MarkerGeometry, GraphicDragKeepsTheBandFrequency)
{
    const DragStep step = DragMarker(PixelsToTwips(12), MarkerY(6.2), true, 4000);
    EXPECT_EQ(step.x, MarkerX(4000));
    EXPECT_EQ(step.frequencyHz, 4000);
    EXPECT_NEAR(step.gainShown, 6.2, 1e-12);
}

TEST(MarkerGeometry, ShownGainIsCutToATenth)
{
    EXPECT_EQ(DragMarker(0, MarkerY(3.79), false, 20).gainShown, 3.7);
    EXPECT_EQ(DragMarker(0, MarkerY(-0.01), false, 20).gainShown, -0.1);
    // A marker put back where a gain step placed it shows that gain, not a tenth below.
    for (int index = 0; index <= 60; ++index) {
        const double gain = index / 2.0 - 15;
        EXPECT_EQ(DragMarker(0, MarkerY(gain), false, 20).gainShown, gain) << gain;
    }
}

TEST(BandCodes, SliderGainAndFrequencyRules)
{
    EXPECT_EQ(FilterEdit::GainIndexOfSlider(0), 60);
    EXPECT_EQ(FilterEdit::GainIndexOfSlider(60), 0);
    EXPECT_EQ(FilterEdit::GainIndexOfSlider(99), 0);
    EXPECT_EQ(FilterEdit::GainOfIndex(FilterEdit::GainIndexOfSlider(0)), 15);
    EXPECT_EQ(FilterEdit::SliderOfGain(3.7), 23); // 22.6
    EXPECT_EQ(FilterEdit::GainOfIndex(FilterEdit::GainIndexOfSlider(23)), 3.5);
    EXPECT_EQ(FilterEdit::SliderOfGain(-15), 60);
    EXPECT_EQ(FilterEdit::SliderOfGain(40), 0);
    EXPECT_EQ(FilterEdit::ClampFrequency(5), 20);
    EXPECT_EQ(FilterEdit::ClampFrequency(25000), 20000);
    EXPECT_EQ(FilterEdit::ClampFrequency(NAN), 20);
    EXPECT_EQ(FilterEdit::GraphicFrequencyIndex(0), 4);
    EXPECT_EQ(FilterEdit::GraphicFrequencyIndex(29), 116);
    EXPECT_EQ(FilterEdit::TwinBand(3), 18);
    EXPECT_EQ(FilterEdit::TwinFilter(1), 3);
    EXPECT_EQ(FilterEdit::TwinFilter(2), 0);
}

class FilterStore : public ModelTest
{
protected:
    static std::vector<int> ImageBytes(int first, int count)
    {
        const auto begin = ModFun::state.ParamImage.begin() + first;
        return {begin, begin + count};
    }
};

TEST_F(FilterStore, BandGoesIntoTheImageModelAndFrame)
{
    // Channel B band 3 at 1 kHz, Q index 24, +6 dB.
    ASSERT_TRUE(ModFun::SetEqBand(17, {42, 68, 24}));
    EXPECT_EQ(Frames(), std::vector{ReplyFrame(0x05, 0x01, 0x02, 0x00, 0x44, 0x18, 0x2A)});
    EXPECT_EQ(ImageBytes(70, 3), (std::vector<int>{42, 68, 24}));
    EXPECT_EQ(ModFun::state.BandGainDb[17], 6);
    EXPECT_EQ(ModFun::state.BandFreqHz[17], 1000);
}

TEST_F(FilterStore, CrossoverFrameAndCodesOutOfTheirTables)
{
    ASSERT_TRUE(ModFun::SetCrossover(3, {100, 2}));
    EXPECT_EQ(Frames().back(), ReplyFrame(0x04, 0x01, 0x01, 0x00, 0x00, 100, 0x02));
    EXPECT_EQ(ModFun::state.CrossoverFreqHz[3], 6300);
    // Codes from a file or the unit may be anything: they are read as the nearest table end,
    // and written that way.
    Image(51) = 200, Image(52) = 7;
    EXPECT_EQ(ModFun::CrossoverCodes(0).frequency, 120);
    EXPECT_EQ(ModFun::CrossoverCodes(0).slope, 2);
    Image(0) = 99, Image(1) = 250, Image(2) = 255;
    const ModFun::BandCodes band = ModFun::EqBandCodes(0);
    EXPECT_EQ((std::vector<int>{band.gain, band.frequency, band.q}),
              (std::vector<int>{60, 120, 220}));
    ASSERT_TRUE(ModFun::SetEqBand(0, {-4, 500, 300}));
    EXPECT_EQ(ImageBytes(0, 3), (std::vector<int>{0, 120, 220}));
}

TEST_F(FilterStore, EqTypeKeepsTheFlagsByteAndCaptions)
{
    ModFun::state.LinkAB = 1.0;
    ASSERT_TRUE(ModFun::SetEqType(true));
    EXPECT_EQ(Image(127), 3);
    EXPECT_TRUE(ModFun::state.EqCaption[0] == "GEQ" && ModFun::state.EqCaption[1] == "GEQ");
    EXPECT_EQ(Frames().back(), ReplyFrame(0x13, 0, 0, 0, 0, 0, 1));
    ASSERT_TRUE(ModFun::SetEqType(false));
    EXPECT_EQ(Image(127), 2);
    EXPECT_EQ(ModFun::state.EqCaption[1], "PEQ");
    EXPECT_EQ(Frames().back()[8], 0);
}

TEST_F(FilterStore, SuspendedSendingAndALostLink)
{
    {
        const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ASSERT_TRUE(ModFun::SetEqBand(4, {40, 36, 24}));
    }
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(ModFun::state.BandGainDb[4], 5);

    int panelClosed = 0;
    ModTxRx::SetPanelCloseHook([&] { ++panelClosed; });
    serial.QueueFailure();
    serial.refusedPorts.insert("COM0");
    EXPECT_FALSE(ModFun::SetCrossover(0, {10, 1}));
    EXPECT_EQ(panelClosed, 1);
    EXPECT_EQ(Image(51), 10); // the model keeps the new value
}

} // namespace
