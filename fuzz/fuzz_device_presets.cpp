// Reads and stores of any preset number and any name, in a row, against a unit that answers
// anything or nothing (or in demo mode), with Yes and No answered at random. A read that does not
// end leaves the model as it was; one that ends holds the preset in range. A store never changes
// the image, sends nothing when refused, marks its place used only when the unit got the whole
// preset, and a store that stops leaves its place unused.
#include <algorithm>
#include <optional>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "model/ImageCheck.h"
#include "presets/DevicePresets.h"
#include "shell/Messages.h"

namespace {

using DevicePresets::Outcome;

constexpr std::uint8_t ReadSettingCommand = 0x19;
constexpr std::uint8_t WriteFourCommand = 0x18;
constexpr int UserPlaces = ModPreset::PresetCount - ModPreset::FactoryCount;
constexpr int ImageBytes = ValueTables::PresetImageSize;

struct Run
{
    FuzzSerial &serial;
    bool demo;
    /// The unit's answers before this action.
    std::size_t answeredBefore;
    int exchangesBefore;
    ProgramSnapshot before;

    bool SentNothing() const { return serial.exchanges == exchangesBefore; }
};

/// The model's image as the unit answered it in this action, in range.
std::array<std::uint8_t, ImageBytes> ImageRead(const Run &run)
{
    std::array<std::uint8_t, ImageBytes> image{};
    for (int offset = 0; offset < ImageBytes; offset += 4) {
        const FrameBuffer &reply =
            LastAnswered(run.serial, ReadSettingCommand, offset, run.answeredBefore).reply;
        std::copy_n(reply.begin() + 5, 4, image.begin() + offset);
    }
    ImageCheck::ClampCodes(image);
    AsTheModelHoldsIt(image);
    return image;
}

void CheckRead(const Run &run, int index, Outcome outcome)
{
    const auto &model = ModFun::state;
    const ProgramSnapshot after = TakeSnapshot();
    if (outcome != Outcome::Done) {
        Require(after == run.before, "a read that does not end changes nothing");
        if (outcome == Outcome::Declined)
            Require(run.SentNothing(), "nothing sent when declined");
        if (outcome == Outcome::Stopped)
            Require(!run.demo && ToldLinkProblem(), "a stopped read is told");
        return;
    }
    Require(index >= 0 && index < ModPreset::PresetCount, "only a preset is read");
    Require(ImageCheck::FindBadCodes(model.ParamImage).empty(), "codes in range");
    Require(model.ParamImage.back() == run.before.image.back(), "the byte files carry is kept");
    Require(after.presetNames == run.before.presetNames &&
                after.presetUsed == run.before.presetUsed,
            "a read changes no name");
    Require(after.currentPreset == index && after.presetSource == QStringLiteral("Preset") &&
                after.presetTitle == ModPreset::PresetTitleFor(index),
            "the preset read is current");
    if (DevicePresets::IsFactory(index)) {
        auto factory = ValueTables::FactoryPresetImages[index];
        AsTheModelHoldsIt(factory);
        Require(std::equal(factory.begin(), factory.end(), model.ParamImage.begin()),
                "a factory preset comes from the program's table");
    } else {
        Require(!run.demo, "no user preset without a unit");
        const auto image = ImageRead(run);
        Require(std::equal(image.begin(), image.end(), model.ParamImage.begin()),
                "a user preset holds what the unit answered");
    }
}

/// The unit got these four bytes at this address in this action.
void RequireWritten(const Run &run, int address, const std::uint8_t *bytes)
{
    const FrameBuffer &request =
        LastAnswered(run.serial, WriteFourCommand, address, run.answeredBefore).request;
    Require(std::equal(bytes, bytes + 4, request.begin() + 5), "the unit got the bytes");
}

/// The unit got the image and the name of the place.
void CheckStoredInUnit(const Run &run, int place, const QString &name)
{
    const auto &image = run.before.image;
    for (int offset = 0; offset < ImageBytes; offset += 4)
        RequireWritten(run, place * ImageBytes + 288 + offset, image.data() + offset);
    std::array<std::uint8_t, ModPreset::NameLength> bytes{};
    for (int i = 0; i < ModPreset::NameLength; ++i) {
        const char16_t c = name[i].unicode();
        bytes[i] = c <= 0xFF ? static_cast<std::uint8_t>(c) : '?';
    }
    for (int i = 0; i < ModPreset::NameLength; i += 4)
        RequireWritten(run, place * ModPreset::NameLength + 3872 + i, bytes.data() + i);
}

/// `stored` is the name the store keeps, centred: nothing when the store refuses the name.
void CheckStore(const Run &run, int place, const std::optional<QString> &stored, Outcome outcome)
{
    const ProgramSnapshot after = TakeSnapshot();
    if (outcome == Outcome::Declined || outcome == Outcome::Refused) {
        Require(after == run.before && run.SentNothing(), "a refused store does nothing");
        return;
    }
    Require(place >= 0 && place < UserPlaces && stored, "only a user place and a name are stored");
    Require(stored->size() == ModPreset::NameLength, "a stored name has 8 characters");
    const int preset = ModPreset::FactoryCount + place;
    ProgramSnapshot expected = run.before;
    if (outcome == Outcome::Stopped) {
        Require(!run.demo && ToldLinkProblem(), "a stopped store is told");
        expected.presetUsed[preset] = false;
        expected.presetNames[preset] = ModPreset::EmptyName();
        Require(after == expected, "a store that stops leaves its place unused, nothing else");
        return;
    }
    expected.presetUsed[preset] = true;
    expected.presetNames[preset] = *stored;
    expected.currentPreset = static_cast<std::int16_t>(preset);
    expected.presetSource = QStringLiteral("Preset");
    expected.presetTitle = ModPreset::PresetTitleFor(preset);
    Require(after == expected, "a stored place is used and current, nothing else changes");
    if (run.demo)
        Require(run.SentNothing(), "nothing sent in demo mode");
    else
        CheckStoredInUnit(run, place, *stored);
}

/// One read or store; answers false when the input is used up.
bool RunOneAction(FuzzInput &input, FuzzSerial &serial, bool demo)
{
    if (input.Empty())
        return false;
    const int action = input.Byte() % 5;
    const int number = input.Byte() % 40 - 4;
    const QString name = input.Text(12);
    Messages::ClearLog();
    const Run run{serial, demo, serial.answered.size(), serial.exchanges, TakeSnapshot()};
    const Presets::Progress progress;
    switch (action) {
    case 0:
        CheckRead(run, number, DevicePresets::ReadPresetAsked(number, progress));
        break;
    case 1:
        CheckRead(run, number, DevicePresets::ReadUserPreset(number, progress));
        break;
    case 2:
        CheckRead(run, number, DevicePresets::ReadFactoryPreset(number, progress));
        break;
    case 3: {
        const auto checked = DevicePresets::CheckedPresetName(name);
        const auto stored =
            checked ? std::optional(ModPreset::CenteredName(*checked)) : std::nullopt;
        CheckStore(run, number, stored, DevicePresets::StorePresetAsked(number, name, progress));
        break;
    }
    default:
        CheckStore(run, number, ModPreset::CenteredName(name),
                   DevicePresets::Memorize_eep(number, name, progress));
        break;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    const std::uint8_t flags = ResetProgramFrom(input, serial);
    const bool demo = flags & 1;
    ModFun::LoadDefaultImage();
    ModPreset::FillFactoryEntries();
    const int usedPlaces = input.Byte() | input.Byte() << 8;
    for (int place = 0; place < UserPlaces; ++place) {
        if (usedPlaces >> place & 1) {
            ModPreset::state.PresetUsed[ModPreset::FactoryCount + place] = true;
            ModPreset::state.PresetNames[ModPreset::FactoryCount + place] =
                ModPreset::CenteredName(QStringLiteral("U%1").arg(place));
        }
    }
    AnswerMessagesFrom(input);
    for (int actions = 0; actions < 8 && RunOneAction(input, serial, demo); ++actions) { }
    return 0;
}
