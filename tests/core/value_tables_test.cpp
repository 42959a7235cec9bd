#include <cmath>

#include <gtest/gtest.h>

#include "model/ValueTables.h"

using namespace ValueTables;

TEST(ValueTables, SpotValuesOfTheNumericTables)
{
    const std::pair<double, double> spots[] = {
        {FreqTable[0], 20},       {FreqTable[68], 1000},    {FreqTable[73], 1337},
        {FreqTable[113], 13375},  {FreqTable[120], 20000},  {QTable[0], 0.4},
        {QTable[11], 0.95},       {QTable[12], 1.0},        {QTable[24], 2.2},
        {QTable[101], 9.9},       {QTable[102], 10},        {QTable[220], 128},
        {AttackTable[49], 50},    {ReleaseTable[175], 200}, {ReleaseTable[176], 205},
        {ReleaseTable[205], 350}, {GateTimeTable[8], 80}};
    for (const auto &[entry, expected] : spots)
        EXPECT_EQ(entry, expected);
    for (std::size_t k = 1; k < FreqTable.size(); ++k)
        EXPECT_LT(FreqTable[k - 1], FreqTable[k]) << k;
}

TEST(ValueTables, FactoryPresetsShareOneLayout)
{
    EXPECT_EQ(&DefaultImage, &FactoryPresetImages[0]);
    EXPECT_EQ(DefaultImage[127], 2);
    EXPECT_EQ(DefaultImage[63], 0);
    const PresetImage &bbc = FactoryPresetImages[13]; // "bbc_mon " with Q 1.0
    const std::uint8_t limiterToGate[] = {4, 75, 150, 24, 68, 0, 0, 0, 120, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(bbc[45 + i], limiterToGate[i]) << i;
    for (int i = 0; i < 63; ++i)
        EXPECT_EQ(bbc[64 + i], bbc[i]) << i;
    EXPECT_EQ(bbc[0], 6);
    EXPECT_EQ(bbc[3 * 14 + 1], 116);
    EXPECT_EQ(bbc[3 * 14 + 2], 12);
    EXPECT_STREQ(FactoryPresetNames[13], "bbc_mon ");
}

TEST(ValueTables, LookupsNeverLeaveTheTable)
{
    EXPECT_EQ(At(FreqTable, 255), 20000);
    EXPECT_EQ(At(FreqTable, -1), 20);
    EXPECT_EQ(NameAt(SlopeNames, 9), "-12dB/oct");
    EXPECT_EQ(CodeOf(std::nan("")), 0);
    EXPECT_EQ(CodeOf(1e300), 0);
}
