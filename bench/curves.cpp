// Response-curve cost as the program meets it: after Qt has painted (which leaves the CPU's
// wide vector state dirty and slows plain SSE library code), rebuild all 34 curves as a
// whole-state transfer does, and one band with its channel total as a drag step does.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "BusySetting.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/ValueTables.h"

namespace {

using Clock = std::chrono::steady_clock;

void AllCurves()
{
    for (int band = 0; band < ValueTables::BandCount; ++band)
        ModGraph::ComputeBandCurve(band);
    for (int filter = 0; filter < ValueTables::FilterCount; ++filter)
        ModGraph::ComputeFilterCurve(filter);
}

int dragStep = 0;

void DragStep()
{
    // The gain moves in 0.1 dB steps while a marker is dragged.
    ModFun::state.BandGainDb[7] = (dragStep++ % 300 - 150) / 10.0;
    ModGraph::ComputeBandCurve(7);
}

/// Best time of one call, in nanoseconds, over `rounds` batches of `calls` calls.
double BestNanoseconds(void (*work)(), int rounds, int calls)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (int c = 0; c < calls; ++c)
            work();
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        best = std::min(best, spent.count() / calls);
    }
    return best;
}

void Paint()
{
    QImage picture(576, 192, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::red);
    for (int x = 0; x < 575; ++x)
        painter.drawLine(x, 95 + x % 40, x + 1, 95 - x % 30);
}

void Report(const char *when)
{
    const double all = BestNanoseconds(AllCurves, 30, 100);
    const double drag = BestNanoseconds(DragStep, 30, 2000);
    std::printf("%s\n", when);
    std::printf("  all 34 curves (whole-state):   %8.3f ms   (target <= 0.4 ms)\n", all / 1e6);
    std::printf("  one band + total (drag step):  %8.3f us   (target <= 20 us)\n", drag / 1e3);
    std::printf("  per curve point:               %8.2f ns\n", all / (34.0 * ModGraph::PointCount));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ModTxRx::state.DemoMode = true;
    LoadBusySetting(); // demo mode: fills the curve inputs, sends nothing
    Report("before painting:");
    Paint();
    Report("after painting a QImage (as the program runs):");
    return 0;
}
