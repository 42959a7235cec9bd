// Round trip of one 10-byte frame to the virtual unit over a pty: a bare client against
// TransferFrame, and 33 paced exchanges against the wire floor of 9600 baud 8N1.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>

#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Warmup = 50;
constexpr int Samples = 2000;
constexpr int SeriesFrames = 33;
constexpr int SeriesRuns = 9;
/// 10 bytes out and 10 back at 10 bits a byte and 9600 baud.
constexpr double WireMsPerExchange = 20.0 * 10.0 / 9600.0 * 1000.0;
constexpr std::uint8_t Command = 0x19;

struct Figures
{
    double medianUs;
    double p99Us;
};

Figures Summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(0.99 * samples.size())) - 1;
    return {samples[samples.size() / 2], samples[rank]};
}

double MicrosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

template<typename Exchange> std::vector<double> Measure(Exchange exchange)
{
    std::vector<double> samples;
    for (int i = 0; i < Warmup + Samples; ++i) {
        const Clock::time_point start = Clock::now();
        if (!exchange())
            return {};
        if (i >= Warmup)
            samples.push_back(MicrosecondsSince(start));
    }
    return samples;
}

/// The bare client: write the frame, poll and read until 10 bytes came.
bool RawExchange(int fd)
{
    const std::uint8_t frame[10] = {0xF0, 0x10, Command, 0, 4, 0, 0, 0, 0, 0xF7};
    if (write(fd, frame, sizeof frame) != sizeof frame)
        return false;
    std::uint8_t reply[10];
    std::size_t got = 0;
    while (got < sizeof reply) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 1000) != 1)
            return false;
        const ssize_t n = read(fd, reply + got, sizeof reply - got);
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

/// Opens the pty raw at 9600 baud for the bare client; -1 when it would not open.
int OpenRaw(const QString &pty)
{
    const int fd = open(pty.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

bool Transfer()
{
    ModTxRx::TransferFrame(Command, 0, 4, 0, 0, 0, 0);
    return !ModTxRx::state.TransferFailed;
}

bool Connect(int port)
{
    ModTxRx::state.ComPort = static_cast<std::int16_t>(port);
    return ModTxRx::ConnectDevice();
}

/// Milliseconds for each run of 33 consecutive exchanges; empty when one failed.
template<typename Exchange> std::vector<double> MeasureSeries(Exchange exchange)
{
    std::vector<double> runs;
    for (int run = 0; run < SeriesRuns; ++run) {
        const Clock::time_point start = Clock::now();
        for (int frame = 0; frame < SeriesFrames; ++frame) {
            if (!exchange())
                return {};
        }
        runs.push_back(MicrosecondsSince(start) / 1000.0);
    }
    return runs;
}

bool StartUnit(VirtualUnit &unit, int port, const QStringList &options)
{
    if (unit.Start({port, options, false}))
        return true;
    std::fprintf(stderr, "virtual unit: %s\n", qPrintable(unit.ErrorString()));
    return false;
}

void Print(const char *what, const Figures &figures)
{
    std::printf("%-34s median %8.1f us   p99 %8.1f us\n", what, figures.medianUs, figures.p99Us);
}

void PrintSeries(const char *what, std::vector<double> runs)
{
    const double floorMs = SeriesFrames * WireMsPerExchange;
    std::sort(runs.begin(), runs.end());
    const double median = runs[runs.size() / 2];
    std::printf("%-34s best %6.1f ms   median %6.1f ms   worst %6.1f ms   ratio %.3f\n", what,
                runs.front(), median, runs.back(), median / floorMs);
}

struct Comparison
{
    std::vector<double> bare;
    std::vector<double> transfer;
};

/// Runs `measure` on one unit, first through the bare client, then through the link.
template<typename Measurement>
std::optional<Comparison> Compare(int port, const QStringList &options, Measurement measure)
{
    VirtualUnit unit;
    if (!StartUnit(unit, port, options))
        return std::nullopt;
    Comparison result;
    if (const int fd = OpenRaw(unit.PtyPath()); fd >= 0) {
        result.bare = measure([fd] { return RawExchange(fd); });
        close(fd);
    }
    if (Connect(port))
        result.transfer = measure(Transfer);
    ModTxRx::state.SerialPort->Close();
    if (result.bare.empty() || result.transfer.empty()) {
        std::fprintf(stderr, "an exchange with the virtual unit failed\n");
        return std::nullopt;
    }
    return result;
}

/// (a) and (b): single round trips as fast as the pty goes.
bool RoundTrips()
{
    const auto samples = Compare(1, {}, [](auto exchange) { return Measure(exchange); });
    if (!samples)
        return false;
    const Figures bare = Summarise(samples->bare);
    const Figures transfer = Summarise(samples->transfer);
    std::printf("10-byte round trip over a pty, %d samples each (command 0x%02X)\n", Samples,
                Command);
    Print("(a) write/poll/read", bare);
    Print("(b) TransferFrame", transfer);
    std::printf("    ratio of medians (b)/(a): %.2f (target <= 10)\n",
                transfer.medianUs / bare.medianUs);
    return true;
}

/// (c): 33 exchanges at wire speed, the bare client for reference.
bool PacedSeries()
{
    const auto runs = Compare(2, {"--pace"}, [](auto exchange) { return MeasureSeries(exchange); });
    if (!runs)
        return false;
    std::printf("(c) %d exchanges with --pace, %d runs; wire floor %d x %.2f ms = %.1f ms\n",
                SeriesFrames, SeriesRuns, SeriesFrames, WireMsPerExchange,
                SeriesFrames * WireMsPerExchange);
    PrintSeries("    bare client (reference)", runs->bare);
    PrintSeries("    TransferFrame (target <= 1.01)", runs->transfer);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    TemporaryConfig config;
    QtSerialComponent serial;
    ModTxRx::state.SerialPort = &serial;
    return RoundTrips() && PacedSeries() ? 0 : 1;
}
