#include "ModelFixture.h"
#include "model/ImageCheck.h"
#include "model/ValueTables.h"

namespace {

using ImageChecks = ModelTest;

TEST_F(ImageChecks, NamesEveryCodeOutsideItsTable)
{
    std::array<std::uint8_t, 129> image{};
    std::copy(ValueTables::DefaultImage.begin(), ValueTables::DefaultImage.end(), image.begin());
    EXPECT_TRUE(ImageCheck::FindBadCodes(image).empty());

    image[47] = 200;
    image[64 + 55] = 1; // channel B: 301 ms
    image[64 + 56] = 45;
    image[64 + 62] = 6;
    const auto bad = ImageCheck::FindBadCodes(image);
    ASSERT_EQ(bad.size(), 3u);
    EXPECT_EQ(ImageCheck::Describe(bad[0]),
              "byte 47 holds 200 (channel A limiter threshold, 0..150)");
    EXPECT_EQ(ImageCheck::Describe(bad[1]), "byte 119 holds 301 (channel B delay, 0..300)");
    EXPECT_EQ(ImageCheck::Describe(bad[2]), "byte 126 holds 6 (channel B gate attack, 0..5)");
}

TEST_F(ImageChecks, ClampBringsAHostileImageIntoRange)
{
    std::array<std::uint8_t, 129> image;
    image.fill(255);
    const auto bad = ImageCheck::FindBadCodes(image);
    EXPECT_EQ(bad.size(), 2u * (45 + 3 + 4 + 2 + 3));
    EXPECT_EQ(ImageCheck::Describe(bad[0]), "byte 0 holds 255 (channel A band 1 gain, 0..60)");
    EXPECT_EQ(ImageCheck::ClampCodes(image), static_cast<int>(bad.size()));
    EXPECT_TRUE(ImageCheck::FindBadCodes(image).empty());
    EXPECT_EQ(image[0], 60);
    EXPECT_EQ(image[2], 220);
    EXPECT_EQ(image[55], 1);
    EXPECT_EQ(image[56], 44);
    EXPECT_EQ(image[52], 2);
    for (int untouched : {48, 58, 59, 63, 127, 128})
        EXPECT_EQ(image[untouched], 255) << untouched;

    std::array<std::uint8_t, 56> shortImage;
    shortImage.fill(255);
    EXPECT_EQ(ImageCheck::ClampCodes(shortImage), 45 + 3 + 2 + 2); // the delay needs byte 56
}

TEST_F(ImageChecks, AnUncheckedHostileImageReadsNoTablePastItsEnd)
{
    ModFun::state.ParamImage.fill(255);
    ModTxRx::state.DemoMode = true;
    ASSERT_TRUE(ModFun::SendWholeState());
    EXPECT_EQ(ModFun::state.Summary[7], "Thr=21 dB - Rel=350 ms - Atk=50 ms");
    EXPECT_EQ(ModFun::state.Summary[12], "HP: 20000 Hz, -12dB/oct - LP: 20000 Hz, -12dB/oct");
    EXPECT_EQ(ModFun::state.Summary[0], " Disabled ");
    EXPECT_EQ(ModFun::state.BandFreqHz[29], 20000.0);
    for (int x = 0; x < ModGraph::PointCount; ++x)
        ASSERT_FALSE(std::isnan(ModGraph::state.TotalCurve[1][x])) << x;
}

} // namespace
