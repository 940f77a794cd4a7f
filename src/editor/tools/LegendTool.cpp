// Legend mode: one click fixes the top-left corner of the legend's 100 x 100
// box, and the work goes back to point input with the legend drawn.
#include "editor/Services.h"
#include "editor/tools/Tools.h"

void LegendTool::Enter() {
    TakeOver();
    wb.ui.SetSurfaceCursor(Cursor());
    // A right click in this mode offers nothing.
    wb.ui.AttachPopup(Popup::None);
}

void LegendTool::Press(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    wb.doc.PlaceLegend(int16_t(p.x()), int16_t(p.y()));
    wb.doc.MarkChanged();
    wb.modes.SwitchMode(Mode::Input);
    ReDraw(wb);
}

bool LegendTool::GestureUnderWay() const {
    return wb.st.Mode == Mode();
}
