#include "ProgramChecks.h"

#include <cstdlib>

#include "graph/ModGraph.h"
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
        ModGraph::state.BandGainDb,
        ModGraph::state.BandFreqHz,
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
