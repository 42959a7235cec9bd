#pragma once

#include <QDateTime>
#include <QString>

class QPainter;

/// The settings sheet an installer leaves with the system: the preset, the date, the unit, the
/// response graph and every setting of both channels in the units the windows show, on one A4
/// page (PDF, or printed through the windows' print dialog).
namespace Report {

struct SheetFacts
{
    /// "Preset : P3 - Rock", or where the setting came from.
    QString preset;
    /// "MX-RF418, firmware 1.3.3", "demo" or "not connected".
    QString unit;
    QDateTime made;
};

/// "MX-RF418, firmware ..." with the version the unit gave after connecting.
QString ConnectedUnitText();

/// The facts of the program's state now: the preset of the panel's title; the unit as
/// `ConnectedUnitText` while the overview panel is open on a unit, "demo" in demo mode, else
/// "not connected".
SheetFacts CurrentSheetFacts();

/// Lays the sheet out on the painter's device (one page, its paintable area) from the current
/// setting (`ModFun::state.ParamImage`) and the curve store.
void PaintSheet(QPainter &painter, const SheetFacts &facts);

/// The sheet as an A4 PDF; answers why it could not be written, empty when it was.
QString WriteSheetPdf(const QString &path, const SheetFacts &facts);

} // namespace Report
