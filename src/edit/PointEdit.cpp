// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::GrabPoint(int, int) {
    NotBuilt(ui, "GrabPoint");
}

void Editor::RubberBand(int, int) {
    NotBuilt(ui, "RubberBand");
}

void Editor::DropPoint(int, int) {
    NotBuilt(ui, "DropPoint");
}

void Editor::OfferEditPopup(bool, QPoint) {
    NotBuilt(ui, "OfferEditPopup");
}

void Editor::Pop2AppendDot() {
    NotBuilt(ui, "Pop2AppendDot");
}

void Editor::Pop2DelDot() {
    NotBuilt(ui, "Pop2DelDot");
}

void Editor::CutDotsClick() {
    NotBuilt(ui, "CutDotsClick");
}

void Editor::DelLineClick() {
    NotBuilt(ui, "DelLineClick");
}

void Editor::SelectRun(int32_t&, int32_t&) {
    NotBuilt(ui, "SelectRun");
}

