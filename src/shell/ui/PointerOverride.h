#pragma once

#include <Qt>

/// Shows one pointer over every window of the program while it lives, then gives back the one
/// shown before; guards nest. The busy arrow (`Qt::BusyCursor`, arrow and hourglass) where the
/// operator may still look around while the program works, the hourglass (`Qt::WaitCursor`)
/// where the program holds everything.
class PointerOverride
{
public:
    explicit PointerOverride(Qt::CursorShape shape);
    ~PointerOverride();
    PointerOverride(const PointerOverride &) = delete;
    PointerOverride &operator=(const PointerOverride &) = delete;
};
