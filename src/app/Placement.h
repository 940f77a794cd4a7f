// Opens a dialog next to the main window at the offset the dialog has.
#pragma once

#include "editor/Ui.h"

class QWidget;

// Moves dialog to its offset from main's outer top-left corner, sizing it
// first so that its extent is known for keeping it on the screen.
void PlaceDialogBeside(QWidget* dialog, const QWidget* main, DialogId which);
