// The legend: one click fixes the top-left corner of its 100 x 100 box.
#include "core/Editor.h"

void Editor::IndexPosClick() {
    SwitchMode(Mode::Legend);
}

void Editor::LegendClick(int x, int y) {
    doc.PlaceLegend(int16_t(x), int16_t(y));
    doc.MarkChanged();
    BuildModeClick();
    ReDraw();
}
