#include "core/Editor.h"
#include "editor/tools/Tools.h"

void AreaPositionTool::Enter() {
    TakeOver();
    ed.ui.SetSurfaceCursor(Cursor());
}

void AreaPositionTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton) ed.AreaPosClick(p.x(), p.y());
}

bool AreaPositionTool::GestureUnderWay() const {
    return ed.st.Mode == Mode();
}
