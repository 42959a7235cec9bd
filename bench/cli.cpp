// mxrf418-cli against the virtual unit at 9600 baud (--pace): `dump --preset-file` and `restore`
// of that file, each as a process with --trace. The wire span runs from the first request to
// the last reply (the release included) over the frames the trace shows; its floor is
// frames x 20.83 ms. The whole process time (start-up and the release's 50 ms wait) is shown
// beside it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTime>

#include "TemporaryConfig.h"
#include "VirtualUnit.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 7;
/// 10 bytes out and 10 back at 10 bits a byte and 9600 baud.
constexpr double WireMsPerExchange = 20.0 * 10.0 / 9600.0 * 1000.0;

struct Run
{
    int frames = 0;
    double spanMs = 0;
    /// The span less the round trips: the tool's own time between frames.
    double gapsMs = 0;
    double processMs = 0;
};

/// Frames and span from the trace lines
/// "<hh:mm:ss.zzz>  <request> -> <reply>  <round trip> ms  answered".
Run ReadTrace(const QString &trace)
{
    static const QRegularExpression line(
        QStringLiteral(
            R"(^(\d\d:\d\d:\d\d\.\d{3})  [0-9A-F ]+ -> [0-9A-F ]+  ([0-9.]+) ms  answered$)"),
        QRegularExpression::MultilineOption);
    Run run;
    double first = -1;
    double end = 0;
    double roundTrips = 0;
    for (auto match = line.globalMatch(trace); match.hasNext();) {
        const auto exchange = match.next();
        const double startMs = QTime(0, 0).msecsTo(
            QTime::fromString(exchange.captured(1), QStringLiteral("HH:mm:ss.zzz")));
        if (first < 0)
            first = startMs;
        end = startMs + exchange.captured(2).toDouble();
        roundTrips += exchange.captured(2).toDouble();
        ++run.frames;
    }
    run.spanMs = end - first;
    run.gapsMs = run.spanMs - roundTrips;
    return run;
}

std::optional<Run> RunCli(const QStringList &arguments)
{
    QProcess process;
    const Clock::time_point start = Clock::now();
    process.start(QStringLiteral(MXRF_CLI_PROGRAM), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s", process.readAllStandardError().constData());
        return std::nullopt;
    }
    Run run = ReadTrace(QString::fromUtf8(process.readAllStandardError()));
    run.processMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return run;
}

bool Report(const char *name, const QStringList &arguments)
{
    std::vector<Run> runs;
    for (int i = 0; i < Runs; ++i) {
        const std::optional<Run> run = RunCli(arguments);
        if (!run)
            return false;
        runs.push_back(*run);
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run &a, const Run &b) { return a.spanMs < b.spanMs; });
    const Run &median = runs[runs.size() / 2];
    const double floorMs = median.frames * WireMsPerExchange;
    std::printf(
        "%-8s %2d frames, floor %6.1f ms   wire span best %6.1f  median %6.1f  worst %6.1f"
        " ms   ratio %.3f (target <= 1.02; best %.3f)   between frames %.1f ms   whole process"
        " %6.1f ms\n",
        name, median.frames, floorMs, runs.front().spanMs, median.spanMs, runs.back().spanMs,
        median.spanMs / floorMs, runs.front().spanMs / floorMs, median.gapsMs, median.processMs);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    TemporaryConfig config;
    QTemporaryDir files;
    VirtualUnit unit;
    if (!unit.Start({0, {"--pace"}, false})) {
        std::fprintf(stderr, "virtual unit: %s\n", qPrintable(unit.ErrorString()));
        return 1;
    }
    const QString file = files.filePath(QStringLiteral("bench.RFP"));
    const QStringList device{QStringLiteral("--device"), unit.PtyPath(), QStringLiteral("--trace")};
    std::printf("mxrf418-cli with --pace, %d runs each; %.2f ms a frame on the wire\n", Runs,
                WireMsPerExchange);
    if (!Report("dump",
                device +
                    QStringList{QStringLiteral("dump"), QStringLiteral("--preset-file"), file}) ||
        !Report("restore", device + QStringList{QStringLiteral("restore"), file}))
        return 1;
    return 0;
}
