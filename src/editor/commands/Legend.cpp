// The legend command: its mode places the box (editor/tools/LegendTool.cpp).
#include "editor/Editor.h"

void Editor::IndexPosClick() {
    SwitchMode(Mode::Legend);
}
