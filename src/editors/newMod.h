#pragma once

#include <QChar>

#include "model/ValueTables.h"

/// Checks of typed numbers: a typed value is moved onto the nearest value the unit can take,
/// a point of an evenly spaced grid or an entry of a value table. Depends on model/ValueTables.
namespace newMod {

/// Grid point k of a use, computed anew from k each time.
using GridPoint = double (*)(int k);

/// The grid point nearest to x among points 0..last (halfway goes to the lower point).
double SnapToGrid(double x, GridPoint point, int last);
/// The index of that point.
int SnapToGridIndex(double x, GridPoint point, int last);
/// The index of the table entry nearest to x (halfway goes to the lower entry).
using ValueTables::NearestTableIndex;

/// Gate threshold boxes: -90, -85 .. -60 dB.
double SnapGateThreshold(double x);
/// Gate release boxes: index into `GateTimeTable`.
int GateReleaseIndex(double x);
/// Gate attack boxes: index k of 0.5, 0.6 .. 1.0.
int GateAttackIndex(double x);
/// Equaliser gain box `Text3`: -15 .. +15 in 0.5 dB steps.
double SnapFilterGain(double x);
/// Q box `Text5`: index into `QTable`.
int QIndexOf(double x);
/// Limiter threshold box `Text9`: -30 .. 0 in 0.2 dB steps.
double SnapLimiterThreshold(double x);
/// Limiter release box `Text10`: index into `ReleaseTable`.
int LimiterReleaseIndex(double x);
/// Limiter attack box `Text11`: index into `AttackTable`.
int LimiterAttackIndex(double x);

/// What a numeric box does with a typed character.
struct KeyAction
{
    enum Kind {
        Pass, ///< the key goes into the box unchanged
        Replace, ///< the key is replaced by `replacement`
        Apply, ///< Enter: the editor reads, limits and snaps the box
        Refuse, ///< the key is dropped and the editor warns
    };
    Kind kind;
    QChar replacement;
};

/// The key filter the numeric boxes share (their key handlers skip it while the program sets
/// controls itself): a comma or full stop becomes the locale's decimal separator, Enter (13)
/// applies, everything else passes.
KeyAction FilterKey(int key, bool commaLocale);

/// The crossover frequency boxes take digits, Backspace, the separator and Enter as `FilterKey`
/// does; any other printable key is refused. Control keys (copy, paste, undo) keep working.
KeyAction FilterFrequencyKey(int key, bool commaLocale);

} // namespace newMod
