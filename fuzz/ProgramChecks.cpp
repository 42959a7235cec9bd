#include "ProgramChecks.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "lock/ModLock.h"
#include "model/SystemFlags.h"
#include "shell/AppInfo.h"
#include "shell/Messages.h"

ProgramSnapshot TakeSnapshot()
{
    const auto &model = ModFun::state;
    const auto &presets = ModPreset::state;
    return {
        model.ParamImage,
        model.Mute,
        model.LinkAB,
        model.ChannelLink,
        model.GeqSelected,
        model.DelayInMetres,
        SystemFlags::state.Byte,
        model.Summary,
        model.EqCaption,
        model.MuteText,
        model.PresetSource,
        model.PresetTitle,
        model.BandGainDb,
        model.BandFreqHz,
        presets.PresetNames,
        presets.PresetUsed,
        presets.CurrentPreset,
        ModLock::state.StoredPassword,
        ModLock::state.LockState,
        AppInfo::state.FirmwareVersion,
    };
}

void AsTheModelHoldsIt(std::span<std::uint8_t> image)
{
    for (const int at : ValueTables::MuteOffsets) {
        if (static_cast<std::size_t>(at) < image.size())
            image[at] = image[at] != 0 ? 1 : 0;
    }
}

const FuzzSerial::Answered &LastAnswered(const FuzzSerial &serial, std::uint8_t command,
                                         int address, std::size_t from)
{
    for (std::size_t i = serial.answered.size(); i-- > from;) {
        const FrameBuffer &request = serial.answered[i].request;
        if (request[2] == command && (request[3] << 8 | request[4]) == address)
            return serial.answered[i];
    }
    Require(false, "the frame was answered");
    std::abort();
}

bool ToldLinkProblem()
{
    const auto &log = Messages::Log();
    return !log.empty() && log.back().box.title == QStringLiteral("Communication problem");
}

bool ToldOnce(const QString &title)
{
    const auto &log = Messages::Log();
    return log.size() == 1 && log[0].box.title == title;
}

bool UploadReachedUnit(const FuzzSerial &serial,
                       const std::array<std::uint8_t, ValueTables::ImageSize> &image)
{
    constexpr std::uint8_t UploadCommand = 0x1A;
    constexpr std::uint8_t ApplyCommand = 0x2B;
    std::array<bool, ValueTables::PresetImageSize / 4> blocks{};
    bool applied = false;
    for (const FuzzSerial::Answered &frame : serial.answered) {
        const FrameBuffer &request = frame.request;
        const int at = request[4];
        if (request[2] == ApplyCommand)
            applied = std::ranges::all_of(blocks, std::identity());
        else if (request[2] == UploadCommand && request[3] == 0 && at % 4 == 0 &&
                 at < ValueTables::PresetImageSize)
            blocks[at / 4] =
                std::equal(request.begin() + 5, request.begin() + 9, image.begin() + at);
    }
    return applied;
}
