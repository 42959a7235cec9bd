#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QString>

#include "FuzzInput.h"
#include "model/ModFun.h"
#include "model/ValueTables.h"
#include "presets/ModPreset.h"

/// What a target compares before and after an action that must leave the program as it was.
struct ProgramSnapshot
{
    std::array<std::uint8_t, ValueTables::ImageSize> image;
    std::array<double, 2> mute;
    double linkAB;
    std::int16_t channelLink;
    double geqSelected;
    double delayInMetres;
    std::uint8_t systemFlags;
    std::array<QString, ModFun::SummaryCount> summary;
    std::array<QString, 2> eqCaption;
    std::array<QString, 2> muteText;
    QString presetSource;
    QString presetTitle;
    std::array<double, ValueTables::BandCount> bandGainDb;
    std::array<double, ValueTables::BandCount> bandFreqHz;
    std::array<QString, ModPreset::PresetCount> presetNames;
    std::array<bool, ModPreset::PresetCount> presetUsed;
    std::int16_t currentPreset;
    std::array<int, 4> password;
    std::int16_t lockState;
    QString firmware;
    bool operator==(const ProgramSnapshot &) const = default;
};

ProgramSnapshot TakeSnapshot();

/// The model reads any mute code but 0 as muted, as the unit does, and keeps it as 1.
void AsTheModelHoldsIt(std::span<std::uint8_t> image);

/// The last frame with this command and 16-bit address (data bytes 0 and 1) that was answered
/// after the first `from` answers; the run ends when there is none.
const FuzzSerial::Answered &LastAnswered(const FuzzSerial &serial, std::uint8_t command,
                                         int address, std::size_t from = 0);

/// True when the last message shown was about the link ("Communication problem").
bool ToldLinkProblem();
/// True when exactly one message was shown, with this title.
bool ToldOnce(const QString &title);

/// Every block of an upload (0x1A) went through with the image's bytes at its address, then the
/// apply frame (0x2B).
bool UploadReachedUnit(const FuzzSerial &serial,
                       const std::array<std::uint8_t, ValueTables::ImageSize> &image);
