// eq import: a parametric EQ file snapped onto a channel's bands.
#include "cli/CommandContext.h"
#include "cli/Terminal.h"
#include "eqimport/EqPlan.h"

namespace Cli {

namespace {

std::optional<EqPlan::Channels> ChannelsOf(const QString &text)
{
    if (text.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
        return EqPlan::Channels::A;
    if (text.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0)
        return EqPlan::Channels::B;
    if (text.compare(QLatin1String("both"), Qt::CaseInsensitive) == 0)
        return EqPlan::Channels::Both;
    return std::nullopt;
}

/// Each filter line and what became of it, the notes, the largest difference.
void PrintPlan(const EqPlan::Plan &plan)
{
    for (const EqPlan::Row &row : plan.rows)
        Terminal::PrintOut(QStringLiteral("line %1: %2 -> %3")
                               .arg(row.given.line)
                               .arg(row.given.text, EqPlan::Outcome(row)));
    for (const QString &note : plan.notes)
        Terminal::PrintOut(note);
    Terminal::PrintOut(QStringLiteral("largest difference: %1 dB (20 Hz - 20 kHz)")
                           .arg(plan.curves.largestDifferenceDb, 0, 'f', 2));
}

} // namespace

Exit RunEq(const Context &context)
{
    if (context.arguments.value(0) != QLatin1String("import"))
        return Fail(Usage, QStringLiteral("usage: mxrf418-cli eq import FILE --channel A|B"));
    const auto channels = ChannelsOf(context.parser.value(QStringLiteral("channel")));
    if (!channels)
        return Fail(Usage, QStringLiteral("--channel takes A, B or both"));
    const QString path = context.arguments.value(1);
    const EqText::Read read = EqText::ReadFile(path);
    if (!read.refusal.isEmpty())
        return Fail(BadInput, QStringLiteral("%1: %2; nothing was sent").arg(path, read.refusal));
    const int channel = *channels == EqPlan::Channels::B ? 1 : 0;
    if (context.parser.isSet(QStringLiteral("dry-run"))) {
        PrintPlan(EqPlan::MakePlan(read, EqPlan::Mode::Parametric, EqPlan::CurrentBands(channel)));
        return Done;
    }
    Session session(context.global);
    if (auto failed = session.Connect())
        return *failed;
    if (auto locked = session.RefuseIfLocked())
        return *locked;
    const EqPlan::Plan plan =
        EqPlan::MakePlan(read, EqPlan::Mode::Parametric, EqPlan::CurrentBands(channel));
    PrintPlan(plan);
    if (ModFun::state.GeqSelected != 0)
        Terminal::PrintError(QStringLiteral("the unit's equaliser becomes parametric"));
    if (!EqPlan::Apply(plan, *channels))
        return Fail(LinkLost,
                    QStringLiteral("link lost: the import did not reach the unit "
                                   "whole; 'mxrf418-cli get' tells what it holds"));
    return Done;
}

} // namespace Cli
