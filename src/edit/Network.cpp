// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::TidyPointList() {
    NotBuilt(ui, "TidyPointList");
}

void Editor::RemoveRepeatedSegments() {
    NotBuilt(ui, "RemoveRepeatedSegments");
}

