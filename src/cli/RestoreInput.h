#pragma once

#include <QByteArray>
#include <QString>

/// What `restore` takes: the bytes of a file, a setting in JSON or a preset file, told apart by
/// their content (a preset file never starts with "{", its first byte being a gain code 0..60).
namespace RestoreInput {

struct Taken
{
    /// Empty when the bytes make a setting; it is then in `PresetFiles::state.LoadBuffer`.
    QString refusal;
    bool json = false;
};

/// Checks every value first, with the checks of a loaded preset file (`PresetFiles`) for both
/// kinds; the JSON's refusal names the field, its value and what is allowed.
Taken Take(const QByteArray &bytes);

} // namespace RestoreInput
