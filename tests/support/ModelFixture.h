#pragma once

#include "CoreReset.h"
#include <tuple>
#include <vector>

#include <QScopedValueRollback>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "model/SystemFlags.h"
#include "shell/ModCountry.h"

/// The bytes first..last of each pair, in order.
inline std::vector<int> Runs(std::initializer_list<std::pair<int, int>> runs)
{
    std::vector<int> bytes;
    for (const auto &[first, last] : runs) {
        for (int i = first; i <= last; ++i)
            bytes.push_back(i);
    }
    return bytes;
}

/// `bands` band frames (0x05), then the commands `rest`.
inline std::vector<int> Commands(int bands, std::initializer_list<int> rest)
{
    std::vector<int> commands(bands, 0x05);
    commands.insert(commands.end(), rest);
    return commands;
}

/// The parameter model on a recording serial double, every module state cleared before and
/// after each test.
class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAll();
        ModTxRx::state.SerialPort = &serial;
        serial.open = true;
    }
    void TearDown() override { ResetAll(); }

    static void ResetAll() { ResetTheCore(); }

    std::vector<FrameBuffer> Frames() const
    {
        std::vector<FrameBuffer> frames;
        for (const RecordingSerial::Call &call : serial.calls)
            frames.push_back(call.frame);
        return frames;
    }

    static std::uint8_t &Image(int index) { return ModFun::state.ParamImage[index]; }

    /// Derived values, summaries and curves from the image, nothing sent.
    static void Refresh()
    {
        const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }

    /// Every copied byte of channel A made to differ from B's, A muted; then refreshed.
    static void MakeChannelAOtherThanB()
    {
        for (int i = 0; i < 63; ++i)
            Image(i) = Image(64 + i) == 1 ? 2 : 1;
        Image(58) = 1;
        Refresh();
    }

    /// The image bytes that differ from `before`, in rising order.
    static std::vector<int> ChangedBytes(const std::array<std::uint8_t, 129> &before)
    {
        std::vector<int> changed;
        for (int i = 0; i < 129; ++i) {
            if (ModFun::state.ParamImage[i] != before[i])
                changed.push_back(i);
        }
        return changed;
    }

    /// The derived values, summaries and curves are those a fresh refresh from the image gives.
    static void ExpectDerivedStateCurrent()
    {
        const auto derived = [] {
            const ModFun::State &m = ModFun::state;
            const ModGraph::State &g = ModGraph::state;
            return std::tuple(m.BandGainDb, m.BandFreqHz, m.BandQCode, m.CrossoverFreqHz,
                              m.CrossoverSlope, m.Mute, m.Summary, m.EqCaption, m.MuteText,
                              g.BandCurve, g.FilterCurve, g.TotalCurve);
        };
        const auto before = derived();
        Refresh();
        EXPECT_TRUE(before == derived()) << "a refresh from the image changes what was derived";
    }

    RecordingSerial serial;
    ScriptedMessages messages;
};
