// The legend: one click fixes the top-left corner of its 100 x 100 box.
#include "core/Editor.h"

void Editor::IndexPosClick() {
    SwitchMode(Mode::Legend);
}

void Editor::LegendClick(int x, int y) {
    st.LegendX = int16_t(x);
    st.LegendY = int16_t(y);
    st.MarkChanged();
    BuildModeClick();
    ReDraw();
}
