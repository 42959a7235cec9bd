#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include "model/ValueTables.h"

/// The whole setting of both channels as JSON, the exchange format of the command-line tool and
/// of any later remote (format 1, described in docs/setting-json.md). Every byte of the 129-byte
/// image is a field, so an image that passes `ImageCheck` turns into JSON and back into the same
/// bytes. Values are in engineering units (dB, Hz, ms, s, Q) and must be values the unit's tables
/// hold exactly: JSON that was not written by `ToJson` is checked field by field, and the first
/// field that does not fit is named with its value and what is allowed. Depends on
/// model/ValueTables only.
///
/// Names of single parameters are their JSON paths with dots, bands numbered 1..15 as the
/// windows number them: "A.eq.3.gainDb", "B.limiter.releaseMs", "link".
namespace SettingJson {

inline constexpr int Format = 1;

using Image = std::array<std::uint8_t, ValueTables::ImageSize>;

/// A value the format does not take.
struct Refusal
{
    /// Where: "A.eq.3.gainDb"; empty for the document as a whole.
    QString path;
    /// What was found, as text ("7.3", "missing", "\"fast\"").
    QString value;
    /// What would be taken: "-15 .. 15 dB in steps of 0.5; nearest 7 or 7.5".
    QString allowed;
};

/// "A.eq.3.gainDb: 7.3 is not allowed (allowed: ...)".
QString Describe(const Refusal &refusal);

/// The image as JSON. A code outside its table shows as the table's nearest end (such an image
/// does not pass `ImageCheck`, and its JSON does not give the same bytes back).
QJsonObject ToJson(const Image &image);
/// `ToJson` as indented text.
QByteArray ToJsonText(const Image &image);

using Result = std::variant<Image, Refusal>;

/// The image of a setting's JSON, or the first field refused (names it does not know included).
/// The reserved bytes may be left out: they then take the default image's values.
Result FromJson(const QJsonObject &setting);
/// Parses the text first; text that is not one JSON object is refused with where it went wrong.
Result FromJsonText(const QByteArray &text);

/// What a parameter name stands for.
enum class Field {
    EqMode,
    Link,
    Mute,
    Delay,
    BandGain,
    BandFrequency,
    BandQ,
    FilterFrequency,
    FilterSlope,
    LimiterThreshold,
    LimiterRelease,
    LimiterAttack,
    GateEnabled,
    GateThreshold,
    GateRelease,
    GateAttack,
};

struct Parameter
{
    Field field = Field::Link;
    /// 0 = A, 1 = B (0 for the common eqMode and link).
    int channel = 0;
    /// Band 0..29 for the band fields, filter 0..3 for the filter fields (the program's indices).
    int index = 0;
};

/// Every parameter name, in image order (the reserved bytes are not parameters).
QStringList ParameterNames();
std::optional<Parameter> FindParameter(const QString &name);
/// The parameter's value in a setting's JSON (undefined when the name is none).
QJsonValue ValueOf(const QJsonObject &setting, const QString &name);

/// Every value a numeric field takes, lowest first; empty for the delay, switches and choices.
std::vector<double> Steps(Field field);

struct Span
{
    double lowest = 0;
    double highest = 0;
};
/// The lowest and highest value of a numeric field (the delay in ms included); nothing for
/// switches and choices.
std::optional<Span> RangeOf(Field field);

} // namespace SettingJson
