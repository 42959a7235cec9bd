// Preset actions against the virtual unit at 9600 baud (--pace): reading a user preset, storing
// one and uploading a preset file, each against its wire floor (frames x 20.83 ms).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "PacedUnit.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "shell/Messages.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 9;
/// 10 bytes out and 10 back at 10 bits a byte and 9600 baud.
constexpr double WireMsPerExchange = 20.0 * 10.0 / 9600.0 * 1000.0;

struct Action
{
    const char *name;
    int frames;
    std::function<bool()> run;
};

/// Milliseconds of each run; empty when one failed.
std::vector<double> Measure(const Action &action)
{
    std::vector<double> runs;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point start = Clock::now();
        if (!action.run())
            return {};
        runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

bool Report(const Action &action)
{
    const std::vector<double> runs = Measure(action);
    if (runs.empty()) {
        std::fprintf(stderr, "%s failed\n", action.name);
        return false;
    }
    const double floorMs = action.frames * WireMsPerExchange;
    const double median = runs[runs.size() / 2];
    std::printf("%-26s %2d frames, floor %6.1f ms   best %6.1f   median %6.1f   worst %6.1f ms"
                "   ratio %.3f (target <= 1.02)\n",
                action.name, action.frames, floorMs, runs.front(), median, runs.back(),
                median / floorMs);
    return true;
}

bool WritePresetFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto &image = ModFun::state.ParamImage;
    return file.write(reinterpret_cast<const char *>(image.data()), image.size()) ==
        qint64(image.size());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    PacedUnit paced;
    QTemporaryDir files;
    if (!paced.Connect(false))
        return 1;
    ModPreset::FillFactoryEntries();
    ModFun::LoadDefaultImage();
    ModFun::state.ParamImage[0] = 44;
    const QString path = files.filePath(QStringLiteral("bench.RFP"));
    Messages::SetFilePresenter([&path](const Messages::FileRequest &) { return path; });
    if (!WritePresetFile(path))
        return 1;

    using DevicePresets::Outcome;
    const Action actions[] = {
        {"store a user preset", 36,
         [] {
             return DevicePresets::Memorize_eep(0, QStringLiteral("Bench"), {}) == Outcome::Done;
         }},
        {"read a user preset", 33,
         [] { return DevicePresets::ReadUserPreset(16, {}) == Outcome::Done; }},
        {"upload a preset file", 33,
         [] {
             return PresetFiles::LoadPresetFile(PresetFiles::Kind::User, {}) ==
                 PresetFiles::LoadOutcome::Loaded;
         }},
    };
    std::printf("Preset actions with --pace, %d runs each; %.2f ms a frame on the wire\n", Runs,
                WireMsPerExchange);
    for (const Action &action : actions) {
        if (!Report(action))
            return 1;
    }
    return 0;
}
