// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::ZoneArrangeClick() {
    NotBuilt(ui, "ZoneArrangeClick");
}

void Editor::AreaPosClick(int, int) {
    NotBuilt(ui, "AreaPosClick");
}

void Editor::ZpotListClick(int) {
    NotBuilt(ui, "ZpotListClick");
}

void Editor::ZpotRedrawClick() {
    NotBuilt(ui, "ZpotRedrawClick");
}

bool Editor::ZpotClose() {
    NotBuilt(ui, "ZpotClose");
    return false;
}

