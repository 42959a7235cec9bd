#include "cli/Session.h"

#include "cli/Terminal.h"
#include "link/FrameTrace.h"
#include "link/ModTxRx.h"
#include "link/PortDiagnosis.h"
#include "link/PortMap.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"
#include "shell/AppInfo.h"
#include "shell/Messages.h"

namespace Cli {

Session::Session(const GlobalOptions &options) : options(options)
{
    ModTxRx::Reset();
    ModFun::Reset();
    ModPreset::Reset();
    ModLock::Reset();
    AppInfo::Reset();
    Messages::Reset();
    // A command line asked for what it wants: every question is answered Yes; every message is
    // the program's own text, on stderr.
    Messages::SetBoxPresenter([this](const Messages::Box &box) {
        if (box.buttons == Messages::Buttons::YesNo)
            return Messages::Answer::Yes;
        told << box.text;
        Terminal::PrintError(box.text);
        return Messages::Answer::Ok;
    });
    if (options.trace)
        FrameTrace::SetHook(
            [](const FrameTrace::Entry &entry) { Terminal::PrintError(FrameTrace::Line(entry)); });
    if (!options.device.isEmpty())
        serial.SetDevice(options.device);
    ModTxRx::state.SerialPort = &serial;
}

Session::~Session()
{
    Startup::ReleaseUnit(true);
    ModTxRx::state.SerialPort = nullptr;
    FrameTrace::SetHook({});
    Messages::Reset();
}

bool Session::FindUnit()
{
    if (options.device.isEmpty() && options.port.isEmpty())
        return Startup::FindUnit();
    // One port named: the device itself, or the port through the map; not remembered.
    ModTxRx::state.ComPort = static_cast<std::int16_t>(
        options.device.isEmpty() ? PortMap::PortNumber(options.port) : PortMap::FirstPort);
    return ModTxRx::ReopenLink();
}

QString Session::NotFoundDetail() const
{
    if (options.device.isEmpty() && options.port.isEmpty())
        return QStringLiteral("no unit answered on the remembered port nor on COM1..COM32");
    const QString where = options.device.isEmpty()
        ? QStringLiteral("%1 (%2)").arg(options.port,
                                        serial.LastDevice().isEmpty() ? QStringLiteral("no device")
                                                                      : serial.LastDevice())
        : options.device;
    if (serial.IsOpen())
        return QStringLiteral("no unit answered on %1").arg(where);
    const PortDiagnosis::PortState why = PortDiagnosis::DiagnoseDevice(serial.LastDevice());
    return QStringLiteral("%1 cannot be opened: %2").arg(where, why.words) +
        (why.fix.isEmpty() ? QString() : QStringLiteral("; fix: ") + why.fix);
}

std::optional<Exit> Session::Connect()
{
    if (serial.Initialize(10, PortMap::LastPort) != 0) {
        Terminal::PrintError(QStringLiteral("Wrong COM initialization!"));
        return NoUnit;
    }
    if (!FindUnit()) {
        Terminal::PrintError(QStringLiteral("COM or device not found: ") + NotFoundDetail());
        return NoUnit;
    }
    Terminal::ProgressBar bar(QStringLiteral("reading the unit"));
    bar.Start(0, Startup::LoadSteps);
    const bool loaded = Startup::LoadDeviceState([&bar](int) { bar.Step(); });
    bar.Finish();
    if (!loaded) {
        Terminal::PrintError(QStringLiteral("the unit stopped answering while its state was "
                                            "read; nothing was changed on it"));
        return LinkLost;
    }
    return std::nullopt;
}

std::optional<Exit> Session::RefuseIfLocked() const
{
    if (ModLock::state.LockState != 1)
        return std::nullopt;
    Terminal::PrintError(QStringLiteral("the unit is locked; nothing was changed (unlock it with "
                                        "'mxrf418-cli unlock')"));
    return Refused;
}

} // namespace Cli
