// response and sheet: the response and the settings sheet as files.
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>

#include "cli/CommandContext.h"
#include "cli/RestoreInput.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "report/ResponseDrawing.h"
#include "report/SettingsSheet.h"

namespace Cli {

namespace {

/// The setting of a JSON or preset file, derived into the model and the curves as a loaded
/// preset file is, without a unit.
std::optional<Exit> TakeSettingFrom(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(BadInput, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const RestoreInput::Taken taken = RestoreInput::Take(file.readAll());
    if (!taken.refusal.isEmpty())
        return Fail(BadInput, QStringLiteral("%1: %2").arg(path, taken.refusal));
    ModFun::state.ParamImage = PresetFiles::state.LoadBuffer;
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    ModFun::SendWholeState();
    ModFun::state.PresetSource = QStringLiteral("File");
    ModFun::state.PresetTitle = QFileInfo(path).fileName();
    return std::nullopt;
}

/// The setting of `--from FILE`, else the unit's (released again at once); the curve store then
/// follows it.
std::optional<Exit> TakeSetting(const Context &context)
{
    const QString from = context.parser.value(QStringLiteral("from"));
    if (!from.isEmpty()) {
        if (auto refused = TakeSettingFrom(from))
            return refused;
    } else {
        Session session(context.global);
        if (auto failed = session.Connect())
            return failed;
        ModFun::state.PresetSource = QStringLiteral("Preset");
        ModFun::state.PresetTitle = ModPreset::PresetTitleFor(ModPreset::state.CurrentPreset);
    }
    ModGraph::ComputeAllCurves();
    return std::nullopt;
}

std::optional<Report::Channels> ChannelsOption(const QString &text)
{
    if (text == QLatin1String("A"))
        return Report::Channels::A;
    if (text == QLatin1String("B"))
        return Report::Channels::B;
    if (text == QLatin1String("both"))
        return Report::Channels::Both;
    return std::nullopt;
}

std::optional<Report::Points> PointsOption(const QString &text)
{
    if (text == QLatin1String("program"))
        return Report::Points::Program;
    if (text == QLatin1String("24"))
        return Report::Points::TwentyFourthOctave;
    return std::nullopt;
}

} // namespace

Exit RunResponse(const Context &context)
{
    const QString path = context.arguments.value(0);
    const auto channels = ChannelsOption(context.parser.value(QStringLiteral("channel")));
    const auto points = PointsOption(context.parser.value(QStringLiteral("points")));
    if (!channels || !points)
        return Fail(Usage, QStringLiteral("--channel takes A, B or both; --points program or 24"));
    if (!Report::FormatOf(path))
        return Fail(Usage, QStringLiteral("%1: the name must end in .csv, .png or .svg").arg(path));
    if (auto failed = TakeSetting(context))
        return *failed;
    const QString error = Report::WriteResponse(path, *channels, *points);
    return error.isEmpty() ? Done : Fail(BadInput, error);
}

Exit RunSheet(const Context &context)
{
    const QString path = context.arguments.value(0);
    if (auto failed = TakeSetting(context))
        return *failed;
    Report::SheetFacts facts = Report::CurrentSheetFacts();
    if (!context.parser.isSet(QStringLiteral("from")))
        facts.unit = Report::ConnectedUnitText();
    const QString error = Report::WriteSheetPdf(path, facts);
    return error.isEmpty() ? Done : Fail(BadInput, error);
}

} // namespace Cli
