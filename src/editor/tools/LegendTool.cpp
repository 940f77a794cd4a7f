// Legend mode: one click fixes the top-left corner of the legend's 100 x 100
// box, and the work goes back to point input with the legend drawn.
#include "editor/Editor.h"
#include "editor/tools/Tools.h"

void LegendTool::Enter() {
    TakeOver();
    ed.ui.SetSurfaceCursor(Cursor());
    // A right click in this mode offers nothing.
    ed.ui.AttachPopup(Popup::None);
}

void LegendTool::Press(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    ed.doc.PlaceLegend(int16_t(p.x()), int16_t(p.y()));
    ed.doc.MarkChanged();
    ed.modeCommands.BuildModeClick();
    ed.canvas.ReDraw();
}

bool LegendTool::GestureUnderWay() const {
    return ed.st.Mode == Mode();
}
