// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::ReadMapClick() {
    NotBuilt(ui, "ReadMapClick");
}

bool Editor::ReadFinishedMap(const QString&) {
    NotBuilt(ui, "ReadFinishedMap");
    return false;
}

