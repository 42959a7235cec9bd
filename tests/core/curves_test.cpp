#include <cmath>

#include <gtest/gtest.h>

#include "graph/ModGraph.h"
#include "model/ValueTables.h"

namespace {

class Curves : public ::testing::Test
{
protected:
    void SetUp() override { ModGraph::Reset(); }
    void TearDown() override { ModGraph::Reset(); }

    static void SetBand(int band, double gainDb, double hz, int qCode)
    {
        ModGraph::state.BandGainDb[band] = gainDb;
        ModGraph::state.BandFreqHz[band] = hz;
        ModGraph::state.BandQCode[band] = qCode;
        ModGraph::ComputeBandCurve(band);
    }
    static void SetFilter(int filter, double hz, int slope)
    {
        ModGraph::state.CrossoverFreqHz[filter] = hz;
        ModGraph::state.CrossoverSlope[filter] = slope;
        ModGraph::ComputeFilterCurve(filter);
    }
    const ModGraph::Curve &Band(int b) { return ModGraph::state.BandCurve[b]; }
    const ModGraph::Curve &Filter(int f) { return ModGraph::state.FilterCurve[f]; }
    const ModGraph::Curve &Total(int ch) { return ModGraph::state.TotalCurve[ch]; }
};

TEST_F(Curves, GridRunsFromTwentyHertzToTwentyKilohertz)
{
    EXPECT_EQ(ModGraph::PointFrequency(0), 20.0);
    EXPECT_NEAR(ModGraph::PointFrequency(575), 20000.0, 1e-9);
    EXPECT_NEAR(ModGraph::state.GraphXScale, 575.0 / 3.0, 1e-12);
    EXPECT_NEAR(ModGraph::state.CursorXScale, 2885.0, 1e-9);
    EXPECT_NEAR(ModGraph::FrequencyToColumn(100), 134.0, 0.05);
    EXPECT_NEAR(ModGraph::FrequencyToColumn(1000), 325.6, 0.05);
    EXPECT_NEAR(ModGraph::FrequencyToColumn(10000), 517.3, 0.05);
}

TEST_F(Curves, ZeroGainAndBypassAreFlat)
{
    SetBand(3, 0.0, 1337, 200);
    SetFilter(1, 400, 0);
    for (int x = 0; x < ModGraph::PointCount; ++x) {
        ASSERT_EQ(Band(3)[x], 0.0) << x;
        ASSERT_EQ(Total(0)[x], 0.0) << x;
    }
}

TEST_F(Curves, BellPeaksAtItsCentreAndFollowsTheFormula)
{
    SetBand(0, 15.0, 20, 24);
    EXPECT_EQ(Band(0)[0], 15.0);
    const double qe = (2.2 + 0.1) / 2.52;
    for (int x : {1, 100, 300, 575}) {
        const double f = 20 * std::pow(10.0, x / ModGraph::state.GraphXScale);
        const double d = 20 / f - f / 20;
        EXPECT_NEAR(Band(0)[x], 15.0 / (1 + qe * qe * d * d), 1e-12) << x;
    }
    SetBand(16, 12.0, 1000, 12);
    const auto peak = std::max_element(Band(16).begin(), Band(16).end()) - Band(16).begin();
    EXPECT_NEAR(ModGraph::PointFrequency(static_cast<int>(peak)), 1000, 15);
    EXPECT_NEAR(Band(16)[peak], 12.0, 0.01);
}

TEST_F(Curves, CutMirrorsBoost)
{
    SetBand(5, 6.0, 250, 24);
    const ModGraph::Curve boost = Band(5);
    SetBand(5, -6.0, 250, 24);
    for (int x = 0; x < ModGraph::PointCount; ++x)
        ASSERT_EQ(Band(5)[x], -boost[x]) << x;
}

TEST_F(Curves, DivisorFollowsTheGainInTenthsOfADecibel)
{
    EXPECT_EQ(ModGraph::QDivisor(0.0), 1.0);
    EXPECT_EQ(ModGraph::QDivisor(0.1), 1.05);
    EXPECT_EQ(ModGraph::QDivisor(-0.5), 1.05);
    EXPECT_EQ(ModGraph::QDivisor(std::floor(3.7 * 10) / 10), 1.4);
    EXPECT_EQ(ModGraph::QDivisor(8.3), 1.83);
    EXPECT_EQ(ModGraph::QDivisor(-6.0), 1.6);
    EXPECT_EQ(ModGraph::QDivisor(14.5), 2.47);
    EXPECT_EQ(ModGraph::QDivisor(14.6), 2.52);
    EXPECT_EQ(ModGraph::QDivisor(15.0), 2.52);
    EXPECT_EQ(ModGraph::QDivisor(0.15), 1.0); // between steps
    EXPECT_EQ(ModGraph::QDivisor(15.1), 1.0);
    EXPECT_EQ(ModGraph::QDivisor(std::nan("")), 1.0);
}

TEST_F(Curves, ButterworthSectionsMatchTheirMagnitudes)
{
    SetFilter(0, 100, 1);
    EXPECT_NEAR(Filter(0)[0], -14.15, 0.005);
    EXPECT_NEAR(Filter(0)[134], -3.01, 0.01);
    SetFilter(0, ModGraph::PointFrequency(134), 1);
    EXPECT_NEAR(Filter(0)[134], -10 * std::log10(2.0), 1e-12);

    SetFilter(3, 2000, 2);
    for (int x = 0; x < ModGraph::PointCount; x += 5) {
        const double f = ModGraph::PointFrequency(x);
        const double h = std::pow(2000, 2) / std::sqrt(std::pow(f, 4) + std::pow(2000, 4));
        ASSERT_NEAR(Filter(3)[x], 20 * std::log10(h), 1e-10) << x;
    }
    SetFilter(2, 8000, 2);
    EXPECT_NEAR(Filter(2)[0],
                20 * std::log10(400.0 / std::sqrt(std::pow(20, 4) + std::pow(8000, 4))), 1e-10);

    const ModGraph::Curve before = Filter(3);
    SetFilter(3, 50, 3); // an unknown slope keeps the old curve
    EXPECT_EQ(Filter(3), before);
}

TEST_F(Curves, AttenuationAgreesWithTheLibrary)
{
    for (double r = 1e-12; r < 1e13; r *= 1.37)
        ASSERT_NEAR(ModGraph::AttenuationDb(r), -10 * std::log10(1 + r), 1e-12) << r;
    EXPECT_EQ(ModGraph::AttenuationDb(0), 0.0);
    EXPECT_TRUE(std::isinf(ModGraph::AttenuationDb(INFINITY)));
}

TEST_F(Curves, TotalIsTheSumOfItsChannelOnly)
{
    SetBand(2, 4.5, 100, 30);
    SetBand(14, -3.0, 5000, 60);
    SetFilter(1, 10000, 1);
    SetBand(20, 10.0, 1000, 24);
    for (int x : {0, 200, 575}) {
        EXPECT_DOUBLE_EQ(Total(0)[x], Band(2)[x] + Band(14)[x] + Filter(1)[x]);
        EXPECT_DOUBLE_EQ(Total(1)[x], Band(20)[x]);
    }
}

TEST_F(Curves, RedrawOnlyWhenShownEnabledAndNotFrozen)
{
    std::vector<int> redrawn;
    ModGraph::SetRedrawHook([&](int channel) { redrawn.push_back(channel); });
    SetBand(20, 1, 100, 1);
    ModGraph::state.FilterEditorShown = true;
    SetBand(20, 1, 100, 1);
    SetFilter(1, 100, 1);
    ModGraph::state.CurveDrawEnabled = false;
    SetBand(1, 1, 100, 1);
    ModGraph::state.CurveDrawEnabled = true;
    ModGraph::state.GraphFrozen = 1;
    SetBand(1, 1, 100, 1);
    ModGraph::state.GraphFrozen = -1;
    SetBand(1, 1, 100, 1);
    EXPECT_EQ(redrawn, (std::vector {1, 0, 0}));
}

TEST_F(Curves, HostileInputsStayInsideTheTables)
{
    SetBand(0, 3.0, 1000, 5000);
    SetBand(1, 3.0, 1000, -7);
    SetBand(2, 3.0, 0, 24);
    for (int x = 0; x < ModGraph::PointCount; ++x)
        ASSERT_TRUE(std::isfinite(Total(0)[x])) << x;
    ModGraph::ComputeBandCurve(30);
    ModGraph::ComputeFilterCurve(-1);
}

TEST_F(Curves, NearestFrequencyTiesGoDown)
{
    EXPECT_EQ(ModGraph::NearestFrequency(1030), 1000);
    EXPECT_EQ(ModGraph::NearestFrequency(1031), 1000);
    EXPECT_EQ(ModGraph::NearestFrequency(1032), 1062);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(1032), 69);
    EXPECT_EQ(ModGraph::NearestFrequency(10), 20);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(10), 0);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(20000), 120);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(25000), 120);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(1337), 73);
}

TEST_F(Curves, LevelRowsRoundHalfToEven)
{
    EXPECT_EQ(ModGraph::LevelToRow(0), 95);
    EXPECT_EQ(ModGraph::LevelToRow(30), 0);
    EXPECT_EQ(ModGraph::LevelToRow(-30), 191);
    EXPECT_EQ(ModGraph::LevelToRow(60), -96);
    EXPECT_EQ(ModGraph::RoundHalfEven(2.5), 2);
    EXPECT_EQ(ModGraph::RoundHalfEven(3.5), 4);
    EXPECT_EQ(ModGraph::RoundHalfEven(-22.5), -22);
    EXPECT_EQ(ModGraph::RoundHalfEven(-INFINITY), -1000000000);
}

} // namespace
