#include "model/SettingHistory.h"

#include <QScopedValueRollback>

#include "model/ModFun.h"

namespace ModFun {

namespace {

int openSteps = 0;

QString TextOf(const char *verb, const QString &name)
{
    return QLatin1String(verb) + QLatin1Char(' ') + name;
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

OperatorStep::OperatorStep(QString stepName)
    : name(std::move(stepName)), before(state.ParamImage), outermost(openSteps == 0)
{
    ++openSteps;
}

OperatorStep::~OperatorStep()
{
    --openSteps;
    if (outermost && !history().Applying() && state.ParamImage != before)
        history().Push({name, before, state.ParamImage});
}

} // namespace ModFun
