// Any file chosen in the load dialog, in demo mode or against a unit that answers anything: the
// file is taken only when it is long enough and every code is in range; a refused or stopped load
// leaves the model as it was and sends nothing it should not; a load that ends reached the unit
// whole and becomes the model's image, which saves back byte for byte. The file itself is never
// changed, and a missing file is not created.
#include <algorithm>
#include <functional>
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "presets/PresetFiles.h"
#include "shell/Messages.h"

namespace {

using PresetFiles::LoadOutcome;
using Image = std::array<std::uint8_t, PresetFiles::FileSize>;

constexpr int UploadFrames = ValueTables::PresetImageSize / 4 + 1;

/// A folder in memory where there is one: saving syncs the file to disk, which would slow each
/// run down to the disk's pace.
QString TemporaryTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return base + QStringLiteral("/mxrf-fuzz-XXXXXX");
}

/// The user's documents and configuration in a temporary folder for the whole run.
class Sandbox
{
public:
    Sandbox() : config(TemporaryTemplate()), documents(TemporaryTemplate())
    {
        QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
        Require(dirs.open(QIODevice::WriteOnly), "sandbox configuration written");
        dirs.write("XDG_DOCUMENTS_DIR=\"" + documents.path().toUtf8() + "\"\n");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }

    QString PathOf(const QString &name) const { return documents.filePath(name); }

private:
    QTemporaryDir config;
    QTemporaryDir documents;
};

const Sandbox &TheSandbox()
{
    static const Sandbox sandbox;
    return sandbox;
}

enum class Choice { Cancel, MissingFile, File };

/// Raw bytes of any length, or the default image with a few bytes changed and its length moved
/// around 129 (so that most of these files get past the checks and into the upload).
QByteArray FileBytes(FuzzInput &input, bool raw)
{
    if (raw) {
        const int length = (input.Byte() | input.Byte() << 8) % 1024;
        return input.Take(static_cast<std::size_t>(length));
    }
    const auto &image = ValueTables::DefaultImage;
    QByteArray bytes(reinterpret_cast<const char *>(image.data()), image.size());
    bytes.resize(120 + input.Byte() % 40, '\0');
    for (int edits = input.Byte() % 8; edits > 0; --edits) {
        const int at = input.Byte() % bytes.size();
        bytes[at] = static_cast<char>(input.Byte());
    }
    return bytes;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// What a preset file of these bytes puts into the model: its first 129 bytes, zeros after a
/// shorter file; nothing when it is too short or holds a code outside its table.
std::optional<Image> ExpectedImage(const QByteArray &bytes)
{
    if (bytes.size() < PresetFiles::ShortestFile)
        return std::nullopt;
    Image image{};
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), image.size()), image.begin());
    Image clamped = image;
    if (ImageCheck::ClampCodes(clamped) != 0)
        return std::nullopt;
    return image;
}

struct ProgressSeen
{
    int starts = 0;
    int maximum = 0;
    int steps = 0;
    int finishes = 0;
};

/// After a load: the saved file is the model's image, 129 bytes.
void CheckSavedBackWhole(const Image &image)
{
    const QString saved = TheSandbox().PathOf(QStringLiteral("saved.RFP"));
    Messages::SetFilePresenter([saved](const Messages::FileRequest &) { return saved; });
    Require(PresetFiles::SavePresetFile(PresetFiles::Kind::User), "save after load");
    const QByteArray bytes = ReadAll(saved);
    Require(bytes.size() == PresetFiles::FileSize &&
                std::equal(image.begin(), image.end(),
                           reinterpret_cast<const std::uint8_t *>(bytes.constData())),
            "saved file = model image");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Sandbox &sandbox = TheSandbox();
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    const std::uint8_t flags = ResetProgramFrom(input, serial);
    const bool demo = flags & 1;
    const auto kind = flags & 2 ? PresetFiles::Kind::Factory : PresetFiles::Kind::User;
    const auto choice = static_cast<Choice>(std::min((flags >> 2) & 3, 2));
    const QByteArray bytes = FileBytes(input, flags & 16);

    const QString file = sandbox.PathOf(QStringLiteral("chosen.RFP"));
    const QString missing = sandbox.PathOf(QStringLiteral("missing.RFP"));
    QFile::remove(missing);
    QFile written(file);
    Require(written.open(QIODevice::WriteOnly) && written.write(bytes) == bytes.size(),
            "file written");
    written.close();

    ModFun::LoadDefaultImage();
    ModFun::state.PresetTitle = QStringLiteral("before");
    const ProgramSnapshot before = TakeSnapshot();
    const QString chosen = choice == Choice::Cancel ? QString()
        : choice == Choice::MissingFile             ? missing
                                                    : file;
    AnswerMessagesFrom(input, chosen);

    ProgressSeen seen;
    const Presets::Progress progress{
        [&](int, int maximum) { ++seen.starts, seen.maximum = maximum; },
        [&] { ++seen.steps; },
        [&] { ++seen.finishes; },
    };
    const LoadOutcome outcome = PresetFiles::LoadPresetFile(kind, progress);

    Require(ReadAll(file) == bytes, "the file is never changed");
    Require(!QFile::exists(missing), "a missing file is not created");
    Require(seen.starts == seen.finishes && seen.starts <= 1, "one progress run, finished");
    const std::optional<Image> expected = ExpectedImage(bytes);
    if (outcome != LoadOutcome::Loaded)
        Require(TakeSnapshot() == before, "the model unchanged unless loaded");
    if (outcome == LoadOutcome::Cancelled || outcome == LoadOutcome::Refused)
        Require(serial.exchanges == 0 && seen.starts == 0, "nothing sent before the checks");

    switch (choice) {
    case Choice::Cancel:
        Require(outcome == LoadOutcome::Cancelled && Messages::Log().empty(), "cancel is silent");
        return 0;
    case Choice::MissingFile:
        Require(outcome == LoadOutcome::Refused && ToldOnce(QStringLiteral(" Error")),
                "a missing file is refused and told");
        return 0;
    case Choice::File:
        break;
    }
    if (!expected) {
        Require(outcome == LoadOutcome::Refused && ToldOnce(QStringLiteral(" Error")),
                "a short file or a bad code is refused and told");
        return 0;
    }
    Require(outcome == LoadOutcome::Loaded || (!demo && outcome == LoadOutcome::Stopped),
            "a sound file loads unless the link fails");
    Require(seen.maximum == PresetFiles::LoadSteps, "progress maximum");
    if (outcome == LoadOutcome::Stopped) {
        Require(ToldLinkProblem(), "a stopped load is told");
        return 0;
    }
    Require(seen.steps == UploadFrames, "one step per upload frame");
    Require(demo ? serial.exchanges == 0 : UploadReachedUnit(serial, *expected),
            "the unit got the whole file");
    Image held = *expected;
    AsTheModelHoldsIt(held);
    Require(ModFun::state.ParamImage == held, "the model holds the file");
    Require(ModFun::state.PresetSource == QStringLiteral("File") &&
                ModFun::state.PresetTitle == QStringLiteral("chosen.RFP"),
            "the title names the file");
    CheckSavedBackWhole(ModFun::state.ParamImage);
    return 0;
}
