// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::ReMakeLineClick() {
    NotBuilt(ui, "ReMakeLineClick");
}

