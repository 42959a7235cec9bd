#pragma once

#include <array>
#include <cstdint>

/// What the program says to the unit and where the unit keeps things: the frame, the command
/// bytes, the time-outs, the memory places and the marks. Every part of the program names these
/// facts from here. Depends on nothing; the virtual unit keeps its own definitions.
namespace UnitProtocol {

// The frame, the same both ways: F0 10 cmd d0..d5 F7.
inline constexpr int FrameSize = 10;
inline constexpr std::uint8_t FrameStart = 0xF0;
/// The unit's device number: byte 1 of every frame, and byte 8 of its identity reply.
inline constexpr std::uint8_t DeviceNumber = 0x10;
inline constexpr std::uint8_t FrameEnd = 0xF7;
inline constexpr int BaudRate = 9600;

// Command bytes.
/// The first frame of the load after connecting.
inline constexpr std::uint8_t StartLoadCommand = 0x00;
inline constexpr std::uint8_t DelayCommand = 0x02;
inline constexpr std::uint8_t CrossoverCommand = 0x04;
inline constexpr std::uint8_t EqBandCommand = 0x05;
inline constexpr std::uint8_t LimiterCommand = 0x07;
inline constexpr std::uint8_t MuteCommand = 0x0A;
/// Releases the unit before the port closes.
inline constexpr std::uint8_t ReleaseCommand = 0x0F;
/// Reads the byte at address d0 d1.
inline constexpr std::uint8_t ReadByteCommand = 0x10;
/// Writes unit memory at address d0 d1: a single byte goes in d3 (the system flags byte, a used
/// mark), the password's four codes in d2..d5.
inline constexpr std::uint8_t WriteMemoryCommand = 0x11;
inline constexpr std::uint8_t LinkCommand = 0x12;
/// d5 = 1 graphic equaliser, 0 parametric.
inline constexpr std::uint8_t EqTypeCommand = 0x13;
inline constexpr std::uint8_t GateCommand = 0x14;
/// Reads four bytes of unit memory at address d0 d1.
inline constexpr std::uint8_t ReadFourCommand = 0x17;
/// Writes d2..d5 into unit memory at address d0 d1.
inline constexpr std::uint8_t WriteFourCommand = 0x18;
/// Reads four bytes of the current setting image at offset d0 d1.
inline constexpr std::uint8_t ReadImageCommand = 0x19;
/// Writes d2..d5 into the current setting image at offset d0 d1; `ApplyImageCommand` ends it.
inline constexpr std::uint8_t WriteImageCommand = 0x1A;
/// Recalls preset d0 (0..31).
inline constexpr std::uint8_t RecallCommand = 0x1B;
inline constexpr std::uint8_t MeterPollCommand = 0x21;
inline constexpr std::uint8_t IdentityCommand = 0x25;
inline constexpr std::uint8_t ApplyImageCommand = 0x2B;
/// Nothing sends it, yet the unit is known to answer it slowly.
inline constexpr std::uint8_t SlowUnusedCommand = 0x3A;
/// Ends a preset store: d0 = the user place, d5 = `UsedMark`.
inline constexpr std::uint8_t EndStoreCommand = 0x3B;

// How long the unit may take to answer, and the reply mode the serial component is given.
struct ExchangeClass
{
    int timeoutMs;
    int replyMode;
};
/// Memory, preset, release and identity commands; not the image reads and writes nor the end of
/// a store, which get the ordinary time-out.
inline constexpr std::array SlowCommands{
    StartLoadCommand, ReleaseCommand, ReadByteCommand, WriteMemoryCommand, ReadFourCommand,
    WriteFourCommand, RecallCommand,  IdentityCommand, ApplyImageCommand,  SlowUnusedCommand,
};
inline constexpr ExchangeClass SlowExchange{10000, 1};
inline constexpr ExchangeClass MeterPollExchange{2000, 2};
/// Every other command.
inline constexpr ExchangeClass OrdinaryExchange{3000, 1};
/// The identity query of the port search and of a reopen: a unit answers at once.
inline constexpr ExchangeClass IdentityExchange{100, 0};

// Where a reply's values stand (its data bytes are 3..8).
/// The value of a one-byte read.
inline constexpr int ByteReadAt = 6;
/// The first of the four bytes of a memory or image read (bytes 5..8).
inline constexpr int FourReadAt = 5;
/// Memory and image frames carry four bytes: written from d2..d5, read back from bytes 5..8.
inline constexpr int BytesPerFrame = 4;
/// The recall's answer: `EmptyPresetMark` when the place holds nothing.
inline constexpr int RecallAnswerAt = 3;
/// The identity reply carries `DeviceNumber` here; any other byte means no unit.
inline constexpr int IdentityDeviceAt = 8;

// Unit memory, 16-bit addresses sent most significant byte first in d0 d1.
/// The system flags byte: the lock, and the delays shown as distance.
inline constexpr int SystemFlagsAddress = 0x0010;
/// The number 0..31 of the preset last recalled or stored.
inline constexpr int CurrentPresetAddress = 0x0013;
/// The password's four character codes, as they are read.
inline constexpr int PasswordAddress = 0x001A;
/// A new password is written here, not at `PasswordAddress`: the unit moves it there itself.
inline constexpr int PasswordWriteAddress = 0x001E;
/// One mark per user place, place p at 0x0030 + p: `UsedMark` when the place holds a preset.
inline constexpr int UsedMarksAddress = 0x0030;
/// The image of user place p starts at p * 128 + 288.
inline constexpr int PlaceImagesAddress = 288;
/// The 8-character name of user place p starts at p * 8 + 3872.
inline constexpr int PlaceNamesAddress = 3872;

/// A used place's mark ("U"); also d5 of `EndStoreCommand`.
inline constexpr std::uint8_t UsedMark = 0x55;
/// The recall's answer for a place that holds nothing.
inline constexpr std::uint8_t EmptyPresetMark = 0xFF;

} // namespace UnitProtocol
