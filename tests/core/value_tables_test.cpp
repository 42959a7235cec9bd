#include <cmath>

#include <gtest/gtest.h>

#include "TableData.h"
#include "model/ValueTables.h"

using namespace ValueTables;

namespace {

struct Table
{
    const char *name;
    const char *file;
    std::vector<double> program;
    friend void PrintTo(const Table &table, std::ostream *out) { *out << table.name; }
};

template<class Entry, std::size_t N> std::vector<double> Doubles(const std::array<Entry, N> &table)
{
    return {table.begin(), table.end()};
}

class ValueTable : public ::testing::TestWithParam<Table>
{
};

TEST_P(ValueTable, EveryEntryAsWrittenDown)
{
    const Table &table = GetParam();
    const std::vector<double> expected = TableData::Entries(table.file, table.name);
    ASSERT_EQ(table.program.size(), expected.size());
    for (std::size_t code = 0; code < expected.size(); ++code)
        EXPECT_EQ(table.program[code], expected[code]) << "code " << code;
}

INSTANTIATE_TEST_SUITE_P(
    All, ValueTable,
    ::testing::Values(Table{"FreqTable", "freq_table.txt", Doubles(FreqTable)},
                      Table{"QTable", "q_table.txt", Doubles(QTable)},
                      Table{"AttackTable", "attack_table.txt", Doubles(AttackTable)},
                      Table{"ReleaseTable", "release_table.txt", Doubles(ReleaseTable)},
                      Table{"GateTimeTable", "gate_time_table.txt", Doubles(GateTimeTable)},
                      Table{"EqBandOffsets", "block_offsets.txt", Doubles(EqBandOffsets)},
                      Table{"LimiterOffsets", "block_offsets.txt", Doubles(LimiterOffsets)},
                      Table{"CrossoverOffsets", "block_offsets.txt", Doubles(CrossoverOffsets)},
                      Table{"DelayOffsets", "block_offsets.txt", Doubles(DelayOffsets)},
                      Table{"MuteOffsets", "block_offsets.txt", Doubles(MuteOffsets)},
                      Table{"GateOffsets", "block_offsets.txt", Doubles(GateOffsets)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ValueTables, FactoryPresetsAsWrittenDown)
{
    const std::vector<std::string> rows = TableData::Rows("factory_images.txt");
    ASSERT_EQ(rows.size(), FactoryPresetImages.size());
    for (std::size_t n = 0; n < rows.size(); ++n) {
        EXPECT_EQ(TableData::Texts(rows[n]), std::vector<std::string>{FactoryPresetNames[n]}) << n;
        EXPECT_EQ(Doubles(FactoryPresetImages[n]), TableData::Numbers(rows[n]))
            << "preset " << n + 1;
    }
    EXPECT_EQ(Doubles(DefaultImage), TableData::Numbers(rows[0]));
}

TEST(ValueTables, LookupsNeverLeaveTheTable)
{
    EXPECT_EQ(At(FreqTable, -1), 20);
    EXPECT_EQ(CodeOf(std::nan("")), 0);
    EXPECT_EQ(CodeOf(1e300), 0);
}

} // namespace
