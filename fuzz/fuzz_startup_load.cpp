// The load after connecting against a unit that answers anything or nothing: it succeeds exactly
// when every frame was answered, tries no reconnect and tells nothing itself. When it fails the
// program is as it was, to the last summary; when it succeeds the model holds what the unit
// answered, every code in range.
#include <algorithm>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"
#include "shell/AppInfo.h"
#include "shell/Messages.h"

namespace {

constexpr std::uint8_t ReadByteCommand = 0x10;
constexpr std::uint8_t ReadFourCommand = 0x17;
constexpr std::uint8_t ReadSettingCommand = 0x19;
constexpr std::uint8_t IdentityCommand = 0x25;
constexpr int UserPlaces = ModPreset::PresetCount - ModPreset::FactoryCount;

/// A program that was connected before: a factory image in demo mode, a user preset, a password,
/// locked, an old firmware version. Every run starts from it.
struct Before
{
    ModFun::State model;
    SystemFlags::State flags;
    ModGraph::State graph;
    ModPreset::State presets;
    ModLock::State lock;
    AppInfo::State info;
};

const Before &ProgramBefore()
{
    static const Before before = [] {
        ResetProgramWithSerial(nullptr);
        ModGraph::Reset();
        ModTxRx::state.DemoMode = true;
        ModFun::state.ParamImage = {};
        std::copy(ValueTables::FactoryPresetImages[3].begin(),
                  ValueTables::FactoryPresetImages[3].end(), ModFun::state.ParamImage.begin());
        ModFun::state.ParamImage.back() = 0x5A;
        ModFun::SendWholeState();
        SystemFlags::KeepSystemFlags(SystemFlags::LockBit);
        ModPreset::FillFactoryEntries();
        ModPreset::state.PresetUsed[20] = true;
        ModPreset::state.PresetNames[20] = QStringLiteral(" Before ");
        ModPreset::state.CurrentPreset = 20;
        ModLock::state.StoredPassword = {'W', 'X', 'Y', 'Z'};
        ModLock::state.LockState = 1;
        AppInfo::state.FirmwareVersion = QStringLiteral("0.9.9");
        return Before{ModFun::state,    SystemFlags::state, ModGraph::state,
                      ModPreset::state, ModLock::state,     AppInfo::state};
    }();
    return before;
}

void StartFrom(const Before &before, SerialComponent *serial)
{
    ResetProgramWithSerial(serial);
    ModFun::state = before.model;
    SystemFlags::state = before.flags;
    ModGraph::state = before.graph;
    ModPreset::state = before.presets;
    ModLock::state = before.lock;
    AppInfo::state = before.info;
}

/// The image the unit answered, brought into range, as the model holds it.
std::array<std::uint8_t, ValueTables::PresetImageSize> AnsweredImage(const FuzzSerial &serial)
{
    std::array<std::uint8_t, ValueTables::PresetImageSize> image{};
    for (int offset = 0; offset < ValueTables::PresetImageSize; offset += 4) {
        const FrameBuffer &reply = LastAnswered(serial, ReadSettingCommand, offset).reply;
        std::copy_n(reply.begin() + 5, 4, image.begin() + offset);
    }
    ImageCheck::ClampCodes(image);
    AsTheModelHoldsIt(image);
    return image;
}

void CheckCommitted(const FuzzSerial &serial, const ProgramSnapshot &before)
{
    const auto &model = ModFun::state;
    const auto image = AnsweredImage(serial);
    Require(std::equal(image.begin(), image.end(), model.ParamImage.begin()),
            "the model holds the unit's image");
    Require(model.ParamImage.back() == before.image.back(), "the byte files carry is kept");

    const FrameBuffer &password = LastAnswered(serial, ReadFourCommand, 0x1A).reply;
    for (int i = 0; i < ModLock::PasswordLength; ++i)
        Require(ModLock::state.StoredPassword[i] == password[5 + i], "the unit's password");
    const FrameBuffer &flags = LastAnswered(serial, ReadByteCommand, 0x10).reply;
    Require(ModLock::state.LockState == flags[6] >> 7, "the unit's lock bit");
    Require((SystemFlags::state.Byte & ~(SystemFlags::LockBit | SystemFlags::DistanceBit)) == 0,
            "only the lock and distance bits kept");
    const FrameBuffer &identity = LastAnswered(serial, IdentityCommand, 0).reply;
    Require(AppInfo::state.FirmwareVersion == Startup::FirmwareText(identity[3], identity[4]),
            "the unit's firmware");

    const auto &presets = ModPreset::state;
    Require(presets.CurrentPreset >= 0 && presets.CurrentPreset < ModPreset::PresetCount,
            "current preset in range");
    int usedPlaces = 0;
    for (int n = 0; n < ModPreset::PresetCount; ++n) {
        const bool user = n >= ModPreset::FactoryCount;
        Require(user || presets.PresetUsed[n], "factory presets used");
        Require(presets.PresetNames[n].size() == ModPreset::NameLength, "names of 8 characters");
        if (user && presets.PresetUsed[n])
            ++usedPlaces;
        if (!presets.PresetUsed[n])
            Require(presets.PresetNames[n] == ModPreset::EmptyName(), "unused places empty");
    }
    // Start, password, identity, flags, current preset, 4 used-mark reads, 2 per name, the image.
    Require(serial.exchanges == 5 + UserPlaces / 4 + 2 * usedPlaces + 32, "one frame a read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Before &before = ProgramBefore();
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    StartFrom(before, &serial);
    ModTxRx::state.DemoMode = input.Byte() == 0xD0;
    const ProgramSnapshot was = TakeSnapshot();

    int lastStep = 0;
    const bool loaded = Startup::LoadDeviceState([&](int step) {
        Require(step == lastStep + 1, "progress counts up by one");
        lastStep = step;
    });

    Require(serial.opens == 0, "no reconnect during the load");
    Require(Messages::Log().empty(), "the load tells nothing itself");
    Require(!ModTxRx::state.SendSuspended, "sending not left suspended");
    const bool everyFrameAnswered = serial.exchanges > 0 &&
        static_cast<std::size_t>(serial.exchanges) == serial.answered.size();
    Require(loaded == (everyFrameAnswered && !ModTxRx::state.DemoMode),
            "loaded exactly when every frame was answered");
    if (!loaded) {
        Require(TakeSnapshot() == was, "a failed load changes nothing");
        return 0;
    }
    Require(lastStep == Startup::LoadSteps, "progress ends full");
    CheckCommitted(serial, was);
    return 0;
}
