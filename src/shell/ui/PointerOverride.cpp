#include "shell/ui/PointerOverride.h"

#include <QCursor>
#include <QGuiApplication>

PointerOverride::PointerOverride(Qt::CursorShape shape)
{
    QGuiApplication::setOverrideCursor(shape);
}

PointerOverride::~PointerOverride()
{
    QGuiApplication::restoreOverrideCursor();
}
