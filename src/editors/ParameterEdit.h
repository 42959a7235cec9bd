#pragma once

#include <variant>

#include <QJsonValue>
#include <QString>

#include "model/SettingJson.h"

/// One parameter by its JSON name (the command line's `set NAME=VALUE`, the web remote's `set`),
/// the value snapped to the unit's tables as the editor windows snap a typed value, written into
/// the model and sent with the block's own frame and the recovery rule. While A and B are linked
/// the other channel follows in the model only, as in the windows (the unit links the channels
/// itself). Depends on model, graph (the filter window's snapping) and editors.
namespace ParameterEdit {

struct Assignment
{
    QString name;
    SettingJson::Parameter parameter;
    /// The value: a number, on/off as 1/0, or the index of a named choice (slope, equaliser
    /// type).
    double value = 0;
};

/// "NAME=VALUE" read and checked without the unit; the refusal text when the name is none or
/// the value cannot be one of it.
std::variant<Assignment, QString> Parse(const QString &text);

/// A JSON value for the parameter `name`: true or false for a switch, a choice's name, or a
/// number within the field's range (snapped later, on `Apply`); else the refusal text.
std::variant<Assignment, QString> Check(const QString &name, const QJsonValue &value);

/// Sets and sends the parameter; false when the link was lost (the operator was told).
bool Apply(const Assignment &assignment);

/// The parameter's value in the model now, as JSON shows it ("0.5", "true", "Bypass").
QString CurrentText(const QString &name);

} // namespace ParameterEdit
