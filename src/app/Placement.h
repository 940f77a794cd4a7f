// Where a dialog opens: at an offset from the main window's top-left corner,
// pulled back so that its right and bottom edges stay on the screen. It is not
// pushed right or down, so a window partly off the left or top stays so.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

QPoint PlacedTopLeft(QPoint mainTopLeft, QSize dialog, QSize screen, int dx, int dy);
// Moves dialog next to main by (dx, dy), sizing it first so its extent is known.
void PlaceDialogBeside(QWidget* dialog, const QWidget* main, int dx, int dy);
