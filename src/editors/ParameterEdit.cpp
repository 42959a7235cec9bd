#include "editors/ParameterEdit.h"

#include <cmath>
#include <functional>

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QScopedValueRollback>

#include "editors/EditorValues.h"
#include "editors/newMod.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"

namespace ParameterEdit {

namespace {

using SettingJson::Field;
using SettingJson::Parameter;
using namespace ValueTables;

bool IsSwitch(Field field)
{
    return field == Field::Mute || field == Field::GateEnabled || field == Field::Link;
}

std::optional<double> SwitchValue(const QString &text)
{
    const QString word = text.toLower();
    for (const char *on : {"true", "on", "1", "yes"}) {
        if (word == QLatin1String(on))
            return 1;
    }
    for (const char *off : {"false", "off", "0", "no"}) {
        if (word == QLatin1String(off))
            return 0;
    }
    return std::nullopt;
}

/// The index of a named choice, any case.
std::optional<double> ChoiceValue(const QString &text, const QStringList &names)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (text.compare(names[i], Qt::CaseInsensitive) == 0)
            return double(i);
    }
    return std::nullopt;
}

QStringList SlopeChoices()
{
    QStringList names;
    for (const char *name : SlopeNames)
        names << QLatin1String(name);
    return names;
}

QStringList EqModeChoices()
{
    return {QStringLiteral("parametric"), QStringLiteral("graphic")};
}

QString NumberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> NumberValue(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

/// What a value of the field may be written as, for a refusal.
QString ValueForm(Field field)
{
    if (IsSwitch(field))
        return QStringLiteral("true or false");
    if (field == Field::FilterSlope)
        return SlopeChoices().join(QStringLiteral(", "));
    if (field == Field::EqMode)
        return EqModeChoices().join(QStringLiteral(" or "));
    return QStringLiteral("a number");
}

std::optional<double> ReadValue(Field field, const QString &text)
{
    if (IsSwitch(field))
        return SwitchValue(text);
    if (field == Field::FilterSlope)
        return ChoiceValue(text, SlopeChoices());
    if (field == Field::EqMode)
        return ChoiceValue(text, EqModeChoices());
    return NumberValue(text);
}

Parameter Twin(Parameter parameter)
{
    parameter.channel = 1 - parameter.channel;
    if (parameter.field == Field::BandGain || parameter.field == Field::BandFrequency ||
        parameter.field == Field::BandQ)
        parameter.index = FilterEdit::TwinBand(parameter.index);
    if (parameter.field == Field::FilterFrequency || parameter.field == Field::FilterSlope)
        parameter.index = FilterEdit::TwinFilter(parameter.index);
    return parameter;
}

bool SetBand(const Parameter &parameter, double value)
{
    ModFun::BandCodes codes = ModFun::EqBandCodes(parameter.index);
    if (parameter.field == Field::BandGain)
        codes.gain =
            FilterEdit::GainIndexOfSlider(FilterEdit::SliderOfGain(newMod::SnapFilterGain(value)));
    else if (parameter.field == Field::BandFrequency)
        codes.frequency = ModGraph::NearestFrequencyIndex(FilterEdit::ClampFrequency(value));
    else
        codes.q = newMod::QIndexOf(value);
    return ModFun::SetEqBand(parameter.index, codes);
}

bool SetFilter(const Parameter &parameter, double value)
{
    ModFun::FilterCodes codes = ModFun::CrossoverCodes(parameter.index);
    if (parameter.field == Field::FilterFrequency)
        codes.frequency = ModGraph::NearestFrequencyIndex(FilterEdit::ClampFrequency(value));
    else
        codes.slope = static_cast<int>(value);
    return ModFun::SetCrossover(parameter.index, codes);
}

bool SetLimiter(const Parameter &parameter, double value)
{
    ModFun::LimiterCodes codes = ModFun::ChannelLimiterCodes(parameter.channel);
    if (parameter.field == Field::LimiterThreshold)
        codes.threshold = EditorValues::LimiterCodeOfTyped(EditorValues::LimiterThreshold, value);
    else if (parameter.field == Field::LimiterRelease)
        codes.release = EditorValues::LimiterCodeOfTyped(EditorValues::LimiterRelease, value);
    else
        codes.attack = EditorValues::LimiterCodeOfTyped(EditorValues::LimiterAttack, value);
    return ModFun::SetLimiter(parameter.channel, codes);
}

bool SetGate(const Parameter &parameter, double value)
{
    if (parameter.field == Field::GateEnabled)
        return ModFun::SetGateOn(parameter.channel, value != 0);
    const EditorValues::GateValue which = parameter.field == Field::GateThreshold
        ? EditorValues::GateThreshold
        : parameter.field == Field::GateRelease ? EditorValues::GateRelease
                                                : EditorValues::GateAttack;
    return ModFun::SetGateCode(parameter.channel, which,
                               EditorValues::GateCodeOfTyped(which, value));
}

bool SetDelay(const Parameter &parameter, double value)
{
    const EditorValues::DelaySetting delay = EditorValues::DelayOfTyped(value, false);
    return ModFun::SetDelay(parameter.channel, delay.coarse, delay.fine);
}

bool SetMute(const Parameter &parameter, double value)
{
    const bool muted = ModFun::state.Mute[parameter.channel] == 1.0;
    if (muted == (value != 0))
        return true;
    ModFun::ToggleMute(parameter.channel);
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

/// The overview panel's link box: switching on copies A onto B in the model first.
bool SetLink(double value)
{
    const bool on = value != 0;
    return ModFun::state.LinkBoxTicked == on || ModFun::SetChannelLink(on);
}

bool SetEqMode(double value)
{
    return ModFun::SetEqType(value != 0);
}

/// The setter of a channel's parameter.
std::function<bool(const Parameter &, double)> ChannelSetter(Field field)
{
    switch (field) {
    case Field::BandGain:
    case Field::BandFrequency:
    case Field::BandQ:
        return SetBand;
    case Field::FilterFrequency:
    case Field::FilterSlope:
        return SetFilter;
    case Field::LimiterThreshold:
    case Field::LimiterRelease:
    case Field::LimiterAttack:
        return SetLimiter;
    case Field::GateEnabled:
    case Field::GateThreshold:
    case Field::GateRelease:
    case Field::GateAttack:
        return SetGate;
    case Field::Delay:
        return SetDelay;
    case Field::Mute:
        return SetMute;
    default:
        return {};
    }
}

QString ValueText(const QJsonValue &value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

QString Refused(const QString &name, const QJsonValue &value, const QString &allowed)
{
    return QStringLiteral("%1: %2 is not %3").arg(name, ValueText(value), allowed);
}

/// A number of the field, or its refusal.
std::variant<double, QString> CheckedNumber(const QString &name, const QJsonValue &value,
                                            Field field)
{
    const SettingJson::Span range = *SettingJson::RangeOf(field);
    const QString allowed = QStringLiteral("a number from %1 to %2")
                                .arg(NumberText(range.lowest), NumberText(range.highest));
    if (!value.isDouble() || value.toDouble() < range.lowest || value.toDouble() > range.highest)
        return Refused(name, value, allowed);
    return value.toDouble();
}

std::variant<double, QString> CheckedValue(const QString &name, const QJsonValue &value,
                                           Field field)
{
    if (IsSwitch(field)) {
        if (!value.isBool())
            return Refused(name, value, ValueForm(field));
        return value.toBool() ? 1.0 : 0.0;
    }
    if (field == Field::FilterSlope || field == Field::EqMode) {
        const std::optional<double> choice =
            value.isString() ? ReadValue(field, value.toString()) : std::nullopt;
        if (!choice)
            return Refused(name, value, ValueForm(field));
        return *choice;
    }
    return CheckedNumber(name, value, field);
}

QString CurrentValueText(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isDouble())
        return NumberText(value.toDouble());
    return value.toString();
}

} // namespace

std::variant<Assignment, QString> Parse(const QString &text)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return QStringLiteral("%1: not NAME=VALUE").arg(text);
    const QString name = text.left(equals).trimmed();
    const std::optional<Parameter> parameter = SettingJson::FindParameter(name);
    if (!parameter)
        return QStringLiteral("%1: no such parameter ('mxrf418-cli get' lists them)").arg(name);
    const QString valueText = text.mid(equals + 1);
    const std::optional<double> value = ReadValue(parameter->field, valueText);
    if (!value)
        return QStringLiteral("%1: \"%2\" is not %3")
            .arg(name, valueText, ValueForm(parameter->field));
    return Assignment{name, *parameter, *value};
}

std::variant<Assignment, QString> Check(const QString &name, const QJsonValue &value)
{
    const std::optional<Parameter> parameter = SettingJson::FindParameter(name);
    if (!parameter)
        return QStringLiteral("%1: no such parameter").arg(name);
    const auto checked = CheckedValue(name, value, parameter->field);
    if (const auto *refusal = std::get_if<QString>(&checked))
        return *refusal;
    return Assignment{name, *parameter, std::get<double>(checked)};
}

bool Apply(const Assignment &assignment)
{
    const Parameter &parameter = assignment.parameter;
    if (parameter.field == Field::Link)
        return SetLink(assignment.value);
    if (parameter.field == Field::EqMode)
        return SetEqMode(assignment.value);
    const auto set = ChannelSetter(parameter.field);
    if (!set(parameter, assignment.value))
        return false;
    if (ModFun::state.ChannelLink == 0)
        return true;
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    return set(Twin(parameter), assignment.value);
}

QString CurrentText(const QString &name)
{
    return CurrentValueText(
        SettingJson::ValueOf(SettingJson::ToJson(ModFun::state.ParamImage), name));
}

} // namespace ParameterEdit
