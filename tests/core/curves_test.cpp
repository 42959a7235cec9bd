#include "CoreReset.h"
#include <cmath>

#include <gtest/gtest.h>

#include "TableData.h"
#include "graph/ModGraph.h"
#include "model/ModFun.h"
#include "model/ValueTables.h"

namespace {

class Curves : public ::testing::Test
{
protected:
    void SetUp() override { ResetTheCore(); }
    void TearDown() override { ResetTheCore(); }

    static const ModGraph::Curve &Band(int b, double gainDb, double hz, int qCode)
    {
        ModFun::state.BandGainDb[b] = gainDb;
        ModFun::state.BandFreqHz[b] = hz;
        ModFun::state.BandQCode[b] = qCode;
        ModGraph::ComputeBandCurve(b);
        return ModGraph::state.BandCurve[b];
    }
    static const ModGraph::Curve &Filter(int f, double hz, int slope)
    {
        ModFun::state.CrossoverFreqHz[f] = hz;
        ModFun::state.CrossoverSlope[f] = slope;
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
    EXPECT_EQ(Band(0, 15.0, 20, 24)[0], 15.0);
    // 15 dB at 200 Hz with Q 2.2 (Qe = 2.3 / 2.52): 15 / (1 + Qe² (200/f - f/200)²) at 20 Hz
    // (9.9²) and at 20 kHz (99.99²), worked out by hand.
    const ModGraph::Curve &boost = Band(0, 15.0, 200, 24);
    EXPECT_NEAR(boost[0], 0.181501, 1e-6);
    EXPECT_NEAR(boost[575], 0.00180082, 1e-8);
    const ModGraph::Curve up = Band(5, 6.0, 250, 24);
    const ModGraph::Curve &down = Band(5, -6.0, 250, 24);
    for (int x = 0; x < ModGraph::PointCount; ++x)
        ASSERT_EQ(down[x], -up[x]) << x;
}

TEST_F(Curves, EveryDivisorRowHoldsForItsFiveGains)
{
    for (const std::string &row : TableData::Rows("divisor_table.txt")) {
        const std::vector<double> r = TableData::Numbers(row); // lowest, highest |gain|, divisor
        for (long tenths = std::lround(r[0] * 10); tenths <= std::lround(r[1] * 10); ++tenths) {
            EXPECT_EQ(ModGraph::QDivisor(tenths / 10.0), r[2]) << row;
            EXPECT_EQ(ModGraph::QDivisor(-tenths / 10.0), r[2]) << row;
        }
    }
    for (const double gain : {0.0, 0.15, 0.1 + 0.2, 15.1}) // no row holds them exactly
        EXPECT_EQ(ModGraph::QDivisor(gain), 1.0) << gain;
}

TEST_F(Curves, EverySlopeFallsAsItsNameSays)
{
    const std::vector<std::string> rows = TableData::Rows("slopes.txt");
    ASSERT_EQ(rows.size(), ValueTables::SlopeNames.size());
    const int x = 0; // the first point, so that each curve is computed from its start
    for (const std::string &row : rows) {
        const std::vector<double> n = TableData::Numbers(row); // code, levels 0, 1, 2 octaves out
        const int slope = static_cast<int>(n[0]);
        EXPECT_EQ(ValueTables::NameAt(ValueTables::SlopeNames, slope).toStdString(),
                  TableData::Texts(row)[0]);
        for (int filter = 0; filter < ValueTables::FilterCount; ++filter) {
            for (int octaves = 0; octaves <= 2; ++octaves) {
                // A high-pass corner above the point, a low-pass corner below it.
                const double corner =
                    std::ldexp(ModGraph::PointFrequency(x), filter % 2 == 0 ? octaves : -octaves);
                EXPECT_NEAR(Filter(filter, corner, slope)[x], n[1 + octaves], 1e-4)
                    << row << ", filter " << filter << ", octaves " << octaves;
            }
        }
    }
}

TEST_F(Curves, UnknownSlopeKeepsTheCurveAndAttenuationIsExact)
{
    const ModGraph::Curve before = Filter(3, 2000, 2);
    EXPECT_EQ(Filter(3, 50, 3), before);
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
