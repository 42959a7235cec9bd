#include "presets/DevicePresets.h"

#include <algorithm>

#include <QScopedValueRollback>

#include "link/ModTxRx.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "model/SettingHistory.h"
#include "presets/DeviceImage.h"
#include "presets/ModPreset.h"
#include "shell/Messages.h"

namespace DevicePresets {

using namespace UnitProtocol;

namespace {

using ModPreset::FactoryCount;
using ModPreset::PresetCount;

constexpr int UserPlaceCount = PresetCount - FactoryCount;

const QString ReadTitle = QStringLiteral("Read Preset");

void TellPresetEmpty()
{
    Messages::Tell(QStringLiteral("Preset empty"), ReadTitle, Messages::Icon::Critical);
}

bool Recall(int index)
{
    const auto preset = static_cast<std::uint8_t>(index);
    return ModTxRx::SendRepeatable(
        [preset] { ModTxRx::TransferFrame(RecallCommand, preset, 0, 0, 0, 0, 0); });
}

/// The preset last recalled or stored, also in the overview window's title.
void MakeCurrent(int index)
{
    ModPreset::state.CurrentPreset = static_cast<std::int16_t>(index);
    ModFun::state.PresetTitle = ModPreset::PresetTitleFor(index);
    ModFun::state.PresetSource = QStringLiteral("Preset");
    ModFun::ShowPresetName();
}

/// The image becomes the model's and the model is shown without sending anything back.
void ApplyPresetImage(int index, const DeviceImage::Image &image)
{
    const ModFun::OperatorStep step(QStringLiteral("preset read"));
    auto &model = ModFun::state;
    std::copy(image.begin(), image.end(), model.ParamImage.begin());
    model.ChannelLink = 0;
    {
        QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }
    ModFun::history().MarkSaved();
    MakeCurrent(index);
}

/// Sends four bytes to the unit's memory at `address` (0x18).
bool WriteFour(int address, const std::uint8_t *bytes)
{
    ModTxRx::SplitToBytes(address, 0);
    const auto &work = ModTxRx::state.WorkBytes;
    return ModTxRx::SendRepeatable([high = work[2], low = work[3], bytes] {
        ModTxRx::TransferFrame(WriteFourCommand, high, low, bytes[0], bytes[1], bytes[2], bytes[3]);
    });
}

/// A store that stopped part-way: what the place held is partly overwritten in the unit.
Outcome AbandonPlace(int preset)
{
    ModPreset::state.PresetUsed[preset] = false;
    ModPreset::state.PresetNames[preset] = ModPreset::EmptyName();
    return Outcome::Stopped;
}

bool IsPlace(int place)
{
    return place >= 0 && place < UserPlaceCount;
}

} // namespace

bool IsFactory(int index)
{
    return index < FactoryCount;
}

Outcome ReadPresetAsked(int index, const Presets::Progress &progress)
{
    if (index < 0 || index >= PresetCount || !ModPreset::state.PresetUsed[index]) {
        TellPresetEmpty();
        return Outcome::Refused;
    }
    const QString question = QStringLiteral("Overwrite current editing with the preset %1, are "
                                            "you sure ? ")
                                 .arg(index + 1);
    if (!Messages::Ask(question, ReadTitle))
        return Outcome::Declined;
    return IsFactory(index) ? ReadFactoryPreset(index, progress) : ReadUserPreset(index, progress);
}

Outcome ReadUserPreset(int index, const Presets::Progress &progress)
{
    if (index < FactoryCount || index >= PresetCount)
        return Outcome::Refused;
    Presets::ProgressRun bar(progress, 1, ReadSteps);
    // Without a unit there is no user preset to read, and the replies would be stale bytes.
    if (ModTxRx::state.DemoMode) {
        TellPresetEmpty();
        return Outcome::Refused;
    }
    if (!Recall(index))
        return Outcome::Stopped;
    bar.Step();
    if (ModTxRx::state.RxFrame[RecallAnswerAt] == EmptyPresetMark) {
        TellPresetEmpty();
        return Outcome::Refused;
    }
    DeviceImage::Image image{};
    if (!DeviceImage::ReadSettingImage(image, DeviceImage::OnFailure::Recover,
                                       [&bar] { bar.Step(); }))
        return Outcome::Stopped;
    ImageCheck::ClampCodes(image);
    ApplyPresetImage(index, image);
    return Outcome::Done;
}

Outcome ReadFactoryPreset(int index, const Presets::Progress &progress)
{
    if (index < 0 || index >= FactoryCount)
        return Outcome::Refused;
    Presets::ProgressRun bar(progress, 1, ReadSteps);
    const auto &factory = ValueTables::FactoryPresetImages[index];
    DeviceImage::Image image{};
    for (int offset = 0; offset < DeviceImage::ImageSize; offset += BytesPerFrame) {
        std::copy_n(factory.begin() + offset, BytesPerFrame, image.begin() + offset);
        bar.Step();
    }
    if (!Recall(index))
        return Outcome::Stopped;
    bar.Step();
    ApplyPresetImage(index, image);
    return Outcome::Done;
}

std::optional<QString> CheckedPresetName(const QString &typed)
{
    qsizetype first = 0;
    qsizetype end = typed.size();
    while (first < end && typed[first] == u' ')
        ++first;
    while (end > first && typed[end - 1] == u' ')
        --end;
    const QString name = typed.mid(first, end - first);
    const bool printable = std::all_of(
        name.begin(), name.end(), [](QChar c) { return c.unicode() >= 32 && c.unicode() <= 127; });
    if (name.isEmpty() || name.size() > ModPreset::NameLength || !printable)
        return std::nullopt;
    return name;
}

Outcome StorePresetAsked(int place, const QString &typedName, const Presets::Progress &progress)
{
    if (!Messages::Ask(QStringLiteral("               Are you sure ? "),
                       QStringLiteral("Store Preset")))
        return Outcome::Declined;
    const std::optional<QString> name = CheckedPresetName(typedName);
    if (!name) {
        Messages::Tell(QStringLiteral("Symbol not admited"), QStringLiteral("Edit Program Name"),
                       Messages::Icon::Information);
        return Outcome::Refused;
    }
    return Memorize_eep(place, *name, progress);
}

Outcome Memorize_eep(int place, const QString &name, const Presets::Progress &progress)
{
    if (!IsPlace(place))
        return Outcome::Refused;
    Presets::ProgressRun bar(progress, 0, StoreSteps);
    const int preset = FactoryCount + place;
    const QString centred = ModPreset::CenteredName(name);
    const QByteArray nameBytes = centred.toLatin1();
    const auto image = ModFun::state.ParamImage;
    for (int offset = 0; offset < DeviceImage::ImageSize; offset += BytesPerFrame) {
        if (!WriteFour(place * DeviceImage::ImageSize + PlaceImagesAddress + offset,
                       image.data() + offset))
            return AbandonPlace(preset);
        bar.Step();
    }
    for (int i = 0; i < ModPreset::NameLength; i += BytesPerFrame) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(nameBytes.constData()) + i;
        if (!WriteFour(place * ModPreset::NameLength + PlaceNamesAddress + i, bytes))
            return AbandonPlace(preset);
        bar.Step();
    }
    // Without its used mark and the end of the store the place holds nothing the unit will recall.
    const auto placeByte = static_cast<std::uint8_t>(place);
    const auto markUsed = [placeByte] {
        ModTxRx::TransferFrame(WriteMemoryCommand, 0, UsedMarksAddress + placeByte, 0, UsedMark, 0,
                               0);
    };
    const auto endStore = [placeByte] {
        ModTxRx::TransferFrame(EndStoreCommand, placeByte, 0, 0, 0, 0, UsedMark);
    };
    if (!ModTxRx::SendRepeatable(markUsed) || !ModTxRx::SendRepeatable(endStore))
        return AbandonPlace(preset);
    ModPreset::state.PresetNames[preset] = centred;
    ModPreset::state.PresetUsed[preset] = true;
    ModFun::history().MarkSaved();
    MakeCurrent(preset);
    return Outcome::Done;
}

} // namespace DevicePresets
