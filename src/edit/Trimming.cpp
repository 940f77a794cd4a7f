// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::TrimCornerClick(int, int) {
    NotBuilt(ui, "TrimCornerClick");
}

void Editor::OfferTrimPopup(bool, QPoint) {
    NotBuilt(ui, "OfferTrimPopup");
}

void Editor::SweepCuttingClick() {
    NotBuilt(ui, "SweepCuttingClick");
}

void Editor::HoleCuttingClick() {
    NotBuilt(ui, "HoleCuttingClick");
}

void Editor::CancelCuttingClick() {
    NotBuilt(ui, "CancelCuttingClick");
}

