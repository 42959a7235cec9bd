#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "model/ValueTables.h"

using namespace ValueTables;

TEST(ValueTables, NumericTablesHoldTheirListedValues)
{
    EXPECT_EQ(FreqTable[0], 20);
    EXPECT_EQ(FreqTable[9], 33);
    EXPECT_EQ(FreqTable[68], 1000);
    EXPECT_EQ(FreqTable[73], 1337);
    EXPECT_EQ(FreqTable[113], 13375);
    EXPECT_EQ(FreqTable[120], 20000);
    for (std::size_t k = 1; k < FreqTable.size(); ++k)
        EXPECT_LT(FreqTable[k - 1], FreqTable[k]) << k;

    EXPECT_EQ(QTable[0], 0.4);
    EXPECT_EQ(QTable[1], 0.45);
    EXPECT_EQ(QTable[11], 0.95);
    EXPECT_EQ(QTable[12], 1.0);
    EXPECT_EQ(QTable[13], 1.1);
    EXPECT_EQ(QTable[24], 2.2);
    EXPECT_EQ(QTable[45], 4.3);
    EXPECT_EQ(QTable[101], 9.9);
    EXPECT_EQ(QTable[102], 10);
    EXPECT_EQ(QTable[220], 128);

    EXPECT_EQ(AttackTable[0], 1);
    EXPECT_EQ(AttackTable[49], 50);
    EXPECT_EQ(ReleaseTable[0], 25);
    EXPECT_EQ(ReleaseTable[175], 200);
    EXPECT_EQ(ReleaseTable[176], 205);
    EXPECT_EQ(ReleaseTable[205], 350);
    EXPECT_EQ(GateTimeTable[8], 80);
}

TEST(ValueTables, FactoryPresetsShareOneLayout)
{
    EXPECT_EQ(DefaultImage, FactoryPresetImages[0]);
    EXPECT_EQ(DefaultImage[127], 2);
    EXPECT_EQ(DefaultImage[63], 0);
    const PresetImage &bbc = FactoryPresetImages[2];
    EXPECT_EQ(bbc[0], 6);
    EXPECT_EQ(bbc[42], 35);
    const std::uint8_t tail[] = {4, 75, 150, 24, 68, 0, 0, 0, 120, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(bbc[45 + i], tail[i]) << i;
    for (int i = 0; i < 63; ++i)
        EXPECT_EQ(bbc[64 + i], bbc[i]) << i;
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(bbc[3 * k + 1], 4 + 8 * k);
        EXPECT_EQ(bbc[3 * k + 2], 24);
        EXPECT_EQ(FactoryPresetImages[13][3 * k + 2], 12);
        EXPECT_EQ(FactoryPresetImages[13][3 * k], bbc[3 * k]);
    }
    EXPECT_EQ(FactoryPresetImages[15][3 * 13], 43);
    for (const char *name : FactoryPresetNames)
        EXPECT_EQ(std::strlen(name), 8u) << name;
    EXPECT_STREQ(FactoryPresetNames[6], "Percuss.");
}

TEST(ValueTables, OffsetTablesPlaceEveryBlock)
{
    EXPECT_EQ(EqBandOffsets[0], 0);
    EXPECT_EQ(EqBandOffsets[14], 42);
    EXPECT_EQ(EqBandOffsets[15], 64);
    EXPECT_EQ(EqBandOffsets[29], 106);
    EXPECT_EQ(CrossoverOffsets[3], 117);
    EXPECT_EQ(FlagsByteIndex, 127);
}

TEST(ValueTables, LookupsNeverLeaveTheTable)
{
    EXPECT_EQ(At(FreqTable, 255), 20000);
    EXPECT_EQ(At(FreqTable, -1), 20);
    EXPECT_EQ(NameAt(SlopeNames, 1), "-6dB/oct");
    EXPECT_EQ(NameAt(SlopeNames, 9), "-12dB/oct");
    EXPECT_EQ(CodeOf(24.0), 24);
    EXPECT_EQ(CodeOf(std::nan("")), 0);
    EXPECT_EQ(CodeOf(1e300), 0);
}
