// The A/B switch against the virtual unit at 9600 baud (--pace): the frames and time of a switch
// between settings that differ in one band and between two whole presets, beside the whole-state
// transfer (44 frames) a switch would otherwise be.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QScopedValueRollback>

#include "PacedUnit.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/SettingHistory.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 9;
constexpr int WholeStateFrames = 44;

struct Figures
{
    int frames = 0;
    double medianMs = 0;
};

/// Runs `action` `Runs` times; the frames of one run from the unit's log, the median time.
Figures Measure(const VirtualUnit &unit, const std::function<bool()> &action)
{
    std::vector<double> runs;
    int frames = 0;
    for (int run = 0; run < Runs; ++run) {
        const int logged = static_cast<int>(unit.LogLines().size());
        const Clock::time_point start = Clock::now();
        if (!action())
            return {};
        runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        frames = static_cast<int>(unit.LogLines().size()) - logged;
    }
    std::sort(runs.begin(), runs.end());
    return {frames, runs[runs.size() / 2]};
}

void Report(const char *name, const Figures &figures)
{
    std::printf("%-30s %2d frames (whole state %d)   median %7.1f ms\n", name, figures.frames,
                WholeStateFrames, figures.medianMs);
}

/// Band 4 of channel A at another gain, mirrored onto B as a linked edit leaves it.
bool EditOneBand()
{
    const ModFun::BandCodes codes{40, 28, 24};
    if (!ModFun::SetEqBand(3, codes))
        return false;
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    return ModFun::SetEqBand(3 + ValueTables::BandsPerChannel, codes);
}

bool LoadFactoryPreset(int index)
{
    const auto &image = ValueTables::FactoryPresetImages[index];
    std::copy(image.begin(), image.end(), ModFun::state.ParamImage.begin());
    return ModFun::SendWholeState();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    PacedUnit paced;
    if (!paced.Connect(true))
        return 1;
    const VirtualUnit &unit = paced.unit;
    ModFun::SettingHistory &history = ModFun::history();
    const auto switchAB = [&history] { return history.SwitchAB(); };

    std::printf("A/B switch with --pace, %d runs each\n", Runs);
    Report("whole-state transfer", Measure(unit, [] { return LoadFactoryPreset(0); }));
    history.CopyToB();
    if (!EditOneBand())
        return 1;
    Report("switch, one band differs", Measure(unit, switchAB));

    if (history.BActive() && !history.SwitchAB())
        return 1;
    if (!LoadFactoryPreset(9))
        return 1;
    Report("switch, another whole preset", Measure(unit, switchAB));
    return 0;
}
