// Any bytes given to `mxrf418-cli restore`, as a preset file or as a setting in JSON (made from a
// fuzzed image, then edited as text): either refused with a message before anything is sent and
// with the program as it was, or taken whole. A taken setting passes the image check, turns into
// JSON and back into the same 129 bytes, reaches the unit whole, or stops on a lost link with the
// model unchanged.
#include <variant>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "cli/RestoreInput.h"
#include "model/ImageCheck.h"
#include "model/SettingJson.h"
#include "presets/PresetFiles.h"

namespace {

using Image = SettingJson::Image;

/// The JSON of an image from the input (clamped into range), with a few bytes of its text
/// changed.
QByteArray EditedJson(FuzzInput &input)
{
    Image image{};
    const QByteArray bytes = input.Take(image.size());
    std::copy(bytes.begin(), bytes.end(), image.begin());
    ImageCheck::ClampCodes(image);
    QByteArray text = SettingJson::ToJsonText(image);
    for (int edits = input.Byte() % 4; edits > 0; --edits) {
        const int at = (input.Byte() | input.Byte() << 8) % text.size();
        text[at] = static_cast<char>(input.Byte());
    }
    return text;
}

QByteArray RestoreBytes(FuzzInput &input, bool json)
{
    if (json)
        return EditedJson(input);
    const int length = (input.Byte() | input.Byte() << 8) % 512;
    return input.Take(static_cast<std::size_t>(length));
}

bool RoundTrips(const Image &image)
{
    const SettingJson::Result back = SettingJson::FromJson(SettingJson::ToJson(image));
    return std::holds_alternative<Image>(back) && std::get<Image>(back) == image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    ResetProgramWithSerial(&serial);
    const bool json = input.Byte() & 1;
    const QByteArray bytes = RestoreBytes(input, json);
    const ProgramSnapshot before = TakeSnapshot();
    const auto bufferBefore = PresetFiles::state.LoadBuffer;

    const RestoreInput::Taken taken = RestoreInput::Take(bytes);
    if (!taken.refusal.isEmpty()) {
        Require(serial.exchanges == 0 && TakeSnapshot() == before &&
                    PresetFiles::state.LoadBuffer == bufferBefore,
                "a refused input sends and changes nothing");
        return 0;
    }
    const Image taken129 = PresetFiles::state.LoadBuffer;
    Require(ImageCheck::FindBadCodes(taken129).empty(), "a taken setting passes the check");
    Require(RoundTrips(taken129), "JSON gives the same 129 bytes back");
    if (taken.json) {
        const SettingJson::Result parsed = SettingJson::FromJsonText(bytes);
        Require(std::holds_alternative<Image>(parsed) && std::get<Image>(parsed) == taken129,
                "the JSON taken is the JSON read");
    }

    AnswerMessagesFrom(input);
    const auto outcome = PresetFiles::UploadLoadBuffer(QStringLiteral("fuzz"), {});
    if (outcome == PresetFiles::LoadOutcome::Stopped) {
        Require(ToldLinkProblem() && TakeSnapshot() == before, "a lost link leaves the model");
        return 0;
    }
    Require(outcome == PresetFiles::LoadOutcome::Loaded && UploadReachedUnit(serial, taken129),
            "a restore that ends reached the unit whole");
    return 0;
}
