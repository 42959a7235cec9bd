#include "cli/RestoreInput.h"

#include <variant>

#include <QJsonDocument>
#include <QJsonParseError>

#include "model/SettingJson.h"
#include "presets/PresetFiles.h"

namespace RestoreInput {

namespace {

bool LooksLikeJson(const QByteArray &bytes)
{
    return bytes.trimmed().startsWith('{');
}

bool ParsesAsJson(const QByteArray &bytes)
{
    QJsonParseError error{};
    QJsonDocument::fromJson(bytes, &error);
    return error.error == QJsonParseError::NoError;
}

Taken TakeJson(const QByteArray &bytes)
{
    const SettingJson::Result result = SettingJson::FromJsonText(bytes);
    if (const auto *refusal = std::get_if<SettingJson::Refusal>(&result))
        return {SettingJson::Describe(*refusal), true};
    const SettingJson::Image &image = std::get<SettingJson::Image>(result);
    const QByteArray raw(reinterpret_cast<const char *>(image.data()), qsizetype(image.size()));
    return {PresetFiles::TakeFileBytes(raw), true};
}

} // namespace

Taken Take(const QByteArray &bytes)
{
    const bool json = LooksLikeJson(bytes);
    if (json && ParsesAsJson(bytes))
        return TakeJson(bytes);
    // Not JSON: a preset file, whose blanks and "{" may be gain and Q codes.
    const QString refusal = PresetFiles::TakeFileBytes(bytes);
    if (refusal.isEmpty() || !json)
        return {refusal, false};
    return TakeJson(bytes);
}

} // namespace RestoreInput
