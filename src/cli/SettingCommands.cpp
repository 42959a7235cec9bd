// dump, restore, get and set: the setting of both channels.
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSaveFile>

#include "cli/CommandContext.h"
#include "cli/RestoreInput.h"
#include "cli/Terminal.h"
#include "editors/ParameterEdit.h"
#include "link/UnitProtocol.h"
#include "model/ModFun.h"
#include "model/SettingJson.h"
#include "presets/DeviceImage.h"
#include "presets/PresetFiles.h"

namespace Cli {

namespace {

constexpr int UploadBlocks = DeviceImage::FrameCount;

/// After a lost link: which blocks of the upload the unit answered, from `first` on.
QString UploadReport(const std::vector<FrameBuffer> &answered, std::size_t first)
{
    std::array<bool, UploadBlocks> reached{};
    for (std::size_t i = first; i < answered.size(); ++i) {
        const FrameBuffer &request = answered[i];
        if (request[2] == UnitProtocol::WriteImageCommand &&
            request[4] / UnitProtocol::BytesPerFrame < UploadBlocks)
            reached[request[4] / UnitProtocol::BytesPerFrame] = true;
    }
    const auto count = std::count(reached.begin(), reached.end(), true);
    if (count == 0)
        return QStringLiteral("link lost: no block of the setting reached the unit; it keeps "
                              "its setting");
    return QStringLiteral("link lost: blocks 1..%1 of %2 reached the unit (image bytes 0..%3); "
                          "blocks %4..%2 and the apply frame (0x2B) did not")
        .arg(count)
        .arg(UploadBlocks)
        .arg(count * UnitProtocol::BytesPerFrame - 1)
        .arg(count + 1);
}

/// Reads the setting back and compares it with what was sent.
Exit Verify()
{
    DeviceImage::Image unit{};
    if (!DeviceImage::ReadSettingImage(unit, DeviceImage::OnFailure::Recover))
        return Fail(LinkLost,
                    QStringLiteral("the setting was sent whole, but the link was lost "
                                   "while reading it back"));
    const auto &sent = PresetFiles::state.LoadBuffer;
    for (int i = 0; i < DeviceImage::ImageSize; ++i) {
        if (unit[i] != sent[i])
            return Fail(Refused,
                        QStringLiteral("verify: byte %1 was sent as %2, the unit holds %3")
                            .arg(i)
                            .arg(sent[i])
                            .arg(unit[i]));
    }
    Terminal::PrintError(QStringLiteral("verified: the unit holds the setting sent"));
    return Done;
}

} // namespace

Exit RunDump(const Context &context)
{
    const QString path = context.parser.value(QStringLiteral("preset-file"));
    QSaveFile file(path);
    if (!path.isEmpty() && !file.open(QIODevice::WriteOnly))
        return Fail(BadInput, QStringLiteral("%1: %2").arg(path, file.errorString()));
    SettingJson::Image image{};
    {
        // The unit is released before the file is written.
        Session session(context.global);
        if (auto failed = session.Connect())
            return *failed;
        image = ModFun::state.ParamImage;
    }
    if (path.isEmpty()) {
        std::fputs(SettingJson::ToJsonText(image).constData(), stdout);
        return Done;
    }
    file.write(reinterpret_cast<const char *>(image.data()), qint64(image.size()));
    if (!file.commit())
        return Fail(BadInput, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return Done;
}

Exit RunRestore(const Context &context)
{
    const QString path = context.arguments.value(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(BadInput, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const RestoreInput::Taken taken = RestoreInput::Take(file.readAll());
    if (!taken.refusal.isEmpty())
        return Fail(BadInput, QStringLiteral("%1: %2; nothing was sent").arg(path, taken.refusal));
    Session session(context.global);
    if (auto failed = session.Connect())
        return *failed;
    if (auto locked = session.RefuseIfLocked())
        return *locked;
    const std::size_t before = session.Serial().Answered().size();
    Terminal::ProgressBar bar(QStringLiteral("restoring"));
    const auto outcome =
        PresetFiles::UploadLoadBuffer(QFileInfo(path).fileName(), bar.AsProgress());
    if (outcome != PresetFiles::LoadOutcome::Loaded)
        return Fail(LinkLost, UploadReport(session.Serial().Answered(), before));
    return context.parser.isSet(QStringLiteral("verify")) ? Verify() : Done;
}

Exit RunGet(const Context &context)
{
    const QStringList names =
        context.arguments.isEmpty() ? SettingJson::ParameterNames() : context.arguments;
    for (const QString &name : names) {
        if (!SettingJson::FindParameter(name))
            return Fail(
                BadInput,
                QStringLiteral("%1: no such parameter ('mxrf418-cli get' lists them)").arg(name));
    }
    Session session(context.global);
    if (auto failed = session.Connect())
        return *failed;
    const QJsonObject setting = SettingJson::ToJson(ModFun::state.ParamImage);
    QJsonObject values;
    for (const QString &name : names) {
        if (context.global.json)
            values.insert(name, SettingJson::ValueOf(setting, name));
        else
            Terminal::PrintOut(name + QLatin1Char('=') + ParameterEdit::CurrentText(name));
    }
    if (context.global.json)
        PrintJson(values);
    return Done;
}

Exit RunSet(const Context &context)
{
    std::vector<ParameterEdit::Assignment> assignments;
    for (const QString &text : context.arguments) {
        const auto parsed = ParameterEdit::Parse(text);
        if (const auto *refusal = std::get_if<QString>(&parsed))
            return Fail(BadInput, *refusal + QStringLiteral("; nothing was sent"));
        assignments.push_back(std::get<ParameterEdit::Assignment>(parsed));
    }
    Session session(context.global);
    if (auto failed = session.Connect())
        return *failed;
    if (auto locked = session.RefuseIfLocked())
        return *locked;
    QStringList applied;
    for (std::size_t i = 0; i < assignments.size(); ++i) {
        const QString &name = assignments[i].name;
        if (!ParameterEdit::Apply(assignments[i])) {
            QStringList rest;
            for (std::size_t j = i + 1; j < assignments.size(); ++j)
                rest << assignments[j].name;
            const auto list = [](const QStringList &names) {
                return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
            };
            return Fail(LinkLost,
                        QStringLiteral("link lost: applied: %1; unconfirmed: %2; not sent: %3")
                            .arg(list(applied), name, list(rest)));
        }
        applied << name;
        Terminal::PrintOut(name + QLatin1Char('=') + ParameterEdit::CurrentText(name));
    }
    return Done;
}

} // namespace Cli
