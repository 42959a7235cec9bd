// The filter window as the operator meets it: how long one step of dragging a band marker takes
// (mouse move -> band and channel total recomputed -> graph picture redrawn), and how long the
// window takes to open. Runs in demo mode on a busy setting, offscreen.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include <time.h>

#include <QApplication>
#include <QMouseEvent>

#include "BusySetting.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "graph/ui/FrmFilter.h"
#include "graph/ui/GraphArea.h"
#include "link/ModTxRx.h"

namespace {

using Clock = std::chrono::steady_clock;

/// CPU time of this thread: what a step costs without the time other programs on the machine
/// took the processor away.
double ThreadMicros()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

/// The busy setting in demo mode, both curves shown on each tab and the markers on.
void LoadBusyWindowSetting()
{
    ModTxRx::state.DemoMode = true;
    ModGraph::FollowModel();
    LoadBusySetting();
    FilterEdit::state.Out2Saved = {true, true};
    FilterEdit::state.CursorShown = {true, true};
}

struct Figures
{
    double median;
    double p99;
    double worst;
};

Figures Summarise(std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double share) {
        return micros[static_cast<std::size_t>(share * (micros.size() - 1))];
    };
    return {at(0.5), at(0.99), micros.back()};
}

void Print(const char *what, const Figures &f, const char *target)
{
    std::printf("  %-44s median %8.1f us   p99 %8.1f us   worst %8.1f us   %s\n", what, f.median,
                f.p99, f.worst, target);
}

void Mouse(QWidget *marker, QEvent::Type type, QPointF position)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, marker->mapToGlobal(position), button, held, Qt::NoModifier);
    QApplication::sendEvent(marker, &event);
}

struct DragFigures
{
    Figures wall;
    Figures cpu;
};

/// Drags band 8 of channel A up and down over its whole range, one pixel per move; with
/// `painted` each step also lets the window paint before the next move, as it does on screen.
DragFigures DragSteps(FrmFilter &window, int steps, bool painted)
{
    auto *marker = window.findChild<BandMarker *>(QStringLiteral("Label5_7"));
    const QPointF hotSpot(BandMarker::Width / 2, BandMarker::Height / 2);
    Mouse(marker, QEvent::MouseButtonPress, hotSpot);
    const QPointF grabbed = marker->mapToGlobal(hotSpot);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int k = 0; k < steps; ++k) {
        // 0..100 pixels up and back: past both ends of the +-15 dB range.
        const int phase = k % 200;
        const QPointF target = grabbed - QPointF(0, phase < 100 ? phase : 200 - phase);
        const auto start = Clock::now();
        const double startCpu = ThreadMicros();
        Mouse(marker, QEvent::MouseMove, marker->mapFromGlobal(target));
        if (painted)
            QApplication::processEvents();
        cpu.push_back(ThreadMicros() - startCpu);
        wall.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Mouse(marker, QEvent::MouseButtonRelease, marker->mapFromGlobal(grabbed));
    return {Summarise(wall), Summarise(cpu)};
}

void PrintDrag(const char *what, const DragFigures &f)
{
    Print(what, f.wall, "(target median <= 1000, p99 <= 4000)");
    Print("  the same in this thread's CPU time", f.cpu, "");
}

Figures Openings(int count)
{
    std::vector<double> micros;
    for (int k = 0; k < count; ++k) {
        const auto start = Clock::now();
        auto window = std::make_unique<FrmFilter>();
        window->show();
        QApplication::processEvents();
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        window.reset();
        QApplication::processEvents();
    }
    return Summarise(micros);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LoadBusyWindowSetting();

    std::printf("filter window, demo mode, busy setting, offscreen\n");
    Print("open the window (built, filled, painted)", Openings(40), "");

    FrmFilter window;
    window.show();
    QApplication::processEvents();
    DragSteps(window, 200, true); // warm-up
    PrintDrag("drag step: move -> curves -> picture image", DragSteps(window, 5000, false));
    PrintDrag("drag step with the window painted", DragSteps(window, 2000, true));
    return 0;
}
