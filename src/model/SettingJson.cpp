#include "model/SettingJson.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>
#include <QSet>

namespace SettingJson {
namespace {

using namespace ValueTables;

constexpr std::uint8_t GraphicBit = 0x01;
constexpr std::uint8_t LinkBit = 0x02;
constexpr std::uint8_t FlagBits = GraphicBit | LinkBit;

/// The delay: whole milliseconds (two bytes) and steps of 0.0208 ms, counted in 0.0001 ms.
constexpr int LastDelayMs = 300;
constexpr int LastFineStep = 47;
constexpr int FineStep = 208;
constexpr int PerMs = 10000;

/// Codes 0..last of a numeric field and the value each stands for.
struct Scale
{
    const char *unit;
    int last;
    double (*value)(int code);
};

constexpr int LastOf(const auto &table)
{
    return static_cast<int>(std::size(table)) - 1;
}

const Scale GainScale{"dB", 60, [](int c) { return (c - 30) / 2.0; }};
const Scale FrequencyScale{"Hz", LastOf(FreqTable), [](int c) { return FreqTable[c]; }};
const Scale QScale{"", LastOf(QTable), [](int c) { return QTable[c]; }};
// (code - 150) / 5 rather than code / 5 - 30: the nearest double to each 0.2 dB step.
const Scale LimiterThresholdScale{"dB", 150, [](int c) { return (c - 150) / 5.0; }};
const Scale ReleaseScale{"ms", LastOf(ReleaseTable), [](int c) { return ReleaseTable[c]; }};
const Scale AttackScale{"ms", LastOf(AttackTable), [](int c) { return AttackTable[c]; }};
const Scale GateThresholdScale{"dB", 6, [](int c) { return c * 5.0 - 90; }};
const Scale GateReleaseScale{"ms", LastOf(GateTimeTable), [](int c) { return GateTimeTable[c]; }};
const Scale GateAttackScale{"s", 5, [](int c) { return (c + 5) / 10.0; }};

enum class Kind { Scaled, Slope, OnOff, Delay, EqMode, Link, Reserved };

/// One field of the JSON and the image byte it stands for (the first of the delay's three).
struct FieldEntry
{
    QString path;
    QStringList segments;
    int byte;
    Kind kind;
    const Scale *scale = nullptr;
    Parameter parameter{};
};

double DelayOf(int ms, int fine)
{
    return (ms * PerMs + fine * FineStep) / double(PerMs);
}

QString NumberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

/// A JSON value as it would read in the file.
QString ValueText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Undefined:
        return QStringLiteral("missing");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return NumberText(value.toDouble());
    case QJsonValue::String:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    }
    return {};
}

/// The reserved bytes: three after each limiter, the last byte of channel A, the flags byte's
/// other bits and the byte that only files carry.
std::vector<int> ReservedBytes()
{
    std::vector<int> bytes;
    for (int channel = 0; channel < 2; ++channel) {
        for (int i = 0; i < 3; ++i)
            bytes.push_back(LimiterOffsets[channel] + LimiterSize + i);
        if (channel == 0)
            bytes.push_back(ChannelBlockSize - 1);
    }
    bytes.push_back(FlagsByteIndex);
    bytes.push_back(PresetImageSize);
    return bytes;
}

void AddChannelFields(std::vector<FieldEntry> &fields, int channel)
{
    const QString name = channel == 0 ? QStringLiteral("A.") : QStringLiteral("B.");
    const auto add = [&](const QString &path, int byte, Kind kind, const Scale *scale, Field field,
                         int index = 0) {
        fields.push_back({name + path, {}, byte, kind, scale, {field, channel, index}});
    };
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int band = channel * BandsPerChannel + k;
        const int at = EqBandOffsets[band];
        const QString prefix = QStringLiteral("eq.%1.").arg(k + 1);
        add(prefix + "gainDb", at, Kind::Scaled, &GainScale, Field::BandGain, band);
        add(prefix + "frequencyHz", at + 1, Kind::Scaled, &FrequencyScale, Field::BandFrequency,
            band);
        add(prefix + "q", at + 2, Kind::Scaled, &QScale, Field::BandQ, band);
    }
    for (int kind = 0; kind < 2; ++kind) {
        const int filter = 2 * channel + kind;
        const int at = CrossoverOffsets[filter];
        const QString prefix = kind == 0 ? QStringLiteral("highPass.") : QStringLiteral("lowPass.");
        add(prefix + "frequencyHz", at, Kind::Scaled, &FrequencyScale, Field::FilterFrequency,
            filter);
        add(prefix + "slope", at + 1, Kind::Slope, nullptr, Field::FilterSlope, filter);
    }
    const int limiter = LimiterOffsets[channel];
    add("limiter.thresholdDb", limiter + 2, Kind::Scaled, &LimiterThresholdScale,
        Field::LimiterThreshold);
    add("limiter.releaseMs", limiter + 1, Kind::Scaled, &ReleaseScale, Field::LimiterRelease);
    add("limiter.attackMs", limiter, Kind::Scaled, &AttackScale, Field::LimiterAttack);
    const int gate = GateOffsets[channel];
    add("gate.enabled", gate, Kind::OnOff, nullptr, Field::GateEnabled);
    add("gate.thresholdDb", gate + 1, Kind::Scaled, &GateThresholdScale, Field::GateThreshold);
    add("gate.releaseMs", gate + 2, Kind::Scaled, &GateReleaseScale, Field::GateRelease);
    add("gate.attackS", gate + 3, Kind::Scaled, &GateAttackScale, Field::GateAttack);
    add("delayMs", DelayOffsets[channel], Kind::Delay, nullptr, Field::Delay);
    add("mute", MuteOffsets[channel], Kind::OnOff, nullptr, Field::Mute);
}

std::vector<FieldEntry> BuildFields()
{
    std::vector<FieldEntry> fields;
    fields.push_back({"eqMode", {}, FlagsByteIndex, Kind::EqMode, nullptr, {Field::EqMode}});
    fields.push_back({"link", {}, FlagsByteIndex, Kind::Link, nullptr, {Field::Link}});
    AddChannelFields(fields, 0);
    AddChannelFields(fields, 1);
    for (int byte : ReservedBytes())
        fields.push_back(
            {QStringLiteral("reservedBytes.byte%1").arg(byte), {}, byte, Kind::Reserved});
    for (FieldEntry &entry : fields)
        entry.segments = entry.path.split(QLatin1Char('.'));
    return fields;
}

const std::vector<FieldEntry> &Fields()
{
    static const std::vector<FieldEntry> fields = BuildFields();
    return fields;
}

/// `node` with `value` put at `segments`; a number segment n is entry n - 1 of an array.
QJsonValue With(const QJsonValue &node, QStringList segments, const QJsonValue &value)
{
    if (segments.isEmpty())
        return value;
    const QString key = segments.takeFirst();
    bool isNumber = false;
    const int number = key.toInt(&isNumber);
    if (isNumber) {
        QJsonArray array = node.toArray();
        while (array.size() < number)
            array.append(QJsonObject());
        array[number - 1] = With(array.at(number - 1), segments, value);
        return array;
    }
    QJsonObject object = node.toObject();
    object[key] = With(object.value(key), segments, value);
    return object;
}

QJsonValue At(const QJsonValue &node, const QStringList &segments)
{
    QJsonValue here = node;
    for (const QString &key : segments) {
        bool isNumber = false;
        const int number = key.toInt(&isNumber);
        if (isNumber && here.isArray() && number >= 1)
            here = here.toArray().at(number - 1);
        else if (!isNumber && here.isObject())
            here = here.toObject().value(key);
        else
            return QJsonValue(QJsonValue::Undefined);
    }
    return here;
}

QJsonValue Encode(const FieldEntry &entry, const Image &image)
{
    const int code = image[entry.byte];
    switch (entry.kind) {
    case Kind::Scaled:
        return entry.scale->value(std::min(code, entry.scale->last));
    case Kind::Slope:
        return NameAt(SlopeNames, code);
    case Kind::OnOff:
        return code <= 1 ? QJsonValue(code == 1) : QJsonValue(code);
    case Kind::Delay:
        return DelayOf(code * 256 + image[entry.byte + 1], image[entry.byte + 2]);
    case Kind::EqMode:
        return (code & GraphicBit) ? QStringLiteral("graphic") : QStringLiteral("parametric");
    case Kind::Link:
        return (code & LinkBit) != 0;
    case Kind::Reserved:
        return entry.byte == FlagsByteIndex ? code & ~FlagBits : code;
    }
    return {};
}

std::optional<int> WholeNumber(const QJsonValue &value, int lowest, int highest)
{
    if (!value.isDouble())
        return std::nullopt;
    const double v = value.toDouble();
    if (!(v >= lowest && v <= highest) || v != std::floor(v))
        return std::nullopt;
    return static_cast<int>(v);
}

QString ScaleAllowed(const Scale &scale, double typed)
{
    const double first = scale.value(0);
    const double last = scale.value(scale.last);
    QString allowed = QStringLiteral("%1 .. %2 %3 in the unit's steps")
                          .arg(NumberText(first), NumberText(last), QString::fromLatin1(scale.unit))
                          .replace(QStringLiteral("  "), QStringLiteral(" "));
    if (!std::isfinite(typed))
        return allowed;
    std::optional<double> below;
    std::optional<double> above;
    for (int code = 0; code <= scale.last; ++code) {
        const double value = scale.value(code);
        if (value < typed)
            below = value;
        else if (!above)
            above = value;
    }
    QStringList nearest;
    for (const std::optional<double> &value : {below, above}) {
        if (value)
            nearest << NumberText(*value);
    }
    return allowed + QStringLiteral(", nearest ") + nearest.join(QStringLiteral(" or "));
}

std::optional<int> ScaledCode(const Scale &scale, const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    for (int code = 0; code <= scale.last; ++code) {
        if (scale.value(code) == value.toDouble())
            return code;
    }
    return std::nullopt;
}

QString SlopeAllowed()
{
    QStringList names;
    for (const char *name : SlopeNames)
        names << QLatin1Char('"') + QLatin1String(name) + QLatin1Char('"');
    return names.join(QStringLiteral(", "));
}

std::optional<int> SlopeCode(const QJsonValue &value)
{
    for (int code = 0; code <= LastOf(SlopeNames); ++code) {
        if (value.isString() && value.toString() == QLatin1String(SlopeNames[code]))
            return code;
    }
    return std::nullopt;
}

QString DelayAllowed(double typed)
{
    QString allowed = QStringLiteral("0 .. %1 ms: whole ms plus a multiple of 0.0208 ms")
                          .arg(NumberText(DelayOf(LastDelayMs, LastFineStep)));
    if (!(typed >= 0 && typed < LastDelayMs + 1))
        return allowed;
    const int ms = static_cast<int>(std::floor(typed));
    const int fine = std::min(static_cast<int>((typed - ms) * PerMs) / FineStep, LastFineStep);
    const double below = DelayOf(ms, fine);
    const double above = fine < LastFineStep ? DelayOf(ms, fine + 1) : DelayOf(ms + 1, 0);
    return allowed + QStringLiteral(", nearest %1 or %2").arg(NumberText(below), NumberText(above));
}

/// The three delay bytes of a value in ms.
std::optional<std::array<std::uint8_t, 3>> DelayBytes(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double v = value.toDouble();
    if (!(v >= 0 && v <= DelayOf(LastDelayMs, LastFineStep)))
        return std::nullopt;
    const long long steps = std::llround(v * PerMs);
    const int ms = static_cast<int>(steps / PerMs);
    const int rest = static_cast<int>(steps % PerMs);
    if (rest % FineStep != 0 || DelayOf(ms, rest / FineStep) != v)
        return std::nullopt;
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(ms >> 8),
                                       static_cast<std::uint8_t>(ms & 0xFF),
                                       static_cast<std::uint8_t>(rest / FineStep)};
}

void SetBits(std::uint8_t &byte, std::uint8_t bits, std::uint8_t value)
{
    byte = static_cast<std::uint8_t>((byte & ~bits) | (value & bits));
}

/// Writes the field's value into the image; the refusal when it does not fit.
std::optional<Refusal> Decode(const FieldEntry &entry, const QJsonValue &value, Image &image)
{
    const auto refuse = [&](const QString &allowed) {
        return Refusal{entry.path, ValueText(value), allowed};
    };
    std::uint8_t &byte = image[entry.byte];
    switch (entry.kind) {
    case Kind::Scaled: {
        const std::optional<int> code = ScaledCode(*entry.scale, value);
        if (!code)
            return refuse(ScaleAllowed(*entry.scale, value.toDouble(NAN)));
        byte = static_cast<std::uint8_t>(*code);
        return std::nullopt;
    }
    case Kind::Slope: {
        const std::optional<int> code = SlopeCode(value);
        if (!code)
            return refuse(SlopeAllowed());
        byte = static_cast<std::uint8_t>(*code);
        return std::nullopt;
    }
    case Kind::OnOff: {
        const std::optional<int> raw = WholeNumber(value, 2, 255);
        if (!value.isBool() && !raw)
            return refuse(QStringLiteral("true or false (or a raw code 2 .. 255)"));
        byte = static_cast<std::uint8_t>(value.isBool() ? value.toBool() : *raw);
        return std::nullopt;
    }
    case Kind::Delay: {
        const auto bytes = DelayBytes(value);
        if (!bytes)
            return refuse(DelayAllowed(value.toDouble(NAN)));
        std::copy(bytes->begin(), bytes->end(), image.begin() + entry.byte);
        return std::nullopt;
    }
    case Kind::EqMode: {
        const QString mode = value.toString();
        if (mode != QLatin1String("graphic") && mode != QLatin1String("parametric"))
            return refuse(QStringLiteral("\"parametric\" or \"graphic\""));
        SetBits(byte, GraphicBit, mode == QLatin1String("graphic") ? GraphicBit : 0);
        return std::nullopt;
    }
    case Kind::Link:
        if (!value.isBool())
            return refuse(QStringLiteral("true or false"));
        SetBits(byte, LinkBit, value.toBool() ? LinkBit : 0);
        return std::nullopt;
    case Kind::Reserved: {
        const bool flags = entry.byte == FlagsByteIndex;
        const std::optional<int> raw = WholeNumber(value, 0, 255);
        if (!raw || (flags && (*raw & FlagBits)))
            return refuse(flags ? QStringLiteral("0 .. 252 in steps of 4 (the flags byte's "
                                                 "unused bits)")
                                : QStringLiteral("0 .. 255"));
        SetBits(byte, flags ? static_cast<std::uint8_t>(~FlagBits) : 0xFF,
                static_cast<std::uint8_t>(*raw));
        return std::nullopt;
    }
    }
    return std::nullopt;
}

/// The reserved bytes of the default image; zero elsewhere.
Image StartingImage()
{
    Image image{};
    for (int byte : ReservedBytes()) {
        if (byte < PresetImageSize)
            image[byte] = DefaultImage[byte] & (byte == FlagsByteIndex ? ~FlagBits : 0xFF);
    }
    return image;
}

struct Names
{
    QSet<QString> fields;
    /// Every path that holds fields: "A", "A.eq", "A.eq.3", ...
    QSet<QString> containers;
};

const Names &KnownNames()
{
    static const Names names = [] {
        Names known;
        known.fields.insert(QStringLiteral("format"));
        for (const FieldEntry &entry : Fields()) {
            known.fields.insert(entry.path);
            for (qsizetype n = 1; n < entry.segments.size(); ++n)
                known.containers.insert(entry.segments.first(n).join(QLatin1Char('.')));
        }
        return known;
    }();
    return names;
}

QString Child(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

/// The first name in the JSON that format 1 does not have.
std::optional<Refusal> FindUnknownName(const QJsonValue &node, const QString &path)
{
    const Names &known = KnownNames();
    if (known.fields.contains(path))
        return std::nullopt;
    if (!path.isEmpty() && !known.containers.contains(path))
        return Refusal{path, ValueText(node), QStringLiteral("none, format 1 has no such name")};
    if (node.isObject()) {
        const QJsonObject object = node.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (auto unknown = FindUnknownName(it.value(), Child(path, it.key())))
                return unknown;
        }
        return std::nullopt;
    }
    if (node.isArray()) {
        const QJsonArray array = node.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (auto unknown = FindUnknownName(array.at(i), Child(path, QString::number(i + 1))))
                return unknown;
        }
        return std::nullopt;
    }
    return Refusal{path, ValueText(node), QStringLiteral("an object or an array")};
}

} // namespace

QString Describe(const Refusal &refusal)
{
    if (refusal.path.isEmpty())
        return QStringLiteral("not a setting: %1 (%2)").arg(refusal.allowed, refusal.value);
    return QStringLiteral("%1: %2; allowed: %3").arg(refusal.path, refusal.value, refusal.allowed);
}

QJsonObject ToJson(const Image &image)
{
    QJsonValue root = QJsonObject{{QStringLiteral("format"), Format}};
    for (const FieldEntry &entry : Fields())
        root = With(root, entry.segments, Encode(entry, image));
    return root.toObject();
}

QByteArray ToJsonText(const Image &image)
{
    return QJsonDocument(ToJson(image)).toJson(QJsonDocument::Indented);
}

Result FromJson(const QJsonObject &setting)
{
    const QJsonValue format = setting.value(QStringLiteral("format"));
    if (format != QJsonValue(Format))
        return Refusal{QStringLiteral("format"), ValueText(format), QString::number(Format)};
    if (auto unknown = FindUnknownName(setting, QString()))
        return *unknown;
    Image image = StartingImage();
    for (const FieldEntry &entry : Fields()) {
        const QJsonValue value = At(setting, entry.segments);
        if (value.isUndefined() && entry.kind == Kind::Reserved)
            continue;
        if (auto refusal = Decode(entry, value, image))
            return *refusal;
    }
    return image;
}

Result FromJsonText(const QByteArray &text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return Refusal{QString(), QStringLiteral("at byte %1").arg(error.offset),
                       QStringLiteral("JSON that does not parse: ") + error.errorString()};
    if (!document.isObject())
        return Refusal{QString(), QStringLiteral("an array"),
                       QStringLiteral("the JSON is not one object")};
    return FromJson(document.object());
}

QStringList ParameterNames()
{
    QStringList names;
    for (const FieldEntry &entry : Fields()) {
        if (entry.kind != Kind::Reserved)
            names << entry.path;
    }
    return names;
}

std::optional<Parameter> FindParameter(const QString &name)
{
    static const QHash<QString, Parameter> parameters = [] {
        QHash<QString, Parameter> all;
        for (const FieldEntry &entry : Fields()) {
            if (entry.kind != Kind::Reserved)
                all.insert(entry.path, entry.parameter);
        }
        return all;
    }();
    const auto found = parameters.constFind(name);
    if (found == parameters.constEnd())
        return std::nullopt;
    return *found;
}

QJsonValue ValueOf(const QJsonObject &setting, const QString &name)
{
    if (!FindParameter(name))
        return QJsonValue(QJsonValue::Undefined);
    return At(setting, name.split(QLatin1Char('.')));
}

namespace {

const Scale *ScaleOf(Field field)
{
    for (const FieldEntry &entry : Fields()) {
        if (entry.kind == Kind::Scaled && entry.parameter.field == field)
            return entry.scale;
    }
    return nullptr;
}

} // namespace

std::vector<double> Steps(Field field)
{
    std::vector<double> steps;
    if (const Scale *scale = ScaleOf(field)) {
        for (int code = 0; code <= scale->last; ++code)
            steps.push_back(scale->value(code));
    }
    return steps;
}

std::optional<Span> RangeOf(Field field)
{
    if (field == Field::Delay)
        return Span{0, DelayOf(LastDelayMs, LastFineStep)};
    if (const Scale *scale = ScaleOf(field))
        return Span{scale->value(0), scale->value(scale->last)};
    return std::nullopt;
}

} // namespace SettingJson
