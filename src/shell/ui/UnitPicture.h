#pragma once

class QPainter;
class QRectF;
class QIcon;

/// A front-panel drawing of the MX-RF418: the about window's picture and the program's icon.
void DrawUnitPicture(QPainter &painter, const QRectF &area);
QIcon ProgramIcon();
