#pragma once

#include <array>
#include <variant>

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include "editors/ParameterEdit.h"
#include "model/SettingJson.h"

/// The web remote's messages (JSON text frames, docs/remote-protocol.md) as plain functions: a
/// page message read into a checked request or its refusal, and the server's messages built from
/// the program's state.
namespace RemoteMessages {

/// A page message's "id", given back in its result (undefined when it had none).
using Id = QJsonValue;

/// "set": one control, its value checked against the parameter's range.
struct SetRequest
{
    Id id;
    ParameterEdit::Assignment assignment;
};

/// "preset": preset 1..16 from "factory", 17..32 from "user", as the windows number them.
struct PresetRequest
{
    Id id;
    int number = 0;
};

struct Refusal
{
    Id id;
    QString reason;
};

using PageMessage = std::variant<SetRequest, PresetRequest, Refusal>;

/// Reads one text frame from the page; anything that is not a well-formed request is refused
/// with the reason (and the id, when the frame had one).
PageMessage Parse(const QByteArray &frame);

enum class Role { Writer, Reader };

/// What a reader is told.
QString ReaderNote();

/// "hello": the role, demo mode, the lock, the value tables, the meters' names and the presets.
QByteArray Hello(Role role, const QString &note);
/// "setting": the model's whole setting as its JSON, and the lock.
QByteArray Setting(const SettingJson::Image &image, bool locked);
/// "curves": the total response of each channel on the filter window's points.
QByteArray Curves();
/// "meters": the six bars as the panel shows them now, each 0..1.
QByteArray MeterLevels();
QByteArray RoleChange(Role role, const QString &note);
QByteArray Result(const Id &id);
QByteArray Result(const Refusal &refusal);

} // namespace RemoteMessages
