#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "presets/ModPreset.h"

namespace {

TEST(PresetList, NamesAreCentredInEightCharacters)
{
    EXPECT_EQ(ModPreset::CenteredName("AB"), "   AB   ");
    EXPECT_EQ(ModPreset::CenteredName("ABC"), "   ABC  ");
    EXPECT_EQ(ModPreset::CenteredName("ABCDEFG"), " ABCDEFG");
    EXPECT_EQ(ModPreset::CenteredName(""), "        ");
    EXPECT_EQ(ModPreset::CenteredName("ABCDEFGHI"), "ABCDEFGH");
}

TEST(PresetList, FactoryEntriesAndTitles)
{
    ModPreset::Reset();
    ModPreset::FillFactoryEntries();
    EXPECT_TRUE(ModPreset::state.PresetUsed[0] && ModPreset::state.PresetUsed[15]);
    EXPECT_FALSE(ModPreset::state.PresetUsed[16]);
    EXPECT_EQ(ModPreset::PresetTitleFor(3), "P4 - brilli ");
    EXPECT_EQ(ModPreset::PresetTitleFor(20), "P21 - Empty  ");
    ModPreset::Reset();
}

} // namespace
