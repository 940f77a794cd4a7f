// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::SaveWorkClick() {
    NotBuilt(ui, "SaveWorkClick");
}

void Editor::LoadWorkClick() {
    NotBuilt(ui, "LoadWorkClick");
}

bool Editor::LoadWorkFile(const QString&) {
    NotBuilt(ui, "LoadWorkFile");
    return false;
}

void Editor::NewWorkClick() {
    NotBuilt(ui, "NewWorkClick");
}

void Editor::ResetWork() {
    NotBuilt(ui, "ResetWork");
}

void Editor::SpFileOpenClick() {
    NotBuilt(ui, "SpFileOpenClick");
}

void Editor::SpFileSaveClick() {
    NotBuilt(ui, "SpFileSaveClick");
}

