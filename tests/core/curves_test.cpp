#include <cmath>

#include <gtest/gtest.h>

#include "graph/ModGraph.h"

namespace {

class Curves : public ::testing::Test
{
protected:
    void SetUp() override { ModGraph::Reset(); }
    void TearDown() override { ModGraph::Reset(); }

    static const ModGraph::Curve &Band(int b, double gainDb, double hz, int qCode)
    {
        ModGraph::state.BandGainDb[b] = gainDb;
        ModGraph::state.BandFreqHz[b] = hz;
        ModGraph::state.BandQCode[b] = qCode;
        ModGraph::ComputeBandCurve(b);
        return ModGraph::state.BandCurve[b];
    }
    static const ModGraph::Curve &Filter(int f, double hz, int slope)
    {
        ModGraph::state.CrossoverFreqHz[f] = hz;
        ModGraph::state.CrossoverSlope[f] = slope;
        ModGraph::ComputeFilterCurve(f);
        return ModGraph::state.FilterCurve[f];
    }
    static const ModGraph::Curve &Total(int ch) { return ModGraph::state.TotalCurve[ch]; }
};

TEST_F(Curves, GridAndPictureMapping)
{
    EXPECT_EQ(ModGraph::PointFrequency(0), 20.0);
    EXPECT_NEAR(ModGraph::PointFrequency(575), 20000.0, 1e-9);
    EXPECT_NEAR(ModGraph::FrequencyToColumn(1000), 325.6, 0.05);
    EXPECT_EQ(ModGraph::LevelToRow(0), 95);
    EXPECT_EQ(ModGraph::LevelToRow(30), 0);
    EXPECT_EQ(ModGraph::LevelToRow(-30), 191);
    EXPECT_EQ(ModGraph::RoundHalfEven(2.5), 2);
    EXPECT_EQ(ModGraph::RoundHalfEven(-21.5), -22);
    EXPECT_EQ(ModGraph::RoundHalfEven(-INFINITY), -1000000000);
}

TEST_F(Curves, BellPeaksAtItsCentreAndCutMirrorsBoost)
{
    const ModGraph::Curve &flat = Band(3, 0.0, 1337, 200);
    EXPECT_TRUE(std::all_of(flat.begin(), flat.end(), [](double v) { return v == 0; }));
    const ModGraph::Curve &boost = Band(0, 15.0, 20, 24);
    EXPECT_EQ(boost[0], 15.0);
    const double qe = (2.2 + 0.1) / 2.52;
    for (int x : {1, 300, 575}) {
        const double f = 20 * std::pow(10.0, x / ModGraph::state.GraphXScale);
        const double d = 20 / f - f / 20;
        EXPECT_NEAR(boost[x], 15.0 / (1 + qe * qe * d * d), 1e-12) << x;
    }
    const ModGraph::Curve up = Band(5, 6.0, 250, 24);
    const ModGraph::Curve &down = Band(5, -6.0, 250, 24);
    for (int x = 0; x < ModGraph::PointCount; ++x)
        ASSERT_EQ(down[x], -up[x]) << x;
}

TEST_F(Curves, DivisorFollowsTheGainInTenthsOfADecibel)
{
    const std::pair<double, double> rows[] = {
        {0.0, 1.0},   {0.1, 1.05}, {-0.5, 1.05}, {std::floor(3.7 * 10) / 10, 1.4},
        {8.3, 1.83},  {-6, 1.6},   {14.5, 2.47}, {14.6, 2.52},
        {15.0, 2.52}, {0.15, 1.0}, {15.1, 1.0}};
    for (const auto &[gain, divisor] : rows)
        EXPECT_EQ(ModGraph::QDivisor(gain), divisor) << gain;
}

TEST_F(Curves, ButterworthSections)
{
    EXPECT_NEAR(Filter(0, 100, 1)[0], -14.15, 0.005);
    EXPECT_NEAR(Filter(0, ModGraph::PointFrequency(134), 1)[134], -10 * std::log10(2.0), 1e-12);
    const ModGraph::Curve &lowPass = Filter(3, 2000, 2);
    for (int x = 0; x < ModGraph::PointCount; x += 5) {
        const double f = ModGraph::PointFrequency(x);
        const double h = std::pow(2000, 2) / std::sqrt(std::pow(f, 4) + std::pow(2000, 4));
        ASSERT_NEAR(lowPass[x], 20 * std::log10(h), 1e-10) << x;
    }
    const ModGraph::Curve before = lowPass;
    EXPECT_EQ(Filter(3, 50, 3), before); // an unknown slope keeps the old curve
    EXPECT_TRUE(std::all_of(Filter(1, 50, 0).begin(), Filter(1, 50, 0).end(),
                            [](double v) { return v == 0; }));
    for (double r = 1e-12; r < 1e13; r *= 1.37)
        ASSERT_NEAR(ModGraph::AttenuationDb(r), -10 * std::log10(1 + r), 1e-12) << r;
}

TEST_F(Curves, TotalIsTheSumOfItsChannelOnly)
{
    Band(2, 4.5, 100, 30);
    Band(14, -3.0, 5000, 60);
    Filter(1, 10000, 1);
    Band(20, 10.0, 1000, 24);
    Band(21, 3.0, 0, -7); // hostile inputs stay finite and inside the tables
    Band(22, 3.0, 1000, 5000);
    for (int x : {0, 200, 575}) {
        EXPECT_DOUBLE_EQ(Total(0)[x],
                         ModGraph::state.BandCurve[2][x] + ModGraph::state.BandCurve[14][x] +
                             ModGraph::state.FilterCurve[1][x]);
        EXPECT_TRUE(std::isfinite(Total(1)[x]));
    }
}

TEST_F(Curves, RedrawOnlyWhenShownEnabledAndNotFrozen)
{
    std::vector<int> redrawn;
    ModGraph::SetRedrawHook([&](int channel) { redrawn.push_back(channel); });
    Band(20, 1, 100, 1);
    ModGraph::state.FilterEditorShown = true;
    Band(20, 1, 100, 1);
    Filter(1, 100, 1);
    ModGraph::state.CurveDrawEnabled = false;
    Band(1, 1, 100, 1);
    ModGraph::state.CurveDrawEnabled = true;
    ModGraph::state.GraphFrozen = 1;
    Band(1, 1, 100, 1);
    ModGraph::state.GraphFrozen = -1;
    Band(1, 1, 100, 1);
    EXPECT_EQ(redrawn, (std::vector{1, 0, 0}));
}

TEST_F(Curves, NearestFrequencyTiesGoDown)
{
    EXPECT_EQ(ModGraph::NearestFrequency(1030), 1000);
    EXPECT_EQ(ModGraph::NearestFrequency(1031), 1000);
    EXPECT_EQ(ModGraph::NearestFrequency(1032), 1062);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(1032), 69);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(10), 0);
    EXPECT_EQ(ModGraph::NearestFrequencyIndex(25000), 120);
}

} // namespace
