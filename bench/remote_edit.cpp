// The web remote's edit latency against the virtual unit at 9600 baud (--pace): from a page's
// "set" sent over the WebSocket to its frame going out on the line, and to the unit's reply, on
// an idle line and with the panel's meter poll running (an edit may wait for a poll's
// exchange). The edits go round the 15 gains of channel A, so no control comes twice within a
// poll period and nothing is held back by the coalescing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebSocket>

#include "PacedUnit.h"
#include "editors/Meters.h"
#include "graph/ModGraph.h"
#include "link/FrameTrace.h"
#include "link/UnitProtocol.h"
#include "model/ModFun.h"
#include "presets/ModPreset.h"
#include "remote/RemoteServer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Edits = 200;
constexpr int WaitMs = 5000;
/// 10 bytes out and 10 back at 10 bits a byte and 9600 baud.
constexpr double WireMsPerExchange = 20.0 * 10.0 / 9600.0 * 1000.0;

double Ms(Clock::duration span)
{
    return std::chrono::duration<double, std::milli>(span).count();
}

/// The pauses between edits spread them over the poll period: 0, 37, 74, 11 ... ms.
constexpr int PauseStepMs = 37;

void Pause(int ms)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
}

bool WaitFor(const bool &done)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(WaitMs);
    while (!done && Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done;
}

void Report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p99 = ms[ms.size() * 99 / 100];
    std::printf(
        "%-22s median %6.2f ms (%.2f frames)   p99 %6.2f ms (%.2f frames)   worst %6.2f ms\n", what,
        median, median / WireMsPerExchange, p99, p99 / WireMsPerExchange, ms.back());
}

/// Sends the edits one after the other, each once the one before was answered.
bool Measure(QWebSocket &page, const char *line)
{
    Clock::time_point replied;
    double roundTripMs = 0;
    bool answered = false;
    FrameTrace::SetHook([&](const FrameTrace::Entry &entry) {
        if (entry.request.size() < 3 || entry.request[2] != UnitProtocol::EqBandCommand)
            return;
        replied = Clock::now();
        roundTripMs = entry.roundTripMs;
        answered = entry.outcome == FrameTrace::Outcome::Answered;
    });
    std::vector<double> toWire;
    std::vector<double> toReply;
    for (int edit = 0; edit < Edits; ++edit) {
        const QJsonObject set{{"type", "set"},
                              {"path", QStringLiteral("A.eq.%1.gainDb").arg(edit % 15 + 1)},
                              {"value", edit / 15 % 2 == 0 ? 3.0 : -3.0}};
        answered = false;
        const Clock::time_point sent = Clock::now();
        page.sendTextMessage(QString::fromUtf8(QJsonDocument(set).toJson(QJsonDocument::Compact)));
        if (!WaitFor(answered)) {
            std::fprintf(stderr, "edit %d reached no frame\n", edit);
            return false;
        }
        toReply.push_back(Ms(replied - sent));
        toWire.push_back(toReply.back() - roundTripMs);
        Pause(edit * PauseStepMs % RemoteServer::PeriodMs);
    }
    FrameTrace::SetHook({});
    std::printf("%s:\n", line);
    Report("  set -> frame sent", toWire);
    Report("  set -> unit's reply", toReply);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    ModGraph::FollowModel();
    ModPreset::FillFactoryEntries();
    ModFun::LoadDefaultImage();
    PacedUnit paced;
    RemoteServer server;
    if (!paced.Connect(false) || !server.Start())
        return 1;

    QWebSocket page;
    bool greeted = false;
    QObject::connect(&page, &QWebSocket::textMessageReceived, [&greeted] { greeted = true; });
    page.open(
        QUrl(QStringLiteral("ws://127.0.0.1:%1/%2/ws").arg(server.Port()).arg(server.Token())));
    if (!WaitFor(greeted))
        return 1;
    std::printf("Web remote edits with --pace, %d edits each; %.2f ms a frame on the wire\n", Edits,
                WireMsPerExchange);
    if (!Measure(page, "idle line"))
        return 1;
    // The panel's poll: every 100 ms while the line is idle.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [] {
        if (ModTxRx::state.LinkIdle)
            Meters::Poll(ModFun::state.Mute);
    });
    poll.start(RemoteServer::PeriodMs);
    return Measure(page, "meters polled") ? 0 : 1;
}
