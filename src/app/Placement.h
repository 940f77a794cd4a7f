// Opens a dialog next to the main window at the offset the dialog has.
#pragma once

#include <QPoint>
#include <QSize>

#include "editor/Ui.h"

class QWidget;

// Moves dialog to its offset from main's outer top-left corner, sizing it
// first so that its extent is known for keeping it on the screen.
void PlaceDialogBeside(QWidget* dialog, const QWidget* main, DialogId which);

// Where a dialog opens: at a fixed offset from the main window's top-left
// corner, pulled back left or up only as far as needed to end at the screen's
// right or bottom edge. Nothing pushes it right or down from the screen's
// left or top edge.
inline QPoint PlaceDialog(int mainLeft, int mainTop, int dx, int dy, QSize dialog, QSize screen) {
    int left = mainLeft + dx;
    int top = mainTop + dy;
    if (left + dialog.width() > screen.width()) left = screen.width() - dialog.width();
    if (top + dialog.height() > screen.height()) top = screen.height() - dialog.height();
    return QPoint(left, top);
}

// The offset from the main window at which each dialog opens.
inline QPoint DialogOffset(DialogId d) {
    switch (d) {
        case DialogId::ZoneForm:
            return QPoint(25, 100);
        case DialogId::ZpotDialog:
            return QPoint(25, 100);
        case DialogId::TitleDialog:
            return QPoint(100, 100);
        case DialogId::AboutDialog:
            return QPoint(250, 100);
        case DialogId::MoveMapDialog:
            return QPoint(100, 130);
    }
    return QPoint(0, 0);
}
