// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::DrawSegment(int, int, int, int, int, int) {
    NotBuilt(ui, "DrawSegment");
}

void Editor::DrawPointList(int, int) {
    NotBuilt(ui, "DrawPointList");
}

void Editor::DrawKindList() {
    NotBuilt(ui, "DrawKindList");
}

void Editor::ClearSurface() {
    NotBuilt(ui, "ClearSurface");
}

bool Editor::ReDraw() {
    NotBuilt(ui, "ReDraw");
    return false;
}

void Editor::DisplayMap(int, int) {
    NotBuilt(ui, "DisplayMap");
}

void Editor::ShowKinds() {
    NotBuilt(ui, "ShowKinds");
}

void Editor::RestoreCursor() {
    NotBuilt(ui, "RestoreCursor");
}

void Editor::MarkVertices(uint8_t) {
    NotBuilt(ui, "MarkVertices");
}

void Editor::ComposeMessage(const QString&) {
    NotBuilt(ui, "ComposeMessage");
}

void Editor::CenterViewOn(int, int) {
    NotBuilt(ui, "CenterViewOn");
}

QString Editor::MouseReadout(int, int) { return QString(); }
void Editor::ShowProgressBar() {
    NotBuilt(ui, "ShowProgressBar");
}

