#pragma once

#include <variant>

#include <QString>

#include "model/SettingJson.h"

/// `set NAME=VALUE`: one parameter by its JSON name, the value snapped to the unit's tables as
/// the editor windows snap a typed value, written into the model and sent with the block's own
/// frame and the recovery rule. While A and B are linked the other channel follows in the model
/// only, as in the windows (the unit links the channels itself).
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

/// Sets and sends the parameter; false when the link was lost (the operator was told).
bool Apply(const Assignment &assignment);

/// The parameter's value in the model now, as JSON shows it ("0.5", "true", "Bypass").
QString CurrentText(const QString &name);

} // namespace ParameterEdit
