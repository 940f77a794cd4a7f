// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::OfferKindPopup(bool, QPoint) {
    NotBuilt(ui, "OfferKindPopup");
}

void Editor::SecLineClick() {
    NotBuilt(ui, "SecLineClick");
}

void Editor::AbsLineClick() {
    NotBuilt(ui, "AbsLineClick");
}

void Editor::AstLineClick() {
    NotBuilt(ui, "AstLineClick");
}

void Editor::RelSecLineClick() {
    NotBuilt(ui, "RelSecLineClick");
}

void Editor::RelAbsLineClick() {
    NotBuilt(ui, "RelAbsLineClick");
}

void Editor::RelAstLineClick() {
    NotBuilt(ui, "RelAstLineClick");
}

void Editor::SelectKindRun(int32_t&, int32_t&) {
    NotBuilt(ui, "SelectKindRun");
}

void Editor::MarkKindVertices() {
    NotBuilt(ui, "MarkKindVertices");
}

