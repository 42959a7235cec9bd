#pragma once

#include <algorithm>

#include "model/ModFun.h"
#include "model/ValueTables.h"

/// A busy setting for the benchmarks: factory preset "Percuss." with an 80 Hz 12 dB/oct
/// high-pass and a 16 kHz 6 dB/oct low-pass on both channels, taken into the model and the
/// curves (sent as well, unless in demo mode).
inline void LoadBusySetting()
{
    const auto &preset = ValueTables::FactoryPresetImages[6];
    std::copy(preset.begin(), preset.end(), ModFun::state.ParamImage.begin());
    for (int ch = 0; ch < 2; ++ch) {
        ModFun::state.ParamImage[ValueTables::CrossoverOffsets[2 * ch]] = 24; // 80 Hz
        ModFun::state.ParamImage[ValueTables::CrossoverOffsets[2 * ch] + 1] = 2;
        ModFun::state.ParamImage[ValueTables::CrossoverOffsets[2 * ch + 1]] = 116; // 16 kHz
        ModFun::state.ParamImage[ValueTables::CrossoverOffsets[2 * ch + 1] + 1] = 1;
    }
    ModFun::SendWholeState();
}
