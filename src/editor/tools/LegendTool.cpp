#include "core/Editor.h"
#include "editor/tools/Tools.h"

void LegendTool::Enter() {
    TakeOver();
    ed.ui.SetSurfaceCursor(Cursor());
    // A right click in this mode offers nothing.
    ed.ui.AttachPopup(Popup::None);
}

void LegendTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton) ed.LegendClick(p.x(), p.y());
}

bool LegendTool::GestureUnderWay() const {
    return ed.st.Mode == Mode();
}
