#pragma once

#include "Setting.h"
#include "UnitMemory.h"

namespace Emulator {

/// Command bytes the unit understands.
namespace Command {
inline constexpr Byte StartLoad = 0x00;
inline constexpr Byte Delay = 0x02;
inline constexpr Byte Crossover = 0x04;
inline constexpr Byte EqBand = 0x05;
inline constexpr Byte Limiter = 0x07;
inline constexpr Byte Mute = 0x0A;
inline constexpr Byte Release = 0x0F;
inline constexpr Byte ReadByte = 0x10;
inline constexpr Byte WriteByte = 0x11;
inline constexpr Byte Link = 0x12;
inline constexpr Byte EqType = 0x13;
inline constexpr Byte Gate = 0x14;
inline constexpr Byte ReadFour = 0x17;
inline constexpr Byte WriteFour = 0x18;
inline constexpr Byte ReadSetting = 0x19;
inline constexpr Byte UploadSetting = 0x1A;
inline constexpr Byte RecallPreset = 0x1B;
inline constexpr Byte Meters = 0x21;
inline constexpr Byte Identity = 0x25;
inline constexpr Byte ApplyUpload = 0x2B;
inline constexpr Byte Slow3A = 0x3A;
inline constexpr Byte EndStore = 0x3B;
} // namespace Command

struct Firmware
{
    Byte major = 1;
    Byte minor = 3;
};

/// Recall answer for a preset place that holds nothing.
inline constexpr Byte EmptyPreset = 0xFF;
inline constexpr int PresetCount = 32;

/// The unit behind the wire: its memory, its current setting and how it answers each command.
/// Every request gets a reply F0 10 <command> r0..r5 F7; unless a command says otherwise the reply
/// echoes the request's data, and a request it cannot act on (unknown command, channel or band out
/// of range) is simply echoed.
class UnitModel
{
public:
    explicit UnitModel(Firmware firmware, const Memory &memory = FreshMemory());

    /// The reply to `request`; `seconds` is the time since the unit started (it drives the meters).
    Frame Answer(const Frame &request, double seconds);

    /// True once after any command that wrote the non-volatile memory.
    bool TakeMemoryWritten();

    const Memory &NonVolatile() const { return memory; }
    const Setting &Current() const { return current; }

private:
    void ReadOneByte(const Frame &request, Frame &reply) const;
    void WriteOneByte(const Frame &request);
    void ReadFourBytes(const Frame &request, Frame &reply) const;
    void WriteFourBytes(const Frame &request);
    void ReadSettingBytes(const Frame &request, Frame &reply) const;
    void UploadSettingBytes(const Frame &request);
    void ApplyUpload();
    void RecallPreset(const Frame &request, Frame &reply);
    void Identify(Frame &reply) const;
    void SetLink(bool linked);
    void SetFlag(Byte flag, bool on);
    /// Applies a per-channel parameter frame: d0 is the channel; while the channels are linked the
    /// unit sets both of them. `write` gets the channel's block offset in the setting.
    template<typename Write> void ChangeChannel(const Frame &request, Write write);
    void ChangeParameter(const Frame &request);

    Firmware firmware;
    Memory memory;
    Setting current;
    Setting upload{};
    bool uploading = false;
    bool memoryWritten = false;
};

} // namespace Emulator
