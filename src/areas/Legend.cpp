// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::IndexPosClick() {
    NotBuilt(ui, "IndexPosClick");
}

void Editor::LegendClick(int, int) {
    NotBuilt(ui, "LegendClick");
}

