#include "editor/Editor.h"
#include "editor/tools/Tools.h"

void InputTool::Enter() {
    TakeOver();
    ShowMode(true, false, Cmd::BuildMode);
}

void InputTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        ed.input.AddPoint(p.x(), p.y());
    else if (button == Qt::RightButton)
        ed.ui.AttachPopup(Popup::RButtonMenu);
}

bool InputTool::Key(int key, QPoint p) {
    if (key == vk::Backspace) {
        // The last point of the line being traced goes; a finished line stays.
        if (ed.st.PointLast >= 1 && ed.st.PointX(ed.st.PointLast) != 0) {
            ed.doc.CutPointsAfter(ed.st.PointLast - 1);
            ed.doc.MarkEdited();
            ed.canvas.ReDraw();
        }
        return false;
    }
    if (key == vk::Space)
        ed.ui.ShowPopupNow(Popup::RButtonMenu, ed.ui.PointerScreenPos());
    else if (key == vk::Return || key == vk::A)
        ed.input.AddPoint(p.x(), p.y());
    else if (key == vk::Z)
        ed.modes.SwitchMode(Mode::Edit);
    return false;
}
