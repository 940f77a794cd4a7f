// 基準点 mode: control points are placed, dragged and asked about here; what
// becomes of them is editor/commands/ControlPoints.
#include <utility>

#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/commands/ControlPoints.h"
#include "editor/tools/Tools.h"

void ControlPointTool::Enter() {
    TakeOver();
    ShowMode(false, false, Cmd::ControlPointMode);
    controlPoints_.ShowTable();
}

void ControlPointTool::Press(Qt::MouseButton button, QPoint p) {
    const int i = controlPoints_.PointAt(p, Reach);
    if (button == Qt::RightButton) {
        if (i >= 0) controlPoints_.EditCoordinates(i);
    } else if (button == Qt::LeftButton) {
        if (i < 0) return controlPoints_.Place(p);
        Grabbed = i;
        PressAt = DragAt = p;
    }
}

void ControlPointTool::Move(QPoint p) {
    if (Grabbed < 0 || p == DragAt) return;
    DragAt = p;
    wb.ui.ControlPointMarksChanged();
}

void ControlPointTool::Release(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton || Grabbed < 0) return;
    const int i = std::exchange(Grabbed, -1);
    // A press on a point without a drag leaves it where it was, to the pixel.
    if (p != PressAt && size_t(i) < wb.st.Geo.points.size()) {
        const georef::ControlPoint& was = wb.st.Geo.points[size_t(i)];
        controlPoints_.Move(i, was.px + (p.x() - PressAt.x()), was.py + (p.y() - PressAt.y()));
    }
    wb.ui.ControlPointMarksChanged();
}

bool ControlPointTool::Key(int key, QPoint p) {
    if ((key == vk::Return || key == vk::A) && Grabbed < 0 && controlPoints_.PointAt(p, Reach) < 0)
        controlPoints_.Place(p);
    return false;
}
