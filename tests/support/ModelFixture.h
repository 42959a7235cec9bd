#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "model/SettingHistory.h"
#include "shell/ModCountry.h"

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

    static void ResetAll()
    {
        ModTxRx::Reset();
        ModFun::Reset();
        PanelFlags::Reset();
        SystemFlags::Reset();
        ModFun::history().Clear();
        ModFun::history().MarkSaved();
        ModGraph::Reset();
        ModCountry::CommaLocale = 0;
    }

    std::vector<FrameBuffer> Frames() const
    {
        std::vector<FrameBuffer> frames;
        for (const RecordingSerial::Call &call : serial.calls)
            frames.push_back(call.frame);
        return frames;
    }

    static std::uint8_t &Image(int index) { return ModFun::state.ParamImage[index]; }

    RecordingSerial serial;
    ScriptedMessages messages;
};
