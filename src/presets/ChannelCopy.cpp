#include "presets/ChannelCopy.h"

#include <algorithm>

#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "shell/Messages.h"

namespace ChannelCopy {

State state;

namespace {

using namespace ValueTables;

struct Channels
{
    int source;
    int destination;
};

Channels ChannelsOf(Direction direction)
{
    return direction == Direction::AToB ? Channels{0, 1} : Channels{1, 0};
}

void CopyBytes(int from, int to, int size)
{
    auto &image = ModFun::state.ParamImage;
    std::copy_n(image.begin() + from, size, image.begin() + to);
}

/// Sends one block and applies the recovery rule.
bool Send(void (*send)(int), int index)
{
    send(index);
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

bool CopyEqBands(Channels c)
{
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int to = c.destination * BandsPerChannel + k;
        CopyBytes(EqBandOffsets[c.source * BandsPerChannel + k], EqBandOffsets[to], EqBandSize);
        if (!Send(ModFun::SendEqBand, to))
            return false;
        // The channel is drawn once, after its last filter.
        ModFun::RebuildCurve(ModFun::CurveOf::Band, to, false);
    }
    return true;
}

bool CopyCrossovers(Channels c)
{
    for (int kind = 0; kind < 2; ++kind)
        CopyBytes(CrossoverOffsets[2 * c.source + kind], CrossoverOffsets[2 * c.destination + kind],
                  CrossoverSize);
    for (int kind = 0; kind < 2; ++kind) {
        const int to = 2 * c.destination + kind;
        if (!Send(ModFun::SendCrossover, to))
            return false;
        ModFun::RebuildCurve(ModFun::CurveOf::Filter, to, kind == 1);
    }
    return true;
}

void SendGateOfChannel(int channel)
{
    ModFun::SendGate(3 * channel);
}

/// A block that is one run of bytes per channel: copied, then sent with `send`.
bool CopyBlock(Channels c, const std::array<int, 2> &offsets, int size, void (*send)(int))
{
    CopyBytes(offsets[c.source], offsets[c.destination], size);
    return Send(send, c.destination);
}

bool SelectionEmpty(const Selection &s)
{
    return !(s.gate || s.delay || s.eq || s.limiter || s.crossover);
}

} // namespace

void Reset()
{
    state = State{};
}

Outcome CopyAsked(int source, int destination, const Selection &ticked,
                  const Presets::Progress &progress)
{
    if (source == destination) {
        Messages::Tell(QStringLiteral("Copy not possible, Source=Dest"),
                       QStringLiteral("Channel Copy "), Messages::Icon::Critical);
        return Outcome::Refused;
    }
    if (SelectionEmpty(ticked)) {
        Messages::Tell(QStringLiteral("Copy not possible, please select a parameter"),
                       QStringLiteral("Channel Copy"), Messages::Icon::Critical);
        return Outcome::Refused;
    }
    if (!Messages::Ask(QStringLiteral("               Are you sure ? "),
                       QStringLiteral("Channel Copy")))
        return Outcome::Declined;
    const Presets::ProgressRun run(progress, 0, 0);
    state = {ticked.gate, ticked.delay, ticked.eq, ticked.limiter, ticked.crossover};
    if (source == 0 && destination == 1)
        return CopyChannel(Direction::AToB) ? Outcome::Copied : Outcome::Stopped;
    if (source == 1 && destination == 0)
        return CopyChannel(Direction::BToA) ? Outcome::Copied : Outcome::Stopped;
    return Outcome::Refused;
}

bool CopyChannel(Direction direction)
{
    const Channels c = ChannelsOf(direction);
    if ((state.CopyEq && !CopyEqBands(c)) || (state.CopyCrossover && !CopyCrossovers(c)) ||
        (state.CopyDelay && !CopyBlock(c, DelayOffsets, DelaySize, ModFun::SendDelay)) ||
        (state.CopyGate && !CopyBlock(c, GateOffsets, GateSize, SendGateOfChannel)) ||
        (state.CopyLimiter && !CopyBlock(c, LimiterOffsets, LimiterSize, ModFun::SendLimiter)))
        return false;
    auto &mute = ModFun::state.Mute;
    mute[c.destination] = 1.0 - mute[c.source];
    return Send(ModFun::ToggleMute, c.destination);
}

} // namespace ChannelCopy
