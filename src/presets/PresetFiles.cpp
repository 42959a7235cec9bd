#include "presets/PresetFiles.h"

#include <algorithm>
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QStandardPaths>

#include "link/ModTxRx.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "presets/PresetLink.h"
#include "shell/Messages.h"

namespace PresetFiles {

State state;

namespace {

constexpr std::uint8_t UploadCommand = 0x1A;
constexpr std::uint8_t ApplyCommand = 0x2B;
constexpr int BlockSize = 4;

const QString ErrorTitle = QStringLiteral(" Error");

void TellError(const QString &text)
{
    Messages::Tell(text, ErrorTitle, Messages::Icon::Exclamation);
}

QString AskFile(Kind kind, Messages::FileMode mode)
{
    const bool user = kind == Kind::User;
    const bool save = mode == Messages::FileMode::Save;
    const QString title = QStringLiteral("%1 %2").arg(
        save ? QStringLiteral("Save") : QStringLiteral("Load"),
        user ? QStringLiteral("preset") : QStringLiteral("factory preset"));
    return Messages::AskFileName({mode, title, PresetFolder(kind), FileFilter(kind)});
}

/// Reads the start of the file; empty with the reason told when it cannot be read.
std::optional<QByteArray> ReadFileStart(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        TellError(QStringLiteral(" File not found. Try again."));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TellError(QStringLiteral("The file could not be read: %1").arg(file.errorString()));
        return std::nullopt;
    }
    return file.read(FileSize);
}

/// The 32 blocks and the apply frame; false when the link was lost.
bool Upload(const std::array<std::uint8_t, FileSize> &image, const Presets::ProgressRun &bar)
{
    const auto &work = ModTxRx::state.WorkBytes;
    for (int i = 0; i < ValueTables::PresetImageSize; i += BlockSize) {
        ModTxRx::SplitToBytes(i, 0);
        if (!PresetLink::SendRepeatable(UploadCommand, work[2], work[3], image[i], image[i + 1],
                                        image[i + 2], image[i + 3]))
            return false;
        bar.Step();
    }
    if (!PresetLink::SendRepeatable(ApplyCommand, 0, 0, 0, 0, 0, 0))
        return false;
    bar.Step();
    return true;
}

void ApplyLoadedImage(const QString &title)
{
    auto &model = ModFun::state;
    model.ParamImage = state.LoadBuffer;
    {
        QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }
    model.PresetSource = QStringLiteral("File");
    model.PresetTitle = title;
    ModFun::ShowPresetName();
}

} // namespace

void Reset()
{
    state = State{};
}

QString PresetFolder(Kind kind)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString folder = base + QStringLiteral("/MX-RF418/") +
        (kind == Kind::User ? QStringLiteral("Preset") : QStringLiteral("Factory preset"));
    QDir().mkpath(folder);
    return folder;
}

QString FileFilter(Kind kind)
{
    return kind == Kind::User ? QStringLiteral("file preset (*.RFP)")
                              : QStringLiteral("file factory preset (*.RF1)");
}

bool SavePresetFile(Kind kind)
{
    const QString path = AskFile(kind, Messages::FileMode::Save);
    if (path.isEmpty())
        return false;
    const auto &image = ModFun::state.ParamImage;
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char *>(image.data()), FileSize) == FileSize &&
        file.commit();
    if (!written)
        TellError(QStringLiteral("The preset could not be saved: %1").arg(file.errorString()));
    return written;
}

QString TakeFileBytes(const QByteArray &bytes)
{
    if (bytes.size() < ShortestFile)
        return QStringLiteral("This is not a preset file: it holds %1 bytes, a preset file "
                              "holds %2.")
            .arg(bytes.size())
            .arg(FileSize);
    std::array<std::uint8_t, FileSize> buffer{};
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), FileSize), buffer.begin());
    const auto bad = ImageCheck::FindBadCodes(buffer);
    if (!bad.empty())
        return QStringLiteral("This is not a preset file: %1.")
            .arg(ImageCheck::Describe(bad.front()));
    state.LoadBuffer = buffer;
    return {};
}

LoadOutcome LoadPresetFile(Kind kind, const Presets::Progress &progress)
{
    const QString path = AskFile(kind, Messages::FileMode::Open);
    if (path.isEmpty())
        return LoadOutcome::Cancelled;
    const std::optional<QByteArray> bytes = ReadFileStart(path);
    if (!bytes)
        return LoadOutcome::Refused;
    if (const QString refusal = TakeFileBytes(*bytes); !refusal.isEmpty()) {
        TellError(refusal);
        return LoadOutcome::Refused;
    }
    return UploadLoadBuffer(QFileInfo(path).fileName(), progress);
}

LoadOutcome UploadLoadBuffer(const QString &title, const Presets::Progress &progress)
{
    Presets::ProgressRun bar(progress, 0, LoadSteps);
    if (!Upload(state.LoadBuffer, bar))
        return LoadOutcome::Stopped;
    ApplyLoadedImage(title);
    return LoadOutcome::Loaded;
}

} // namespace PresetFiles
