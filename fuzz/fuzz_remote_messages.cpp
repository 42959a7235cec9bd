// Any text frame a page may send the web remote, as bytes or as a message put together from a
// parameter name and a value of any JSON type: it is read into a set or preset request or
// refused with a reason. A set's value lies within its parameter's range and, applied, leaves the
// image within every table; a preset request names a preset of its source. Any request path
// reaches a page file only by its exact name under the token.
#include <variant>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "FuzzInput.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "remote/RemoteHttp.h"
#include "remote/RemoteMessages.h"

namespace {

constexpr char Token[] = "0123456789abcdef0123456789abcdef";

QJsonValue AnyValue(FuzzInput &input)
{
    switch (input.Byte() % 5) {
    case 0:
        return input.Byte() & 1;
    case 1:
        return input.Text(12);
    case 2:
        return static_cast<qint8>(input.Byte()) * 2.5 + input.Byte() / 256.0;
    case 3:
        return (input.Byte() | input.Byte() << 8) * 0.5 - 400;
    default:
        return QJsonArray{input.Byte()};
    }
}

QByteArray AnyMessage(FuzzInput &input)
{
    const QStringList names = SettingJson::ParameterNames();
    const int choice = input.Byte();
    if (choice % 4 == 0)
        return input.Take(input.Byte());
    QJsonObject message{{"id", input.Byte()}};
    if (choice % 4 == 1) {
        message.insert("type", "preset");
        message.insert("source", input.Byte() & 1 ? "user" : "factory");
        message.insert("number", AnyValue(input));
        return QJsonDocument(message).toJson();
    }
    message.insert("type", "set");
    message.insert("path", choice % 4 == 2 ? names[input.Byte() % names.size()] : input.Text(20));
    message.insert("value", AnyValue(input));
    return QJsonDocument(message).toJson();
}

void CheckSet(const RemoteMessages::SetRequest &request)
{
    const ParameterEdit::Assignment &assignment = request.assignment;
    Require(SettingJson::FindParameter(assignment.name).has_value(), "a set names a parameter");
    const auto range = SettingJson::RangeOf(assignment.parameter.field);
    if (range)
        Require(assignment.value >= range->lowest && assignment.value <= range->highest,
                "a set's number lies within its range");
    ParameterEdit::Apply(assignment);
    Require(ImageCheck::FindBadCodes(ModFun::state.ParamImage).empty(),
            "an applied value leaves the image within its tables");
}

void CheckPreset(const RemoteMessages::PresetRequest &request)
{
    Require(request.number >= 1 && request.number <= 32, "a preset request names a preset");
}

void CheckRoute(FuzzInput &input)
{
    const QByteArray path = input.Take(input.Byte() % 48);
    const RemoteHttp::Route route = RemoteHttp::RouteOf(path, Token);
    if (route.target != RemoteHttp::Target::Resource)
        return;
    const QByteArray prefix = QByteArray("/") + Token + '/';
    Require(path == prefix || path == prefix + "remote.js" || path == prefix + "remote.css",
            "only the page's names reach a file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    ResetProgramFrom(input, serial);
    CheckRoute(input);
    const RemoteMessages::PageMessage message = RemoteMessages::Parse(AnyMessage(input));
    if (const auto *refusal = std::get_if<RemoteMessages::Refusal>(&message))
        Require(!refusal->reason.isEmpty(), "a refusal gives its reason");
    else if (const auto *set = std::get_if<RemoteMessages::SetRequest>(&message))
        CheckSet(*set);
    else
        CheckPreset(std::get<RemoteMessages::PresetRequest>(message));
    return 0;
}
