#include "UnitModel.h"

#include <algorithm>
#include <span>
#include <utility>

#include "FactoryPresets.h"
#include "Meters.h"

namespace Emulator {

namespace {

using ChannelBlock = std::span<Byte, ChannelSize>;

/// Memory addresses and setting offsets travel as d0 (high byte) and d1 (low byte).
int AddressOf(const Frame &request)
{
    return DataOf(request, 0) << 8 | DataOf(request, 1);
}

/// Reply data byte r0..r5 (frame bytes 3..8).
Byte &ReplyData(Frame &reply, int index)
{
    return reply[3 + index];
}

/// Four-byte reads answer in r2..r5, four-byte writes carry their bytes in d2..d5.
constexpr int FourBytesFirstData = 2;

} // namespace

UnitModel::UnitModel(Firmware firmware, const Memory &memory)
    : firmware(firmware), memory(memory), current(FactoryPreset(0))
{ }

bool UnitModel::TakeMemoryWritten()
{
    return std::exchange(memoryWritten, false);
}

Frame UnitModel::Answer(const Frame &request, double seconds)
{
    Frame reply = request;
    reply[1] = FrameDevice;
    switch (CommandOf(request)) {
    case Command::Identity:
        Identify(reply);
        break;
    case Command::ReadByte:
        ReadOneByte(request, reply);
        break;
    case Command::WriteByte:
        WriteOneByte(request);
        break;
    case Command::ReadFour:
        ReadFourBytes(request, reply);
        break;
    case Command::WriteFour:
        WriteFourBytes(request);
        break;
    case Command::ReadSetting:
        ReadSettingBytes(request, reply);
        break;
    case Command::UploadSetting:
        UploadSettingBytes(request);
        break;
    case Command::ApplyUpload:
        ApplyUpload();
        break;
    case Command::RecallPreset:
        RecallPreset(request, reply);
        break;
    case Command::Meters: {
        const MeterBytes meters = ReadMeters(current, seconds);
        std::copy(meters.begin(), meters.end(), reply.begin() + 3);
        break;
    }
    case Command::StartLoad:
    case Command::Release:
    case Command::Slow3A:
    case Command::EndStore:
        break; // acknowledged by the echo
    default:
        // A parameter frame the unit refuses and an unknown command are echoed too.
        ChangeParameter(request);
        break;
    }
    return reply;
}

void UnitModel::Identify(Frame &reply) const
{
    ReplyData(reply, 0) = firmware.major;
    ReplyData(reply, 1) = firmware.minor;
    ReplyData(reply, 2) = 0;
    ReplyData(reply, 3) = 0;
    ReplyData(reply, 4) = 0;
    ReplyData(reply, 5) = FrameDevice;
}

void UnitModel::ReadOneByte(const Frame &request, Frame &reply) const
{
    ReplyData(reply, 3) = ReadMemory(memory, AddressOf(request));
}

void UnitModel::WriteOneByte(const Frame &request)
{
    const int address = AddressOf(request);
    if (address == PasswordWriteAddress) {
        for (int i = 0; i < PasswordSize; ++i)
            WriteMemory(memory, PasswordAddress + i, DataOf(request, FourBytesFirstData + i));
    } else {
        WriteMemory(memory, address, DataOf(request, 3));
    }
    memoryWritten = true;
}

void UnitModel::ReadFourBytes(const Frame &request, Frame &reply) const
{
    const int address = AddressOf(request);
    for (int i = 0; i < 4; ++i)
        ReplyData(reply, FourBytesFirstData + i) = ReadMemory(memory, address + i);
}

void UnitModel::WriteFourBytes(const Frame &request)
{
    const int address = AddressOf(request);
    for (int i = 0; i < 4; ++i)
        WriteMemory(memory, address + i, DataOf(request, FourBytesFirstData + i));
    memoryWritten = true;
}

void UnitModel::ReadSettingBytes(const Frame &request, Frame &reply) const
{
    const int offset = AddressOf(request);
    for (int i = 0; i < 4; ++i)
        ReplyData(reply, FourBytesFirstData + i) =
            offset + i < SettingSize ? current[offset + i] : 0;
}

/// An upload lands in a buffer that starts as a copy of the current setting and replaces it only
/// when the upload is applied, so a broken-off upload changes nothing.
void UnitModel::UploadSettingBytes(const Frame &request)
{
    if (!uploading)
        upload = current;
    uploading = true;
    const int offset = AddressOf(request);
    for (int i = 0; i < 4; ++i) {
        if (offset + i < SettingSize)
            upload[offset + i] = DataOf(request, FourBytesFirstData + i);
    }
}

void UnitModel::ApplyUpload()
{
    if (uploading)
        current = upload;
    uploading = false;
}

void UnitModel::RecallPreset(const Frame &request, Frame &reply)
{
    const int preset = DataOf(request, 0);
    if (preset < FactoryPresetCount) {
        current = FactoryPreset(preset);
    } else if (preset < PresetCount && PlaceUsed(memory, preset - FactoryPresetCount)) {
        const auto image = memory.begin() + PresetImageAddressOf(preset - FactoryPresetCount);
        std::copy_n(image, SettingSize, current.begin());
    } else {
        ReplyData(reply, 0) = EmptyPreset;
        return;
    }
    WriteMemory(memory, CurrentPresetAddress, static_cast<Byte>(preset));
    memoryWritten = true;
}

void UnitModel::SetFlag(Byte flag, bool on)
{
    current[FlagsByte] = on ? current[FlagsByte] | flag : current[FlagsByte] & ~flag;
}

/// Linking copies channel A onto channel B, as the program does in its own model.
void UnitModel::SetLink(bool linked)
{
    if (linked && !(current[FlagsByte] & FlagLinked))
        std::copy_n(current.begin(), ChannelParameterBytes, current.begin() + ChannelSize);
    SetFlag(FlagLinked, linked);
}

template<typename Write> void UnitModel::ChangeChannel(const Frame &request, Write write)
{
    const int channel = DataOf(request, 0);
    if (channel >= ChannelCount)
        return;
    const bool linked = current[FlagsByte] & FlagLinked;
    for (int c = 0; c < ChannelCount; ++c) {
        if (c == channel || linked)
            write(ChannelBlock(current.data() + c * ChannelSize, ChannelSize));
    }
}

/// The parameter frames and where their data bytes land in the channel block.
void UnitModel::ChangeParameter(const Frame &request)
{
    const auto d = [&request](int index) { return DataOf(request, index); };
    switch (CommandOf(request)) {
    case Command::Delay:
        ChangeChannel(request, [&](ChannelBlock block) {
            block[DelayMsHigh] = d(3);
            block[DelayMsLow] = d(4);
            block[DelayFine] = d(5);
        });
        break;
    case Command::Crossover: {
        const int kind = d(1); // 0 high-pass, 1 low-pass
        if (kind > 1)
            return;
        const int frequency = kind == 0 ? HighPassFreq : LowPassFreq;
        const int slope = kind == 0 ? HighPassSlope : LowPassSlope;
        ChangeChannel(request, [&](ChannelBlock block) {
            block[frequency] = d(4);
            block[slope] = d(5);
        });
        break;
    }
    case Command::EqBand: {
        const int band = d(1);
        if (band >= BandCount)
            return;
        ChangeChannel(request, [&](ChannelBlock block) {
            block[3 * band + BandFreq] = d(3);
            block[3 * band + BandQ] = d(4);
            block[3 * band + BandGain] = d(5);
        });
        break;
    }
    case Command::Limiter: // release travels before attack
        ChangeChannel(request, [&](ChannelBlock block) {
            block[LimiterRelease] = d(3);
            block[LimiterAttack] = d(4);
            block[LimiterThreshold] = d(5);
        });
        break;
    case Command::Mute:
        ChangeChannel(request, [&](ChannelBlock block) { block[MuteByte] = d(5); });
        break;
    case Command::Gate:
        ChangeChannel(request, [&](ChannelBlock block) {
            block[GateOn] = d(2);
            block[GateThreshold] = d(3);
            block[GateTime] = d(4);
            block[GateAttack] = d(5);
        });
        break;
    case Command::Link:
        SetLink(d(5) != 0);
        break;
    case Command::EqType:
        SetFlag(FlagGraphicEq, d(5) != 0);
        break;
    default:
        break;
    }
}

} // namespace Emulator
