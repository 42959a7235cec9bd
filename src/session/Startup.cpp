#include "session/Startup.h"

#include <QDir>
#include <QSaveFile>
#include <QThread>

#include "link/ModTxRx.h"
#include "link/PortMap.h"
#include "link/UnitProtocol.h"
#include "lock/ModLock.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "presets/DeviceImage.h"
#include "presets/ModPreset.h"
#include "shell/AppInfo.h"
#include "shell/FileAccess.h"

namespace Startup {

using namespace UnitProtocol;

namespace {

constexpr int UserPlaces = ModPreset::PresetCount - ModPreset::FactoryCount;

/// What the load reads from the unit before any of it is applied.
struct DeviceState
{
    std::array<int, 4> password{};
    QString firmware;
    std::uint8_t systemFlags = 0;
    int currentPreset = 0;
    std::array<bool, UserPlaces> used{};
    std::array<QString, UserPlaces> names;
    DeviceImage::Image image{};
};

/// Counts the load's steps and reports them.
class StepCounter
{
public:
    explicit StepCounter(const Progress &progress) : progress(progress) { }
    void Advance()
    {
        ++done;
        if (progress)
            progress(done);
    }

private:
    const Progress &progress;
    int done = 0;
};

const auto &Reply()
{
    return ModTxRx::state.RxFrame;
}

/// Sends one frame of the load; false when it failed (the load stops, no reconnect).
bool Send(std::uint8_t cmd, std::uint8_t d0 = 0, std::uint8_t d1 = 0)
{
    ModTxRx::TransferFrame(cmd, d0, d1, 0, 0, 0, 0);
    return !ModTxRx::state.TransferFailed;
}

/// Reads four bytes of unit memory; they stand in the reply from `FourReadAt` on.
bool ReadFour(int address)
{
    ModTxRx::SplitToBytes(address, 0);
    const auto &work = ModTxRx::state.WorkBytes;
    return Send(ReadFourCommand, work[2], work[3]);
}

bool ReadIdentity(DeviceState &device)
{
    if (!Send(IdentityCommand))
        return false;
    device.firmware = FirmwareText(Reply()[3], Reply()[4]);
    return true;
}

bool ReadPassword(DeviceState &device)
{
    if (!ReadFour(PasswordAddress))
        return false;
    for (int i = 0; i < BytesPerFrame; ++i)
        device.password[i] = Reply()[FourReadAt + i];
    return true;
}

bool ReadSystemFlags(DeviceState &device)
{
    if (!Send(ReadByteCommand, 0, SystemFlagsAddress))
        return false;
    device.systemFlags = Reply()[ByteReadAt];
    return true;
}

bool ReadCurrentPreset(DeviceState &device)
{
    if (!Send(ReadByteCommand, 0, CurrentPresetAddress))
        return false;
    const int preset = Reply()[ByteReadAt];
    device.currentPreset = preset < ModPreset::PresetCount ? preset : 0;
    return true;
}

bool ReadUsedMarks(DeviceState &device, StepCounter &steps)
{
    for (int first = 0; first < UserPlaces; first += BytesPerFrame) {
        if (!ReadFour(UsedMarksAddress + first))
            return false;
        for (int i = 0; i < BytesPerFrame; ++i)
            device.used[first + i] = Reply()[FourReadAt + i] == UsedMark;
        steps.Advance();
    }
    return true;
}

/// The 8 characters of a used place's name, in two frames of four.
bool ReadName(int place, QString &name)
{
    QByteArray characters;
    for (int i = 0; i < ModPreset::NameLength; i += BytesPerFrame) {
        if (!ReadFour(place * ModPreset::NameLength + PlaceNamesAddress + i))
            return false;
        characters.append(reinterpret_cast<const char *>(Reply().data() + FourReadAt),
                          BytesPerFrame);
    }
    name = QString::fromLatin1(characters);
    return true;
}

bool ReadNames(DeviceState &device, StepCounter &steps)
{
    for (int place = 0; place < UserPlaces; ++place) {
        device.names[place] = ModPreset::EmptyName();
        if (device.used[place] && !ReadName(place, device.names[place]))
            return false;
        steps.Advance();
    }
    return true;
}

bool ReadDevice(DeviceState &device, StepCounter &steps)
{
    // Each of the first five frames is one step; the marks, names and image count their own.
    const std::function<bool()> first[] = {
        [] { return Send(StartLoadCommand); },     [&] { return ReadPassword(device); },
        [&] { return ReadIdentity(device); },      [&] { return ReadSystemFlags(device); },
        [&] { return ReadCurrentPreset(device); },
    };
    for (const auto &read : first) {
        if (!read())
            return false;
        steps.Advance();
    }
    return ReadUsedMarks(device, steps) && ReadNames(device, steps) &&
        DeviceImage::ReadSettingImage(device.image, DeviceImage::OnFailure::Stop,
                                      [&] { steps.Advance(); });
}

void CommitPresetList(const DeviceState &device)
{
    ModPreset::Reset();
    ModPreset::FillFactoryEntries();
    for (int place = 0; place < UserPlaces; ++place) {
        ModPreset::state.PresetUsed[ModPreset::FactoryCount + place] = device.used[place];
        ModPreset::state.PresetNames[ModPreset::FactoryCount + place] = device.names[place];
    }
    ModPreset::state.CurrentPreset = static_cast<std::int16_t>(device.currentPreset);
}

void CommitLock(const DeviceState &device)
{
    ModLock::state.StoredPassword = device.password;
    ModLock::state.LockState = (device.systemFlags & SystemFlags::LockBit) ? 1 : 0;
    SystemFlags::KeepSystemFlags(device.systemFlags);
    emit ModFun::notifier().lockStateChanged();
}

/// The image read from the unit, clamped into range, shown without sending anything back.
void CommitImage(DeviceImage::Image image)
{
    ImageCheck::ClampCodes(image);
    std::copy(image.begin(), image.end(), ModFun::state.ParamImage.begin());
    ModTxRx::state.SendSuspended = true;
    ModFun::SendWholeState();
    ModTxRx::state.SendSuspended = false;
}

} // namespace

QString InitCfgPath()
{
    return PortMap::ConfigFolder() + QStringLiteral("/init.cfg");
}

std::int16_t ReadInitCfg()
{
    const QByteArray record = FileAccess::ReadStart(InitCfgPath(), 2).bytes;
    if (record.size() < 2)
        return 0;
    const auto low = static_cast<std::uint8_t>(record[0]);
    const auto high = static_cast<std::uint8_t>(record[1]);
    return static_cast<std::int16_t>(low | high << 8);
}

bool WriteInitCfg(std::int16_t port)
{
    if (!QDir().mkpath(PortMap::ConfigFolder()) ||
        !FileAccess::MayWrite(FileAccess::KindOf(InitCfgPath())))
        return false;
    const auto value = static_cast<std::uint16_t>(port);
    const char record[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    QSaveFile file(InitCfgPath());
    return file.open(QIODevice::WriteOnly) && file.write(record, 2) == 2 && file.commit();
}

void ReleaseUnit(bool wait)
{
    SerialComponent *port = ModTxRx::state.SerialPort;
    if (!port || !port->IsOpen())
        return;
    ModTxRx::TransferFrame(ReleaseCommand, 0, 0, 0, 0, 0, 0);
    if (wait)
        QThread::msleep(ReleaseWaitMs);
    port->Close();
}

bool FindUnit()
{
    ModTxRx::state.ComPort = ReadInitCfg();
    if (!ModTxRx::ConnectDevice())
        return false;
    WriteInitCfg(ModTxRx::state.ComPort);
    return true;
}

QString FirmwareText(std::uint8_t byte3, std::uint8_t byte4)
{
    return QStringLiteral("%1.%2.%2").arg(byte3).arg(byte4);
}

bool LoadDeviceState(const Progress &progress)
{
    if (ModTxRx::state.DemoMode)
        return false;
    StepCounter steps(progress);
    DeviceState device;
    if (!ReadDevice(device, steps))
        return false;
    AppInfo::state.FirmwareVersion = device.firmware;
    CommitLock(device);
    CommitPresetList(device);
    steps.Advance();
    CommitImage(device.image);
    steps.Advance();
    return true;
}

void EnterDemoMode()
{
    ModTxRx::state.DemoMode = true;
    ModPreset::Reset();
    ModLock::state.LockState = 0;
    ModFun::Reset();
    PanelFlags::Reset();
    SystemFlags::Reset();
    ModFun::LoadDefaultImage();
    ModFun::SendWholeState();
    emit ModFun::notifier().lockStateChanged();
}

QString ConnectedTitle()
{
    return QLatin1String(ModFun::ModelName) + QStringLiteral(" - Remote Control Software");
}

QString DemoTitle()
{
    return QLatin1String(ModFun::ModelName) + QStringLiteral(" - DEMO - Remote Control Software");
}

} // namespace Startup
