// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::MouseDown(Qt::MouseButton, int, int) {
    NotBuilt(ui, "MouseDown");
}

void Editor::MouseMove(int, int) {
    NotBuilt(ui, "MouseMove");
}

void Editor::MouseUp(Qt::MouseButton, int, int) {
    NotBuilt(ui, "MouseUp");
}

void Editor::AddPoint(int, int) {
    NotBuilt(ui, "AddPoint");
}

void Editor::PopLastPoint() {
    NotBuilt(ui, "PopLastPoint");
}

void Editor::PopCutLine() {
    NotBuilt(ui, "PopCutLine");
}

void Editor::PopWrongPoint() {
    NotBuilt(ui, "PopWrongPoint");
}

void Editor::PopConnectStartPoint() {
    NotBuilt(ui, "PopConnectStartPoint");
}

void Editor::PopConnectNearPoint() {
    NotBuilt(ui, "PopConnectNearPoint");
}

void Editor::PopNearPointStart() {
    NotBuilt(ui, "PopNearPointStart");
}

bool Editor::RoomForPoints(int64_t) {
    NotBuilt(ui, "RoomForPoints");
    return false;
}

