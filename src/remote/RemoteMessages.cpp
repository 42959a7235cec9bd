#include "remote/RemoteMessages.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "editors/Meters.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "presets/ModPreset.h"

namespace RemoteMessages {

namespace {

using SettingJson::Field;

QByteArray Text(const QJsonObject &message)
{
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

QString RoleName(Role role)
{
    return role == Role::Writer ? QStringLiteral("writer") : QStringLiteral("reader");
}

QJsonArray Numbers(const auto &values)
{
    QJsonArray array;
    for (double value : values)
        array.append(value);
    return array;
}

/// Curve points to the hundredth: the page draws them, nothing is computed from them.
double Rounded(double value)
{
    return std::round(value * 100) / 100;
}

QJsonObject Tables()
{
    QJsonObject tables{
        {"frequencyHz", Numbers(SettingJson::Steps(Field::BandFrequency))},
        {"q", Numbers(SettingJson::Steps(Field::BandQ))},
        {"gainDb", Numbers(SettingJson::Steps(Field::BandGain))},
        {"limiterThresholdDb", Numbers(SettingJson::Steps(Field::LimiterThreshold))},
        {"limiterReleaseMs", Numbers(SettingJson::Steps(Field::LimiterRelease))},
        {"limiterAttackMs", Numbers(SettingJson::Steps(Field::LimiterAttack))},
        {"gateThresholdDb", Numbers(SettingJson::Steps(Field::GateThreshold))},
        {"gateReleaseMs", Numbers(SettingJson::Steps(Field::GateRelease))},
        {"gateAttackS", Numbers(SettingJson::Steps(Field::GateAttack))},
        {"delayMs",
         QJsonObject{{"max", SettingJson::RangeOf(Field::Delay)->highest},
                     {"step", ValueTables::DelayFineStepMs}}},
    };
    QJsonArray slopes;
    for (const char *name : ValueTables::SlopeNames)
        slopes.append(QLatin1String(name));
    tables.insert(QStringLiteral("slope"), slopes);
    return tables;
}

QJsonObject Presets()
{
    QJsonArray factory;
    QJsonArray user;
    for (int index = 0; index < ModPreset::PresetCount; ++index) {
        if (!ModPreset::state.PresetUsed[index])
            continue;
        const QJsonObject entry{{"number", index + 1},
                                {"name", ModPreset::state.PresetNames[index].trimmed()}};
        (index < ModPreset::FactoryCount ? factory : user).append(entry);
    }
    return {{"factory", factory}, {"user", user}};
}

/// The number of a preset request, or its refusal.
std::variant<int, QString> PresetNumber(const QJsonObject &message)
{
    const QString source = message.value(QLatin1String("source")).toString();
    const QJsonValue number = message.value(QLatin1String("number"));
    const bool factory = source == QLatin1String("factory");
    if (!factory && source != QLatin1String("user"))
        return QStringLiteral("source: not \"user\" or \"factory\"");
    const int first = factory ? 1 : ModPreset::FactoryCount + 1;
    const int last = factory ? ModPreset::FactoryCount : ModPreset::PresetCount;
    const double value = number.toDouble(-1);
    if (!number.isDouble() || value != std::floor(value) || value < first || value > last)
        return QStringLiteral("number: %1 presets are numbered %2 to %3")
            .arg(source)
            .arg(first)
            .arg(last);
    return static_cast<int>(value);
}

PageMessage ParseSet(const Id &id, const QJsonObject &message)
{
    const auto checked = ParameterEdit::Check(message.value(QLatin1String("path")).toString(),
                                              message.value(QLatin1String("value")));
    if (const auto *reason = std::get_if<QString>(&checked))
        return Refusal{id, *reason};
    return SetRequest{id, std::get<ParameterEdit::Assignment>(checked)};
}

PageMessage ParsePreset(const Id &id, const QJsonObject &message)
{
    const auto number = PresetNumber(message);
    if (const auto *reason = std::get_if<QString>(&number))
        return Refusal{id, *reason};
    return PresetRequest{id, std::get<int>(number)};
}

} // namespace

PageMessage Parse(const QByteArray &frame)
{
    const QJsonDocument document = QJsonDocument::fromJson(frame);
    if (!document.isObject())
        return Refusal{{}, QStringLiteral("not a JSON object")};
    const QJsonObject message = document.object();
    const QJsonValue given = message.value(QLatin1String("id"));
    const Id id = given.isDouble() ? given : QJsonValue(QJsonValue::Undefined);
    const QString type = message.value(QLatin1String("type")).toString();
    if (type == QLatin1String("set"))
        return ParseSet(id, message);
    if (type == QLatin1String("preset"))
        return ParsePreset(id, message);
    return Refusal{id, QStringLiteral("type: not \"set\" or \"preset\"")};
}

QString ReaderNote()
{
    return QStringLiteral("Another remote is editing: this one only shows the setting.");
}

QByteArray Hello(Role role, const QString &note)
{
    QJsonArray meterNames;
    for (const char *name :
         {"Input A", "Input B", "Output A", "Output B", "Limiter A", "Limiter B"})
        meterNames.append(QLatin1String(name));
    return Text({{"type", "hello"},
                 {"role", RoleName(role)},
                 {"note", note},
                 {"demo", ModTxRx::state.DemoMode},
                 {"locked", ModLock::state.LockState == 1},
                 {"tables", Tables()},
                 {"meterNames", meterNames},
                 {"presets", Presets()}});
}

QByteArray Setting(const SettingJson::Image &image, bool locked)
{
    return Text({{"type", "setting"}, {"setting", SettingJson::ToJson(image)}, {"locked", locked}});
}

QByteArray Curves()
{
    QJsonArray hz;
    std::array<QJsonArray, 2> levels;
    for (int x = 0; x < ModGraph::PointCount; ++x) {
        hz.append(Rounded(ModGraph::PointFrequency(x)));
        for (int channel = 0; channel < 2; ++channel)
            levels[channel].append(Rounded(ModGraph::state.TotalCurve[channel][x]));
    }
    return Text({{"type", "curves"}, {"hz", hz}, {"A", levels[0]}, {"B", levels[1]}});
}

QByteArray MeterLevels()
{
    QJsonArray levels;
    for (int bar = 0; bar < Meters::BarCount; ++bar) {
        const double lit = Meters::state.MeterSegments[bar];
        // A limiter bar lights its segments downwards from no reduction (6 of them).
        levels.append(bar < Meters::FirstLimiterBar
                          ? lit / Meters::SegmentsPerBar
                          : (Meters::SegmentsPerBar - 1 - lit) / (Meters::SegmentsPerBar - 1));
    }
    return Text({{"type", "meters"}, {"levels", levels}});
}

QByteArray RoleChange(Role role, const QString &note)
{
    return Text({{"type", "role"}, {"role", RoleName(role)}, {"note", note}});
}

QByteArray Result(const Id &id)
{
    return Text({{"type", "result"}, {"id", id}, {"ok", true}});
}

QByteArray Result(const Refusal &refusal)
{
    return Text(
        {{"type", "result"}, {"id", refusal.id}, {"ok", false}, {"reason", refusal.reason}});
}

} // namespace RemoteMessages
