// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::PickUpPiece(int, int) {
    NotBuilt(ui, "PickUpPiece");
}

void Editor::DragPiece(int, int) {
    NotBuilt(ui, "DragPiece");
}

void Editor::DropPiece(int, int) {
    NotBuilt(ui, "DropPiece");
}

