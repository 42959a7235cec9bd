#pragma once

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QString>

#include "model/ValueTables.h"
#include "presets/PresetProgress.h"

/// Preset files on the PC: the 129 bytes of `ParamImage`, raw. User presets (*.RFP) and factory
/// presets (*.rf1) differ only in their dialog filter and folder. Depends on link, model and the
/// message and file layers of shell (dialogs and boxes, file access).
///
/// A name is checked before anything is opened: a folder, a device, a pipe or a link to nothing
/// is refused, on loading and on saving, with a message that says what it is.
/// A file is checked before anything happens: shorter than 128 bytes, or with a code outside its
/// table, it is refused with a message that says why. A loaded file reaches `ParamImage` only
/// after its upload to the unit went through.
namespace PresetFiles {

enum class Kind { User, Factory };

inline constexpr int FileSize = ValueTables::ImageSize;
/// The shortest file taken: the last byte, read by nothing, is then 0.
inline constexpr int ShortestFile = ValueTables::PresetImageSize;
/// The bar's maximum for a load: 32 blocks, the apply frame, and room to spare.
inline constexpr int LoadSteps = 37;

struct State
{
    /// A file's bytes before they are accepted.
    std::array<std::uint8_t, FileSize> LoadBuffer{};
};

extern State state;

void Reset();

/// The folder both dialogs of a kind start in: "Preset" or "Factory preset" below "MX-RF418" in
/// the user's documents (else data) location; created when missing.
QString PresetFolder(Kind kind);
/// "file preset (*.RFP)" or "file factory preset (*.RF1)".
QString FileFilter(Kind kind);

/// Asks for a file name and writes the 129 bytes of `ParamImage` in place of the file, whole or
/// not at all. Answers false when the operator cancelled, the name is no regular file (a folder,
/// a device, a pipe, a link to nothing) or the file could not be written (the operator was told).
/// Nothing is sent.
bool SavePresetFile(Kind kind);

enum class LoadOutcome {
    Cancelled,
    Refused, ///< not found, no regular file, unreadable, too short or with a bad code; the
             ///< operator was told
    Loaded,
    Stopped, ///< the upload failed for good; the image is unchanged
};

/// Checks a file's bytes and puts them into `LoadBuffer`: empty when they make a preset, else
/// the reason they do not. A file longer than 129 bytes gives its first 129.
QString TakeFileBytes(const QByteArray &bytes);

/// Asks for a file, checks it, uploads it to the unit (32 x 0x1A, then 0x2B), then makes it the
/// model's image and refreshes the model with sending suspended; the title becomes
/// "File : <name>". `progress` runs over the upload.
LoadOutcome LoadPresetFile(Kind kind, const Presets::Progress &progress);

/// The upload and apply of `LoadPresetFile` for bytes already taken by `TakeFileBytes`: 32 x
/// 0x1A and 0x2B, then `LoadBuffer` becomes the model's image and the title "File : <title>".
/// `Loaded` or `Stopped`.
LoadOutcome UploadLoadBuffer(const QString &title, const Presets::Progress &progress);

} // namespace PresetFiles
