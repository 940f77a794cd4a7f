// The legend: one click fixes the top-left corner of its 100 x 100 box.
#include "core/Editor.h"

void Editor::IndexPosClick() {
    st.Mode = Mode::Legend;
    st.TempPolyLast = -1;
    ui.SetSurfaceCursor(SurfaceCursor::IndexPosition);
    // A right click in this mode offers nothing.
    ui.AttachPopup(Popup::None);
}

void Editor::LegendClick(int x, int y) {
    st.LegendX = int16_t(x);
    st.LegendY = int16_t(y);
    st.Modified = true;
    BuildModeClick();
    ReDraw();
}
