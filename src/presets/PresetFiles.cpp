#include "presets/PresetFiles.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QStandardPaths>

#include "link/ModTxRx.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "model/SettingHistory.h"
#include "shell/FileAccess.h"
#include "shell/Messages.h"

namespace PresetFiles {

State state;

using namespace UnitProtocol;

namespace {

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

/// The start of a file, or why it could not be read.
struct FileStart
{
    QByteArray bytes;
    QString refusal;
};

FileStart ReadFileStart(const QString &path)
{
    const FileAccess::FileStart start = FileAccess::ReadStart(path, FileSize);
    if (start.kind == FileAccess::Kind::Missing)
        return {{}, QStringLiteral(" File not found. Try again.")};
    if (start.kind != FileAccess::Kind::Regular)
        return {{},
                QStringLiteral("This is not a preset file: it is %1.")
                    .arg(FileAccess::Describe(start.kind))};
    if (!start.error.isEmpty())
        return {{}, QStringLiteral("The file could not be read: %1").arg(start.error)};
    return {start.bytes, {}};
}

/// The 32 blocks and the apply frame; false when the link was lost.
bool Upload(const std::array<std::uint8_t, FileSize> &image, const Presets::ProgressRun &bar)
{
    const auto &work = ModTxRx::state.WorkBytes;
    for (int i = 0; i < ValueTables::PresetImageSize; i += BytesPerFrame) {
        ModTxRx::SplitToBytes(i, 0);
        const auto writeBlock = [&image, i, high = work[2], low = work[3]] {
            ModTxRx::TransferFrame(WriteImageCommand, high, low, image[i], image[i + 1],
                                   image[i + 2], image[i + 3]);
        };
        if (!ModTxRx::SendRepeatable(writeBlock))
            return false;
        bar.Step();
    }
    if (!ModTxRx::SendRepeatable(
            [] { ModTxRx::TransferFrame(ApplyImageCommand, 0, 0, 0, 0, 0, 0); }))
        return false;
    bar.Step();
    return true;
}

void ApplyLoadedImage(const QString &title)
{
    const ModFun::OperatorStep step(QStringLiteral("preset file"));
    auto &model = ModFun::state;
    model.ParamImage = state.LoadBuffer;
    {
        QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }
    model.PresetSource = QStringLiteral("File");
    model.PresetTitle = title;
    ModFun::history().MarkSaved();
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
    if (const FileAccess::Kind found = FileAccess::KindOf(path); !FileAccess::MayWrite(found)) {
        TellError(QStringLiteral("The preset could not be saved: %1 is %2.")
                      .arg(QFileInfo(path).fileName(), FileAccess::Describe(found)));
        return false;
    }
    const auto &image = ModFun::state.ParamImage;
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char *>(image.data()), FileSize) == FileSize &&
        file.commit();
    if (!written)
        TellError(QStringLiteral("The preset could not be saved: %1").arg(file.errorString()));
    else
        ModFun::history().MarkSaved();
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
    const FileStart start = ReadFileStart(path);
    const QString refusal = start.refusal.isEmpty() ? TakeFileBytes(start.bytes) : start.refusal;
    if (!refusal.isEmpty()) {
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
