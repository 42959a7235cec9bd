// Any text given as an EQ file: refused with the reason, or read into filters whose plan in either
// mode puts each imported filter on its own band with codes inside the tables, lists every other
// filter with its reason, and gives a finite difference. Applied, the channel holds the plan's
// bands as one undo step, or the link was lost and the operator told.
#include <cmath>
#include <set>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "eqimport/EqPlan.h"
#include "model/SettingHistory.h"

namespace {

/// Pieces of EQ lines, so that short inputs reach past the line patterns.
constexpr std::array<const char *, 32> Pieces{
    "Filter ", "Filter 1:", "Filter:", "Preamp:", " ON",   " OFF",   " PK",    " LS",
    " None",   " Fc",       " 100",    " 1,25",   " -3.5", " 0",     " nan",   " 1e309",
    " kHz",    " Hz",       " Gain",   " dB",     " Q",    " 2",     " 0.01",  " BW",
    " Oct",    " 0.67",     " 99",     "\n",      "\r\n",  " 20000", "Notes:", " x"};

QByteArray PieceText(FuzzInput &input)
{
    QByteArray text;
    while (!input.Empty())
        text += Pieces[input.Byte() % Pieces.size()];
    return text;
}

void CheckPlan(const EqText::Read &read, const EqPlan::Plan &plan)
{
    Require(plan.rows.size() == read.filters.size(), "every filter line has a row");
    std::set<int> bands;
    for (const EqPlan::Row &row : plan.rows) {
        if (row.band < 0) {
            Require(!row.notes.isEmpty(), "a filter not imported says why");
            continue;
        }
        Require(row.band < ValueTables::BandsPerChannel && bands.insert(row.band).second,
                "each imported filter has a band of its own");
        Require(row.codes.gain >= 0 && row.codes.gain <= ValueTables::LastGainCode &&
                    row.codes.frequency >= 0 && row.codes.frequency <= ValueTables::LastFreqCode &&
                    row.codes.q >= 0 && row.codes.q <= ValueTables::LastQCode,
                "imported codes lie inside their tables");
    }
    Require(std::isfinite(plan.curves.largestDifferenceDb), "the difference is a number");
}

void CheckApply(FuzzInput &input, const EqText::Read &read)
{
    FuzzSerial serial(input);
    ResetProgramWithSerial(&serial);
    ModFun::history().Clear();
    AnswerMessagesFrom(input);
    const EqPlan::Plan plan =
        EqPlan::MakePlan(read, EqPlan::Mode::Parametric, EqPlan::CurrentBands(1));
    if (!EqPlan::Apply(plan, EqPlan::Channels::B)) {
        Require(ToldLinkProblem(), "a lost link is told");
        return;
    }
    const EqPlan::ChannelBands held = EqPlan::CurrentBands(1);
    for (int k = 0; k < ValueTables::BandsPerChannel; ++k)
        Require(held[k].gain == plan.bands[k].gain &&
                    held[k].frequency == plan.bands[k].frequency && held[k].q == plan.bands[k].q,
                "channel B holds the plan's bands");
    Require(ModFun::history().CanUndo() && ModFun::history().UndoText().contains("EQ import"),
            "the import is an undo step");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const bool pieces = input.Byte() & 1;
    const QByteArray text = pieces ? PieceText(input) : input.Take(size);
    const EqText::Read read = EqText::ReadText(text);
    if (!read.refusal.isEmpty())
        return 0;
    Require(read.HasUsable(), "a text read has a usable filter");
    for (const auto mode : {EqPlan::Mode::Parametric, EqPlan::Mode::Graphic})
        CheckPlan(read, EqPlan::MakePlan(read, mode, EqPlan::CurrentBands(0)));
    CheckApply(input, read);
    return 0;
}
