// Start-up against the paced virtual unit: Connect and the load after connecting against the
// wire floor of its frames, then the meter poll's timing, the program's CPU use while it polls
// and its resident memory.

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "editors/ui/FrmMain.h"
#include "link/QtSerialComponent.h"
#include "session/Startup.h"
#include "session/ui/MDIFrmMain.h"

namespace {

constexpr int Runs = 5;
constexpr int PollTicks = 100;
/// 10 bytes out and 10 back at 10 bits a byte and 9600 baud.
constexpr double WireMsPerExchange = 20.0 * 10.0 / 9600.0 * 1000.0;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// A line of /proc/self/status in kB, e.g. "VmRSS".
long StatusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

struct ConnectRun
{
    double ms;
    std::size_t frames;
};

/// The same search and load without any window, for comparison.
ConnectRun TimeCoreLoad(const VirtualUnit &unit)
{
    const std::size_t before = unit.Log().size();
    QElapsedTimer clock;
    clock.start();
    const bool loaded = Startup::FindUnit() && Startup::LoadDeviceState();
    const double ms = clock.nsecsElapsed() / 1e6;
    Startup::ReleaseUnit(false);
    return {loaded ? ms : -1, unit.Log().size() - before - 1};
}

/// Prints one run and answers its ratio to the wire floor.
double Report(const char *what, int run, const ConnectRun &result)
{
    const double floorMs = result.frames * WireMsPerExchange;
    std::printf("  %s run %d: %zu frames, %.1f ms, wire floor %.1f ms, ratio %.3f\n", what, run,
                result.frames, result.ms, floorMs, result.ms / floorMs);
    return result.ms / floorMs;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// Presses Connect (answered Yes) and times it until the panel is open.
ConnectRun TimeConnect(MDIFrmMain &window, ScriptedMessages &messages, const VirtualUnit &unit)
{
    const std::size_t before = unit.Log().size();
    messages.Answer(Messages::Answer::Yes);
    QElapsedTimer clock;
    clock.start();
    window.findChild<QToolBar *>(QStringLiteral("Toolbar1"))
        ->findChild<QPushButton *>(QStringLiteral("Command1"))
        ->click();
    const double ms = clock.nsecsElapsed() / 1e6;
    return {ms, unit.Log().size() - before};
}

void ClosePanel(MDIFrmMain &window, ScriptedMessages &messages)
{
    messages.Answer(Messages::Answer::Yes);
    qobject_cast<QMdiSubWindow *>(window.Panel()->parentWidget())->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Waits for `count` meter ticks after the first and answers their times in ms.
std::vector<double> PollTimes(FrmMain &panel, int count)
{
    std::vector<double> times;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QObject::connect(&panel, &FrmMain::metersPolled, &loop, [&] {
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (static_cast<int>(times.size()) == count + 1)
            loop.quit();
    });
    QTimer::singleShot(1000 + 3 * 100 * count, &loop, &QEventLoop::quit);
    loop.exec();
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TemporaryConfig config;
    QApplication app(argc, argv);
    ScriptedMessages messages;
    VirtualUnit unit;
    if (!unit.Start({1, {"--pace"}})) {
        std::fprintf(stderr, "the virtual unit did not start: %s\n",
                     qPrintable(unit.ErrorString()));
        return 1;
    }
    Startup::WriteInitCfg(1); // the remembered port
    QtSerialComponent serial;
    MDIFrmMain window(serial);
    if (!window.Load())
        return 1;
    window.show();

    std::printf("Search and load without windows (%d runs, remembered port; the release frame "
                "after each is not counted):\n",
                Runs);
    std::vector<double> coreRatios;
    for (int run = 0; run < Runs; ++run) {
        const ConnectRun result = TimeCoreLoad(unit);
        if (result.ms < 0) {
            std::fprintf(stderr, "the load failed\n");
            return 1;
        }
        coreRatios.push_back(Report("load", run + 1, result));
    }
    std::printf("  median ratio %.3f\n", Median(coreRatios));

    std::printf("Connect until the panel is open (%d runs, remembered port):\n", Runs);
    std::vector<double> ratios;
    for (int run = 0; run < Runs; ++run) {
        const ConnectRun result = TimeConnect(window, messages, unit);
        if (!window.Panel()) {
            std::fprintf(stderr, "the panel did not open\n");
            return 1;
        }
        ratios.push_back(Report("connect", run + 1, result));
        if (run + 1 < Runs)
            ClosePanel(window, messages);
    }
    std::printf("  median ratio %.3f (target <= 1.03)\n", Median(ratios));

    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    const std::vector<double> times = PollTimes(*window.Panel(), PollTicks);
    const double cpu = CpuSeconds() - cpuBefore;
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    if (static_cast<int>(times.size()) < PollTicks + 1) {
        std::fprintf(stderr, "only %zu meter ticks came\n", times.size());
        return 1;
    }
    std::vector<double> intervals;
    for (std::size_t i = 1; i < times.size(); ++i)
        intervals.push_back(times[i] - times[i - 1]);
    const double mean = (times.back() - times.front()) / PollTicks;
    const auto [shortest, longest] = std::minmax_element(intervals.begin(), intervals.end());
    std::printf("Meter poll over %d ticks: mean interval %.2f ms (target 100 +/- 3), shortest "
                "%.2f, longest %.2f\n",
                PollTicks, mean, *shortest, *longest);
    std::printf("CPU while polling: %.2f %% of one core (target < 3 %%)\n",
                100.0 * cpu / wallSeconds);
    std::printf("Resident memory: %.1f MB now, %.1f MB at most (target < 80 MB)\n",
                StatusKb("VmRSS:") / 1024.0, StatusKb("VmHWM:") / 1024.0);
    return 0;
}
