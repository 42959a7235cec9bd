#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "editors/Meters.h"

namespace {

using Meters::Colour;
constexpr Colour O = Colour::Off;
constexpr Colour G = Colour::Green;
constexpr Colour A = Colour::Orange;
constexpr Colour R = Colour::Red;
constexpr Colour Y = Colour::Yellow;

struct DecodeRow
{
    const char *name;
    std::array<std::uint8_t, 6> reply; // input A, B, output A, B, limiter A, B
    std::array<double, 2> mute;
    std::array<int, 6> segments;
    std::array<double, 2> limiterGain;
};

class MetersTest : public ::testing::Test
{
protected:
    void SetUp() override { Meters::Reset(); }
    void TearDown() override { Meters::Reset(); }
};

TEST_F(MetersTest, ReplyDecodesIntoSegments)
{
    // Input byte 91 reads 0.0 dB, 93 reads 0.1 dB; output byte 97 is -2.0 dB and limiter byte 90
    // is -3.0 dB, so the output shows -5.0 dB.
    const DecodeRow rows[] = {
        {"silence", {0, 0, 0, 0, 0, 0}, {0, 0}, {0, 0, 0, 0, 6, 6}, {0, 0}},
        {"0 dB and clip", {91, 93, 0, 0, 127, 127}, {0, 0}, {6, 7, 0, 0, 6, 6}, {0, 0}},
        {"limiter on output", {0, 0, 97, 97, 90, 127}, {0, 0}, {0, 0, 5, 6, 4, 6}, {-3.0, 0}},
        {"muted: dark, no reduction",
         {91, 91, 122, 122, 90, 90},
         {1.0, 0},
         {6, 6, 0, 6, 6, 4},
         {0, -3.0}},
        {"far bytes", {255, 20, 255, 40, 255, 1}, {0, 0}, {7, 2, 7, 0, 6, 0}, {6.0, -42.1}},
    };
    for (const DecodeRow &row : rows) {
        Meters::DecodeReply(row.reply, row.mute);
        for (int bar = 0; bar < Meters::BarCount; ++bar)
            EXPECT_EQ(Meters::state.MeterSegments[bar], row.segments[bar])
                << row.name << " bar " << bar;
        EXPECT_DOUBLE_EQ(Meters::state.LimiterGain[0], row.limiterGain[0]) << row.name;
        EXPECT_DOUBLE_EQ(Meters::state.LimiterGain[1], row.limiterGain[1]) << row.name;
    }
}

TEST_F(MetersTest, SilenceAndAMutedOutputRead90DbDown)
{
    Meters::DecodeReply({0, 0, 97, 97, 0, 0}, {0, 1.0});
    EXPECT_EQ(Meters::state.LevelDb, (std::array<double, 4>{-90, -90, -2, -90}));
}

using MeterPoll = ModelTest;

TEST_F(MeterPoll, AfterAReopenTheBarsKeepWhatTheyShowed)
{
    ModTxRx::state.ComPort = 4;
    const auto shown = Meters::state.LevelDb;
    serial.QueueFailure(); // the poll goes unanswered; the identity query after the reopen is not
    serial.responder = [](const FrameBuffer &request) {
        return ReplyFrame(request[2], 90, 90, 0, 0, 0, 0x10);
    };
    EXPECT_EQ(Meters::Poll({0, 0}), ModTxRx::LinkOutcome::LinkUp);
    EXPECT_EQ(Meters::state.LevelDb, shown);
}

TEST_F(MetersTest, ThresholdTablesHoldAtTheirEdges)
{
    const std::pair<double, int> levels[] = {{0.1, 7},   {0.0, 6},   {-3.1, 6},  {-3.2, 5},
                                             {-6.1, 5},  {-9.1, 4},  {-12.1, 3}, {-15.1, 2},
                                             {-20.1, 1}, {-20.2, 0}, {-90, 0}};
    for (const auto &[db, segments] : levels)
        EXPECT_EQ(Meters::LevelToSegments(db), segments) << db;
    const std::pair<double, int> reductions[] = {{0, 6},     {-0.1, 6},  {-0.2, 5},
                                                 {-2.9, 5},  {-3.0, 4},  {-8.9, 3},
                                                 {-11.9, 2}, {-14.9, 1}, {-15.0, 0}};
    for (const auto &[db, segments] : reductions)
        EXPECT_EQ(Meters::ReductionToSegments(db), segments) << db;
}

TEST_F(MetersTest, BarsAreColouredBottomUp)
{
    using Bar = Meters::BarColours;
    EXPECT_EQ(Meters::LevelBarColours(7), (Bar{G, G, G, G, G, A, R}));
    EXPECT_EQ(Meters::LevelBarColours(6), (Bar{G, G, G, G, G, A, O}));
    EXPECT_EQ(Meters::LevelBarColours(2), (Bar{G, G, O, O, O, O, O}));
    EXPECT_EQ(Meters::LevelBarColours(0), (Bar{O, O, O, O, O, O, O}));
    EXPECT_EQ(Meters::LimiterBarColours(6), (Bar{O, O, O, O, O, O, R})) << "no reduction";
    EXPECT_EQ(Meters::LimiterBarColours(4), (Bar{O, O, O, O, G, G, R})) << "-3 dB";
    EXPECT_EQ(Meters::LimiterBarColours(0), (Bar{G, G, G, G, G, G, R}));
    // The output bar shows its limiter working in its top segment, unless the output clips.
    EXPECT_EQ(Meters::OutputBarColours(3, 4), (Bar{G, G, G, O, O, O, Y}));
    EXPECT_EQ(Meters::OutputBarColours(7, 4), (Bar{G, G, G, G, G, A, R}));
    EXPECT_EQ(Meters::OutputBarColours(3, 6), (Bar{G, G, G, O, O, O, O}));
}

} // namespace
