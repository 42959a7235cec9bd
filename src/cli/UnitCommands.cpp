// ports, info, preset, meters, lock, unlock and password.
#include <cmath>
#include <csignal>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include "cli/CommandContext.h"
#include "cli/Terminal.h"
#include "editors/Meters.h"
#include "link/ModTxRx.h"
#include "link/PortDiagnosis.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "shell/AppInfo.h"

namespace Cli {

namespace {

/// The overview panel polls its meters every 100 ms.
constexpr int MeterPollMs = 100;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}

QJsonArray PresetPlaces()
{
    QJsonArray places;
    for (int index = 0; index < ModPreset::PresetCount; ++index) {
        places.append(QJsonObject{
            {QStringLiteral("number"), index + 1},
            {QStringLiteral("name"), ModPreset::state.PresetNames[index]},
            {QStringLiteral("used"), ModPreset::state.PresetUsed[index]},
            {QStringLiteral("factory"), DevicePresets::IsFactory(index)},
        });
    }
    return places;
}

void PrintPresetPlaces()
{
    for (int index = 0; index < ModPreset::PresetCount; ++index) {
        const QString mark = DevicePresets::IsFactory(index) ? QStringLiteral("factory")
            : ModPreset::state.PresetUsed[index]             ? QStringLiteral("used")
                                                             : QStringLiteral("empty");
        Terminal::PrintOut(QStringLiteral("%1  \"%2\"  %3")
                               .arg(index + 1, 2, 10, QLatin1Char('0'))
                               .arg(ModPreset::state.PresetNames[index], mark));
    }
}

/// Connects and, for commands that change the unit, refuses a locked one.
std::optional<Exit> Open(Session &session, bool changes)
{
    if (auto failed = session.Connect())
        return failed;
    return changes ? session.RefuseIfLocked() : std::nullopt;
}

std::optional<int> PresetNumber(const QString &text, int first)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < first || number > ModPreset::PresetCount)
        return std::nullopt;
    return number;
}

Exit ReadPreset(const Context &context)
{
    const std::optional<int> number = PresetNumber(context.arguments.value(1), 1);
    if (!number)
        return Fail(
            BadInput,
            QStringLiteral("%1: presets are numbered 1..32").arg(context.arguments.value(1)));
    Session session(context.global);
    if (auto failed = Open(session, true))
        return *failed;
    Terminal::ProgressBar bar(QStringLiteral("reading preset"));
    switch (DevicePresets::ReadPresetAsked(*number - 1, bar.AsProgress())) {
    case DevicePresets::Outcome::Done:
        Terminal::PrintOut(ModFun::state.PresetTitle);
        return Done;
    case DevicePresets::Outcome::Stopped:
        return Fail(LinkLost,
                    QStringLiteral("link lost: the preset was not read whole; the "
                                   "program's setting is unchanged"));
    default:
        return Refused;
    }
}

Exit StorePreset(const Context &context)
{
    const std::optional<int> number =
        PresetNumber(context.arguments.value(1), ModPreset::FactoryCount + 1);
    if (!number)
        return Fail(BadInput,
                    QStringLiteral("%1: presets 1..16 are the factory presets; user "
                                   "presets are 17..32")
                        .arg(context.arguments.value(1)));
    const QString name = context.arguments.value(2);
    if (!DevicePresets::CheckedPresetName(name))
        return Fail(BadInput, QStringLiteral("Symbol not admited"));
    Session session(context.global);
    if (auto failed = Open(session, true))
        return *failed;
    Terminal::ProgressBar bar(QStringLiteral("storing preset"));
    const int place = *number - ModPreset::FactoryCount - 1;
    switch (DevicePresets::StorePresetAsked(place, name, bar.AsProgress())) {
    case DevicePresets::Outcome::Done:
        Terminal::PrintOut(ModFun::state.PresetTitle);
        return Done;
    case DevicePresets::Outcome::Stopped:
        return Fail(LinkLost,
                    QStringLiteral("link lost: the preset was not stored; place %1 is "
                                   "left unused")
                        .arg(*number));
    default:
        return BadInput;
    }
}

Exit ListPresets(const Context &context)
{
    Session session(context.global);
    if (auto failed = Open(session, false))
        return *failed;
    if (context.global.json)
        PrintJson(PresetPlaces());
    else
        PrintPresetPlaces();
    return Done;
}

/// Checks the unit's password; the password window's own refusal when it is wrong.
std::optional<Exit> CheckPassword(const QString &password)
{
    switch (ModLock::EnterPassword(password)) {
    case ModLock::EntryResult::Accepted:
        return std::nullopt;
    case ModLock::EntryResult::Refused:
        return Refused;
    default:
        return Fail(Refused, QStringLiteral("Password wrong"));
    }
}

std::optional<QString> Secret(const QString &prompt)
{
    return Terminal::ReadSecret(prompt);
}

Exit ApplyLock(const Context &context, bool locked)
{
    const std::optional<QString> password = Secret(QStringLiteral("Password: "));
    if (!password)
        return Fail(BadInput, QStringLiteral("no password given"));
    Session session(context.global);
    if (auto failed = Open(session, false))
        return *failed;
    if (auto refused = CheckPassword(*password))
        return *refused;
    if (!ModLock::ApplyLock(locked))
        return Fail(LinkLost, QStringLiteral("link lost: the lock was not changed"));
    Terminal::PrintOut(ModLock::LockStateText());
    return Done;
}

void PrintMeters()
{
    const auto &meters = Meters::state;
    // Sums of levels and gains in doubles are cut back to the meters' one decimal.
    const auto tenth = [](double value) { return std::round(value * 10) / 10; };
    const auto pair = [&tenth](double a, double b) { return QJsonArray{tenth(a), tenth(b)}; };
    const QJsonArray input = pair(meters.LevelDb[0], meters.LevelDb[1]);
    const QJsonArray output = pair(meters.LevelDb[2], meters.LevelDb[3]);
    const QJsonArray limiter = pair(meters.LimiterGain[0], meters.LimiterGain[1]);
    QJsonArray segments;
    for (int bar = 0; bar < Meters::BarCount; ++bar)
        segments.append(meters.MeterSegments[bar]);
    Terminal::PrintOut(
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("inputDb"), input},
                                                    {QStringLiteral("outputDb"), output},
                                                    {QStringLiteral("limiterGainDb"), limiter},
                                                    {QStringLiteral("segments"), segments}})
                              .toJson(QJsonDocument::Compact)));
}

void PrintMeterLine()
{
    const auto &meters = Meters::state;
    const auto db = [](double value) { return QStringLiteral("%1").arg(value, 6, 'f', 1); };
    Terminal::PrintOut(QStringLiteral("input %1 %2   output %3 %4   limiter %5 %6 dB")
                           .arg(db(meters.LevelDb[0]), db(meters.LevelDb[1]), db(meters.LevelDb[2]),
                                db(meters.LevelDb[3]), db(meters.LimiterGain[0]),
                                db(meters.LimiterGain[1])));
}

/// One meter poll as the panel makes it; false when the link was lost.
bool PollMeters()
{
    return Meters::Poll(ModFun::state.Mute) == ModTxRx::LinkOutcome::LinkUp;
}

/// COM1..COM32 as JSON, printed as lines too when asked.
QJsonArray ListPorts(bool print)
{
    QJsonArray ports;
    for (const PortDiagnosis::PortState &port : PortDiagnosis::DiagnoseAll()) {
        ports.append(QJsonObject{{QStringLiteral("port"), port.port},
                                 {QStringLiteral("device"), port.device},
                                 {QStringLiteral("exists"), port.exists},
                                 {QStringLiteral("opens"), port.opens},
                                 {QStringLiteral("why"), port.words},
                                 {QStringLiteral("fix"), port.fix}});
        if (!print)
            continue;
        Terminal::PrintOut(QStringLiteral("%1  %2  %3")
                               .arg(port.port, -5)
                               .arg(port.device.isEmpty() ? QStringLiteral("-") : port.device, -24)
                               .arg(port.words));
        if (!port.fix.isEmpty())
            Terminal::PrintOut(QStringLiteral("       fix: ") + port.fix);
    }
    return ports;
}

/// "not mapped: <stable name>  <description>  <manufacturer>  usb <ids>  serial <number>", the
/// parts the system does not know left out.
QString AdapterLine(const PortDiagnosis::Adapter &adapter)
{
    QStringList parts{QStringLiteral("not mapped: ") + adapter.stablePath, adapter.description,
                      adapter.manufacturer};
    if (!adapter.usbIds.isEmpty())
        parts << QStringLiteral("usb ") + adapter.usbIds;
    if (!adapter.serialNumber.isEmpty())
        parts << QStringLiteral("serial ") + adapter.serialNumber;
    parts.removeAll(QString());
    return parts.join(QStringLiteral("  "));
}

/// The adapters no port name leads to as JSON, printed as lines too when asked.
QJsonArray ListAdapters(bool print)
{
    QJsonArray adapters;
    for (const PortDiagnosis::Adapter &adapter : PortDiagnosis::UnmappedAdapters()) {
        adapters.append(QJsonObject{{QStringLiteral("device"), adapter.device},
                                    {QStringLiteral("description"), adapter.description},
                                    {QStringLiteral("manufacturer"), adapter.manufacturer},
                                    {QStringLiteral("usb"), adapter.usbIds},
                                    {QStringLiteral("serialNumber"), adapter.serialNumber},
                                    {QStringLiteral("stablePath"), adapter.stablePath}});
        if (print)
            Terminal::PrintOut(AdapterLine(adapter));
    }
    return adapters;
}

} // namespace

Exit RunPorts(const Context &context)
{
    const QJsonArray ports = ListPorts(!context.global.json);
    const QJsonArray adapters = ListAdapters(!context.global.json);
    if (context.global.json)
        PrintJson(QJsonObject{{QStringLiteral("ports"), ports},
                              {QStringLiteral("unmappedAdapters"), adapters}});
    return Done;
}

Exit RunInfo(const Context &context)
{
    Session session(context.global);
    if (auto failed = Open(session, false))
        return *failed;
    const int current = ModPreset::state.CurrentPreset;
    const bool locked = ModLock::state.LockState == 1;
    if (context.global.json) {
        PrintJson(QJsonObject{{QStringLiteral("firmware"), AppInfo::state.FirmwareVersion},
                              {QStringLiteral("locked"), locked},
                              {QStringLiteral("currentPreset"), current + 1},
                              {QStringLiteral("presets"), PresetPlaces()}});
        return Done;
    }
    Terminal::PrintOut(QStringLiteral("firmware  ") + AppInfo::state.FirmwareVersion);
    Terminal::PrintOut(QStringLiteral("lock      ") +
                       (locked ? QStringLiteral("locked") : QStringLiteral("unlocked")));
    Terminal::PrintOut(QStringLiteral("current   ") + ModPreset::PresetTitleFor(current));
    PrintPresetPlaces();
    return Done;
}

Exit RunPreset(const Context &context)
{
    const QString action = context.arguments.value(0);
    if (action == QLatin1String("list") && context.arguments.size() == 1)
        return ListPresets(context);
    if (action == QLatin1String("read") && context.arguments.size() == 2)
        return ReadPreset(context);
    if (action == QLatin1String("store") && context.arguments.size() == 3)
        return StorePreset(context);
    return Fail(Usage, QStringLiteral("preset list | preset read N | preset store N NAME"));
}

Exit RunMeters(const Context &context)
{
    const QString countText = context.parser.value(QStringLiteral("count"));
    bool ok = true;
    const int count = countText.isEmpty() ? 0 : countText.toInt(&ok);
    if (!ok || count < 0)
        return Fail(Usage, QStringLiteral("--count takes a number of polls"));
    Session session(context.global);
    if (auto failed = Open(session, false))
        return *failed;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    QElapsedTimer clock;
    clock.start();
    for (int poll = 0; (count == 0 || poll < count) && !stopRequested; ++poll) {
        if (!PollMeters())
            return Fail(LinkLost, QStringLiteral("link lost after %1 polls").arg(poll));
        context.global.json ? PrintMeters() : PrintMeterLine();
        const qint64 next = (poll + 1) * qint64(MeterPollMs);
        if (count == 0 || poll + 1 < count)
            QThread::msleep(
                static_cast<unsigned long>(std::max<qint64>(0, next - clock.elapsed())));
    }
    return Done;
}

Exit RunLock(const Context &context)
{
    return ApplyLock(context, true);
}

Exit RunUnlock(const Context &context)
{
    return ApplyLock(context, false);
}

Exit RunPassword(const Context &context)
{
    const std::optional<QString> password = Secret(QStringLiteral("Password: "));
    const std::optional<QString> first = Secret(QStringLiteral("New password: "));
    const std::optional<QString> again = Secret(QStringLiteral("New password again: "));
    if (!password || !first || !again)
        return Fail(BadInput,
                    QStringLiteral("the password, the new one and the new one again "
                                   "are needed, one a line"));
    Session session(context.global);
    if (auto failed = Open(session, false))
        return *failed;
    if (auto refused = CheckPassword(*password))
        return *refused;
    switch (ModLock::ApplyNewPassword(*first, *again)) {
    case ModLock::NewPasswordResult::Stored:
        Terminal::PrintError(QStringLiteral("the password was changed"));
        return Done;
    case ModLock::NewPasswordResult::LinkLost:
        return Fail(LinkLost, QStringLiteral("link lost: the password was not changed"));
    default:
        return BadInput;
    }
}

} // namespace Cli
