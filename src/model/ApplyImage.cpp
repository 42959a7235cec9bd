#include "model/ApplyImage.h"

#include <algorithm>
#include <vector>

#include <QScopedValueRollback>

#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"

namespace ModFun {

using namespace ValueTables;

namespace {

constexpr std::uint8_t GraphicBit = 1;
constexpr std::uint8_t LinkedBit = 2;

/// A block of one channel: its bytes in the image and the sender of its frame.
struct Block
{
    int offset;
    int size;
    void (*send)(int index);
    int index;
};
using BlockPair = std::array<Block, 2>;

void SendGateOfChannel(int channel)
{
    SendGate(3 * channel);
}

/// The mute byte of channel c as the image holds it (`ToggleMute` flips from the other state).
void SendMuteByte(int channel)
{
    state.Mute[channel] = state.ParamImage[MuteOffsets[channel]] == 1 ? 0.0 : 1.0;
    ToggleMute(channel);
}

/// Every block pair (A, B) in the order of the whole-state transfer, the mutes last.
const std::vector<BlockPair> &BlockPairs()
{
    static const std::vector<BlockPair> pairs = [] {
        std::vector<BlockPair> list;
        for (int k = 0; k < BandsPerChannel; ++k) {
            const int b = k + BandsPerChannel;
            list.push_back({{{EqBandOffsets[k], EqBandSize, SendEqBand, k},
                             {EqBandOffsets[b], EqBandSize, SendEqBand, b}}});
        }
        for (int f = 0; f < 2; ++f) {
            list.push_back({{{CrossoverOffsets[f], CrossoverSize, SendCrossover, f},
                             {CrossoverOffsets[f + 2], CrossoverSize, SendCrossover, f + 2}}});
        }
        const auto perChannel = [&list](const std::array<int, 2> &at, int size, void (*send)(int)) {
            list.push_back({{{at[0], size, send, 0}, {at[1], size, send, 1}}});
        };
        perChannel(DelayOffsets, DelaySize, SendDelay);
        perChannel(GateOffsets, GateSize, SendGateOfChannel);
        perChannel(LimiterOffsets, LimiterSize, SendLimiter);
        perChannel(MuteOffsets, 1, SendMuteByte);
        return list;
    }();
    return pairs;
}

bool Differs(const Block &block, const Image &target)
{
    return !std::equal(target.begin() + block.offset, target.begin() + block.offset + block.size,
                       state.ParamImage.begin() + block.offset);
}

void WriteBlock(const Block &block, const std::uint8_t *from)
{
    std::copy_n(from, block.size, state.ParamImage.begin() + block.offset);
}

/// Derives and shows the block as the image holds it, without a frame.
void ShowBlock(const Block &block)
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    block.send(block.index);
}

bool LinkUp()
{
    return ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp;
}

/// Writes the target bytes of the block and sends it; after a failure it keeps its old bytes.
bool SendBlock(const Block &block, const Image &target)
{
    const Image before = state.ParamImage;
    WriteBlock(block, target.data() + block.offset);
    block.send(block.index);
    if (LinkUp())
        return true;
    WriteBlock(block, before.data() + block.offset);
    ShowBlock(block);
    return false;
}

/// The unit applied `sent` to both channels: the other block takes its bytes.
void MirrorBlock(const Block &sent, const Block &other)
{
    WriteBlock(other, state.ParamImage.data() + sent.offset);
    ShowBlock(other);
}

bool Linked()
{
    return (state.ParamImage[FlagsByteIndex] & LinkedBit) != 0;
}

bool Graphic()
{
    return (state.ParamImage[FlagsByteIndex] & GraphicBit) != 0;
}

void SendEqTypeOf(bool graphic)
{
    state.GeqSelected = graphic ? 1.0 : 0.0;
    SendEqType();
}

void SendLinkOf(bool linked)
{
    state.LinkBoxTicked = linked;
    SendLink();
    const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
    emit notifier().linkBoxChanged(linked);
}

/// Sends one of the switches of the flags byte; after a failure the model shows the old one.
bool SendSwitch(void (*send)(bool), bool on)
{
    send(on);
    if (LinkUp())
        return true;
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    send(!on);
    return false;
}

bool SendPair(const BlockPair &pair, const Image &target, bool linkedNow, bool linkingAfter)
{
    const Block &a = pair[0];
    const Block &b = pair[1];
    if (linkingAfter)
        return !Differs(a, target) || SendBlock(a, target);
    if (!linkedNow) {
        for (const Block &block : pair) {
            if (Differs(block, target) && !SendBlock(block, target))
                return false;
        }
        return true;
    }
    const bool sendA = Differs(a, target);
    if (!sendA && !Differs(b, target))
        return true;
    const Block &sent = sendA ? a : b;
    if (!SendBlock(sent, target))
        return false;
    MirrorBlock(sent, sendA ? b : a);
    return true;
}

bool ApplyBlocks(const Image &target)
{
    const bool targetLinked = (target[FlagsByteIndex] & LinkedBit) != 0;
    const bool targetGraphic = (target[FlagsByteIndex] & GraphicBit) != 0;
    if (Linked() && !targetLinked && !SendSwitch(SendLinkOf, false))
        return false;
    if (Graphic() != targetGraphic && !SendSwitch(SendEqTypeOf, targetGraphic))
        return false;
    const bool linkedNow = Linked();
    const bool linkingAfter = !linkedNow && targetLinked;
    for (const BlockPair &pair : BlockPairs()) {
        if (!SendPair(pair, target, linkedNow, linkingAfter))
            return false;
    }
    if (!linkingAfter)
        return true;
    if (!SendSwitch(SendLinkOf, true))
        return false;
    for (const BlockPair &pair : BlockPairs())
        MirrorBlock(pair[0], pair[1]);
    return true;
}

void RebuildAllCurves()
{
    for (int band = 0; band < BandCount; ++band)
        RebuildCurve(CurveOf::Band, band, false);
    for (int filter = 0; filter < FilterCount; ++filter)
        RebuildCurve(CurveOf::Filter, filter, filter % 2 == 1);
}

} // namespace

bool ApplyImage(const Image &target)
{
    const bool applied = ApplyBlocks(target);
    if (applied)
        state.ParamImage[PresetImageSize] = target[PresetImageSize];
    RebuildAllCurves();
    return applied;
}

} // namespace ModFun
