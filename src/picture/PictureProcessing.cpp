// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::BMPmonotoneClick() {
    NotBuilt(ui, "BMPmonotoneClick");
}

void Editor::BMPexpandClick() {
    NotBuilt(ui, "BMPexpandClick");
}

