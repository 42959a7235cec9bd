#include "model/SettingHistory.h"

#include <utility>

#include <QScopedValueRollback>
#include <QStringList>

#include "model/ModFun.h"
#include "model/SettingJson.h"

namespace ModFun {

namespace {

int openSteps = 0;

QString TextOf(const char *verb, const QString &name)
{
    return QLatin1String(verb) + QLatin1Char(' ') + name;
}

using SettingJson::Field;
using ValueTables::BandsPerChannel;

/// The block a parameter belongs to, as the windows name it.
QString BlockOf(const SettingJson::Parameter &parameter)
{
    switch (parameter.field) {
    case Field::BandGain:
    case Field::BandFrequency:
    case Field::BandQ:
        return QStringLiteral("EQ band %1").arg(parameter.index % BandsPerChannel + 1);
    case Field::FilterFrequency:
    case Field::FilterSlope:
        return parameter.index % 2 ? QStringLiteral("low-pass") : QStringLiteral("high-pass");
    case Field::LimiterThreshold:
    case Field::LimiterRelease:
    case Field::LimiterAttack:
        return QStringLiteral("limiter");
    case Field::GateEnabled:
    case Field::GateThreshold:
    case Field::GateRelease:
    case Field::GateAttack:
        return QStringLiteral("gate");
    case Field::Delay:
        return QStringLiteral("delay");
    case Field::Mute:
        return QStringLiteral("mute");
    case Field::EqMode:
        return QStringLiteral("EQ type");
    case Field::Link:
        return QStringLiteral("Channel Link");
    }
    return {};
}

/// The field within its block; none for a block of one value.
QString FieldOf(Field field)
{
    switch (field) {
    case Field::BandGain:
        return QStringLiteral("gain");
    case Field::BandFrequency:
    case Field::FilterFrequency:
        return QStringLiteral("frequency");
    case Field::BandQ:
        return QStringLiteral("Q");
    case Field::FilterSlope:
        return QStringLiteral("slope");
    case Field::LimiterThreshold:
    case Field::GateThreshold:
        return QStringLiteral("threshold");
    case Field::LimiterRelease:
    case Field::GateRelease:
        return QStringLiteral("release");
    case Field::LimiterAttack:
    case Field::GateAttack:
        return QStringLiteral("attack");
    case Field::GateEnabled:
        return QStringLiteral("on/off");
    case Field::Delay:
    case Field::Mute:
    case Field::EqMode:
    case Field::Link:
        return {};
    }
    return {};
}

/// "gain", "gain and frequency", "threshold, release and attack".
QString ListText(QStringList items)
{
    const QString last = items.takeLast();
    return items.isEmpty() ? last
                           : items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

/// Each changed block with its changed fields, in image order: "EQ band 4 gain, EQ band 5 Q".
QString ChangesText(const std::vector<SettingJson::Parameter> &changed)
{
    QStringList blocks;
    QString block;
    QStringList fields;
    const auto addBlock = [&] {
        if (!block.isEmpty())
            blocks << (fields.isEmpty() ? block : block + QLatin1Char(' ') + ListText(fields));
        fields.clear();
    };
    for (const SettingJson::Parameter &parameter : changed) {
        if (BlockOf(parameter) != block) {
            addBlock();
            block = BlockOf(parameter);
        }
        if (const QString field = FieldOf(parameter.field); !field.isEmpty())
            fields << field;
    }
    addBlock();
    return blocks.join(QStringLiteral(", "));
}

} // namespace

void SettingHistory::Push(Step step)
{
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(done), steps.end());
    steps.push_back(std::move(step));
    if (steps.size() > static_cast<std::size_t>(Depth))
        steps.pop_front();
    done = steps.size();
    emit changed();
}

QString SettingHistory::UndoText() const
{
    return CanUndo() ? TextOf("Undo", steps[done - 1].name) : QString();
}

QString SettingHistory::RedoText() const
{
    return CanRedo() ? TextOf("Redo", steps[done].name) : QString();
}

bool SettingHistory::Undo()
{
    if (!CanUndo() || !Apply(steps[done - 1].before))
        return false;
    --done;
    emit changed();
    return true;
}

bool SettingHistory::Redo()
{
    if (!CanRedo() || !Apply(steps[done].after))
        return false;
    ++done;
    emit changed();
    return true;
}

void SettingHistory::Clear()
{
    steps.clear();
    done = 0;
    hasB = false;
    bActive = false;
    emit changed();
}

void SettingHistory::MarkSaved()
{
    saved = state.ParamImage;
    emit changed();
}

bool SettingHistory::Unsaved() const
{
    return state.ParamImage != saved;
}

void SettingHistory::CopyToB()
{
    compared[1] = state.ParamImage;
    hasB = true;
    bActive = false;
    emit changed();
}

bool SettingHistory::SwitchAB()
{
    if (!hasB)
        return false;
    compared[bActive ? 1 : 0] = state.ParamImage;
    if (!Apply(compared[bActive ? 0 : 1]))
        return false;
    bActive = !bActive;
    emit changed();
    return true;
}

bool SettingHistory::Apply(Image target)
{
    const QScopedValueRollback guard(applying, true);
    const bool applied = ApplyImage(target);
    emit settingReplaced();
    return applied;
}

SettingHistory &history()
{
    static SettingHistory instance;
    return instance;
}

QString ChannelStepName(int channel, const QString &what)
{
    return QStringLiteral("CH.") + QLatin1Char(channel == 0 ? 'A' : 'B') + QLatin1Char(' ') + what;
}

QString EditStepName(int channel, const Image &before, const Image &after)
{
    std::vector<SettingJson::Parameter> changed = SettingJson::ChangedParameters(before, after);
    std::erase_if(changed,
                  [channel](const auto &parameter) { return parameter.channel != channel; });
    return ChannelStepName(channel, ChangesText(changed));
}

OperatorStep::OperatorStep(QString name)
    : OperatorStep(Naming([name = std::move(name)](const Image &, const Image &) { return name; }))
{ }

OperatorStep::OperatorStep(int channel)
    : OperatorStep(Naming([channel](const Image &from, const Image &to) {
          return EditStepName(channel, from, to);
      }))
{ }

OperatorStep::OperatorStep(Naming stepNaming)
    : naming(std::move(stepNaming)), before(state.ParamImage), outermost(openSteps == 0)
{
    ++openSteps;
}

OperatorStep::~OperatorStep()
{
    --openSteps;
    if (outermost && !history().Applying() && state.ParamImage != before)
        history().Push({naming(before, state.ParamImage), before, state.ParamImage});
}

} // namespace ModFun
