#include "presets/ModPreset.h"

#include <algorithm>

#include "model/ValueTables.h"

namespace ModPreset {

namespace {

State EmptyList()
{
    State list;
    list.PresetNames.fill(EmptyName());
    return list;
}

QString WithoutLeadingBlanks(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == u' ')
        ++first;
    return text.mid(first);
}

} // namespace

State state = EmptyList();

QString EmptyName()
{
    return QStringLiteral(" Empty  ");
}

void Reset()
{
    state = EmptyList();
}

void FillFactoryEntries()
{
    for (int n = 0; n < FactoryCount; ++n) {
        state.PresetUsed[n] = true;
        state.PresetNames[n] = QString::fromLatin1(ValueTables::FactoryPresetNames[n]);
    }
}

QString CenteredName(const QString &name)
{
    const QString kept = name.left(NameLength);
    const qsizetype spare = NameLength - kept.size();
    const qsizetype right = spare / 2;
    return QString(spare - right, u' ') + kept + QString(right, u' ');
}

QString PresetTitleFor(int index)
{
    const int n = std::clamp(index, 0, PresetCount - 1);
    return QStringLiteral("P%1 - ").arg(n + 1) + WithoutLeadingBlanks(state.PresetNames[n]);
}

} // namespace ModPreset
