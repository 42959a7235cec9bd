// The virtual unit's frame parser, memory and command model, checked without a pty. The unit is a
// separate program that shares no code with ours, so its model sources are compiled in here.
#include <gtest/gtest.h>

#include <cmath>

#include "TableData.h"

#include "../../emulator/FactoryPresets.cpp"
#include "../../emulator/Faults.cpp"
#include "../../emulator/Frame.cpp"
#include "../../emulator/Meters.cpp"
#include "../../emulator/UnitMemory.cpp"
#include "../../emulator/UnitModel.cpp"

namespace {

using namespace Emulator;

Frame Request(Byte command, std::array<Byte, 6> data = {})
{
    return {FrameStart, FrameDevice, command, data[0], data[1],
            data[2],    data[3],     data[4], data[5], FrameEnd};
}

/// Reply data bytes r0..r5.
std::array<Byte, 6> ReplyBytes(const Frame &reply)
{
    return {reply[3], reply[4], reply[5], reply[6], reply[7], reply[8]};
}

struct ScanRow
{
    const char *name;
    std::vector<Bytes> pushes;
    std::vector<std::string> expected; // "frame <hex>" or "garbage <hex>"
};

std::vector<std::string> Scan(const std::vector<Bytes> &pushes)
{
    FrameScanner scanner;
    std::vector<std::string> seen;
    for (const Bytes &bytes : pushes) {
        for (const ScanEvent &event : scanner.Push(bytes)) {
            seen.push_back(event.kind == ScanEvent::Kind::Frame
                               ? "frame " + ToHex(event.frame)
                               : "garbage " + ToHex(event.garbage));
        }
    }
    return seen;
}

TEST(UnitEmulator, ScannerResynchronisesOnFrameStart)
{
    const Bytes identity{0xF0, 0x10, 0x25, 0, 0, 0, 0, 0, 0, 0xF7};
    const std::string identityHex = "frame F0 10 25 00 00 00 00 00 00 F7";
    const std::vector<ScanRow> rows{
        {"noise before a frame",
         {{0x01, 0x02, 0xF0, 0x10, 0x25, 0, 0, 0, 0, 0, 0, 0xF7}},
         {"garbage 01 02", identityHex}},
        {"frame split over two reads",
         {Bytes(identity.begin(), identity.begin() + 4),
          Bytes(identity.begin() + 4, identity.end())},
         {identityHex}},
        {"cut-off frame followed by a whole one",
         {{0xF0, 0x10, 0x25, 0x00, 0xF0, 0x10, 0x25, 0, 0, 0, 0, 0, 0, 0xF7}},
         {"garbage F0 10 25 00", identityHex}},
        {"F0 inside the data of a good frame",
         {{0xF0, 0x10, 0x18, 0x01, 0x20, 0xF0, 0xF0, 0xF0, 0xF0, 0xF7}},
         {"frame F0 10 18 01 20 F0 F0 F0 F0 F7"}},
        {"ten bytes without an end byte, no other start",
         {{0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
         {"garbage F0 01 02 03 04 05 06 07 08 09"}},
        {"an unfinished frame waits", {Bytes(identity.begin(), identity.begin() + 9)}, {}},
    };
    for (const ScanRow &row : rows)
        EXPECT_EQ(Scan(row.pushes), row.expected) << row.name;
}

TEST(UnitEmulator, MemoryCommandsAndPasswordWrite)
{
    UnitModel unit(Firmware{2, 7});

    const Frame identity = unit.Answer(Request(Command::Identity), 0);
    EXPECT_EQ(ToHex(identity), "F0 10 25 02 07 00 00 00 10 F7");

    // A fresh unit: password "0000", unlocked, preset 1.
    EXPECT_EQ(ReplyBytes(unit.Answer(Request(Command::ReadFour, {0x00, 0x1A}), 0)),
              (std::array<Byte, 6>{0x00, 0x1A, 0x30, 0x30, 0x30, 0x30}));
    EXPECT_EQ(unit.Answer(Request(Command::ReadByte, {0x00, 0x10}), 0)[6], 0);
    EXPECT_FALSE(unit.TakeMemoryWritten());

    // The password goes in through 0x001E and reads back at 0x001A.
    unit.Answer(Request(Command::WriteByte, {0x00, 0x1E, 'A', 'B', 'C', 'D'}), 0);
    EXPECT_TRUE(unit.TakeMemoryWritten());
    EXPECT_FALSE(unit.TakeMemoryWritten());
    EXPECT_EQ(ReplyBytes(unit.Answer(Request(Command::ReadFour, {0x00, 0x1A}), 0)),
              (std::array<Byte, 6>{0x00, 0x1A, 'A', 'B', 'C', 'D'}));
    EXPECT_EQ(unit.NonVolatile()[PasswordWriteAddress], 0) << "0x1E itself is not written";

    // Any other one-byte write stores d3.
    unit.Answer(Request(Command::WriteByte, {0x00, 0x10, 0x00, 0xC0}), 0);
    EXPECT_EQ(unit.Answer(Request(Command::ReadByte, {0x00, 0x10}), 0)[6], 0xC0);

    // Writes across the end of memory keep what fits; reads beyond it give 0.
    unit.Answer(Request(Command::WriteFour, {0x0F, 0xFE, 1, 2, 3, 4}), 0);
    EXPECT_EQ(ReplyBytes(unit.Answer(Request(Command::ReadFour, {0x0F, 0xFE}), 0)),
              (std::array<Byte, 6>{0x0F, 0xFE, 1, 2, 0, 0}));
    unit.Answer(Request(Command::WriteByte, {0xFF, 0xFF, 0, 9}), 0);
    EXPECT_EQ(unit.Answer(Request(Command::ReadByte, {0xFF, 0xFF}), 0)[6], 0);
}

TEST(UnitEmulator, FactoryPresetsAsWrittenDown)
{
    const std::vector<std::string> rows = TableData::Rows("factory_images.txt");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(FactoryPresetCount));
    for (int n = 0; n < FactoryPresetCount; ++n) {
        const Setting preset = FactoryPreset(n);
        EXPECT_EQ(std::vector<double>(preset.begin(), preset.end()), TableData::Numbers(rows[n]))
            << "preset " << n + 1;
    }
}

TEST(UnitEmulator, RecallOfFactoryAndUserPresets)
{
    UnitModel unit(Firmware{});
    auto readSetting = [&unit] {
        Setting image{};
        for (int offset = 0; offset < SettingSize; offset += 4) {
            const Frame reply = unit.Answer(Request(Command::ReadSetting, {0, Byte(offset)}), 0);
            std::copy_n(reply.begin() + 5, 4, image.begin() + offset);
        }
        return image;
    };
    EXPECT_EQ(readSetting(), FactoryPreset(0));
    EXPECT_EQ(unit.Answer(Request(Command::RecallPreset, {13}), 0)[3], 13);
    EXPECT_EQ(readSetting(), FactoryPreset(13));

    // An empty user place and an index past the last preset answer 0xFF and change nothing.
    for (const Byte preset : {Byte(17), Byte(32), Byte(0xFF)}) {
        EXPECT_EQ(unit.Answer(Request(Command::RecallPreset, {preset}), 0)[3], EmptyPreset);
        EXPECT_EQ(readSetting(), FactoryPreset(13));
    }
    EXPECT_EQ(unit.Answer(Request(Command::ReadByte, {0x00, 0x13}), 0)[6], 13);

    // Store place 15 (preset 32) the way the program does, then recall it.
    const int image = 15 * 128 + 288;
    for (int offset = 0; offset < SettingSize; offset += 4) {
        const int address = image + offset;
        unit.Answer(Request(Command::WriteFour,
                            {Byte(address >> 8), Byte(address), Byte(offset), Byte(offset + 1),
                             Byte(offset + 2), Byte(offset + 3)}),
                    0);
    }
    unit.Answer(Request(Command::WriteByte, {0x00, 0x30 + 15, 0x00, UsedMark}), 0);
    EXPECT_EQ(ToHex(unit.Answer(Request(Command::EndStore, {15, 0, 0, 0, 0, 0x55}), 0)),
              "F0 10 3B 0F 00 00 00 00 55 F7");
    EXPECT_EQ(unit.Answer(Request(Command::RecallPreset, {31}), 0)[3], 31);
    const Setting user = readSetting();
    for (int i = 0; i < SettingSize; ++i)
        ASSERT_EQ(user[i], i);
    EXPECT_EQ(unit.NonVolatile()[CurrentPresetAddress], 31);
}

TEST(UnitEmulator, ParameterFramesFollowTheLink)
{
    UnitModel unit(Firmware{});
    unit.Answer(Request(Command::Link, {0, 0, 0, 0, 0, 0}), 0);
    ASSERT_EQ(unit.Current()[FlagsByte], 0);

    unit.Answer(Request(Command::EqBand, {1, 2, 0, 40, 50, 60}), 0); // B band 3
    unit.Answer(Request(Command::EqType, {0, 0, 0, 0, 0, 1}), 0);
    EXPECT_EQ(unit.Current()[6], 30) << "channel A untouched while unlinked";

    // Frames the unit cannot place are echoed and change nothing.
    const Setting before = unit.Current();
    for (const Frame &refused :
         {Request(Command::EqBand, {2, 0, 0, 1, 1, 1}),
          Request(Command::EqBand, {0, 15, 0, 1, 1, 1}),
          Request(Command::Crossover, {0, 2, 0, 0, 1, 1}),
          Request(Command::Mute, {7, 0, 0, 0, 0, 1}), Request(0x77, {1, 2, 3, 4, 5, 6})}) {
        EXPECT_EQ(unit.Answer(refused, 0), refused);
    }
    EXPECT_EQ(unit.Current(), before);

    // Linking copies A onto B and keeps the flags; from then on one frame sets both channels.
    unit.Answer(Request(Command::Link, {0, 0, 0, 0, 0, 1}), 0);
    EXPECT_EQ(unit.Current()[FlagsByte], FlagGraphicEq | FlagLinked);
    EXPECT_TRUE(std::equal(unit.Current().begin(), unit.Current().begin() + ChannelParameterBytes,
                           unit.Current().begin() + ChannelSize));
    unit.Answer(Request(Command::Mute, {1, 0, 0, 0, 0, 1}), 0);
    EXPECT_EQ(unit.Current()[MuteByte], 1);
    EXPECT_EQ(unit.Current()[ChannelSize + MuteByte], 1);
}

TEST(UnitEmulator, UploadReplacesTheSettingOnlyWhenApplied)
{
    UnitModel unit(Firmware{});
    unit.Answer(Request(Command::UploadSetting, {0, 0, 9, 9, 9, 9}), 0);
    unit.Answer(Request(Command::UploadSetting, {0, 126, 1, 2, 3, 4}), 0); // runs past the end
    EXPECT_EQ(unit.Current(), FactoryPreset(0));
    unit.Answer(Request(Command::ApplyUpload), 0);
    Setting expected = FactoryPreset(0);
    std::fill_n(expected.begin(), 4, 9);
    expected[126] = 1, expected[127] = 2;
    EXPECT_EQ(unit.Current(), expected);

    // A second apply without a new upload changes nothing.
    unit.Answer(Request(Command::Mute, {0, 0, 0, 0, 0, 1}), 0);
    unit.Answer(Request(Command::ApplyUpload), 0);
    EXPECT_EQ(unit.Current()[MuteByte], 1);
}

TEST(UnitEmulator, MetersMoveAndHonourMuteAndLimiter)
{
    Setting setting = FactoryPreset(0);
    setting[ChannelSize + MuteByte] = 1;
    setting[LimiterThreshold] = 100; // -10 dB
    int limited = 0;
    std::set<Byte> levels;
    for (int i = 0; i < 3000; ++i) {
        const double seconds = i * 0.1;
        const MeterBytes meters = ReadMeters(setting, seconds);
        const double input = MusicLevelDb(0, seconds);
        levels.insert(meters[0]);
        // 0 dB is byte 91 on the input, 122 on the output, which reads before the limiter.
        ASSERT_NEAR(meters[0], InputZeroDb * std::pow(10.0, input / 20), 0.51) << seconds;
        ASSERT_NEAR(meters[2], OutputZeroDb * std::pow(10.0, input / 20), 0.51) << seconds;
        // Channel B is muted: its input still moves, its output is dark, its limiter idle.
        ASSERT_TRUE(meters[1] > 0 && meters[3] == 0 && meters[5] == 127) << seconds;
        // Channel A's limiter works only on what goes past -10 dB.
        ASSERT_TRUE(meters[4] == 127 || input > -10.1) << seconds;
        limited += meters[4] < 127;
    }
    EXPECT_GT(limited, 150);
    EXPECT_GT(levels.size(), 20u) << "the levels move";
}

TEST(UnitEmulator, FaultsCountReceivedFrames)
{
    FaultOptions options;
    options.dropEvery = 3, options.partialEvery = 2, options.hangUpAfter = 5;
    options.dropCommands = {0x19};
    FaultPlan plan(options);
    std::string drops, partials, hangUps;
    for (int frame = 1; frame <= 6; ++frame) {
        const FaultAction action = plan.ForFrame(frame == 1 ? 0x19 : 0x21, frame == 4);
        drops += action.drop ? 'D' : '.';
        partials += action.partial ? 'P' : '.';
        hangUps += action.hangUp ? 'H' : '.';
    }
    EXPECT_EQ(drops, "D.DD.D");
    EXPECT_EQ(partials, ".P.P.P");
    EXPECT_EQ(hangUps, "....H.");

    const Frame reply = Request(0x21, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(ToHex(ShapeReply(reply, {})), ToHex(reply));
    FaultAction spoiled;
    spoiled.garbage = spoiled.corrupt = true;
    EXPECT_EQ(ToHex(ShapeReply(reply, spoiled)), "00 55 AA F0 10 21 01 02 03 04 05 06 A5");
    FaultAction cut;
    cut.partial = cut.corrupt = true;
    EXPECT_EQ(ToHex(ShapeReply(reply, cut)), "F0 10 21 01 02");
}

} // namespace
