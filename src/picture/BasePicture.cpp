// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::LoadBMPClick() {
    NotBuilt(ui, "LoadBMPClick");
}

void Editor::BMPpasteClick() {
    NotBuilt(ui, "BMPpasteClick");
}

void Editor::BMPshowhideClick() {
    NotBuilt(ui, "BMPshowhideClick");
}

void Editor::BMPclearClick() {
    NotBuilt(ui, "BMPclearClick");
}

