// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::KeyDown(int, Qt::KeyboardModifiers, Qt::MouseButtons) {
    NotBuilt(ui, "KeyDown");
}

