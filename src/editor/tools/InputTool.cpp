#include "editor/Editor.h"
#include "editor/tools/Tools.h"

void InputTool::Enter() {
    TakeOver();
    ShowMode(true, false, Cmd::BuildMode);
}

void InputTool::Leave(::Mode next) {
    if (next != ::Mode::Input) lineLeft_ = ed.st.PointLast >= 1 && ed.st.PointX(ed.st.PointLast) != 0;
}

void InputTool::Cancel() {
    if (ed.st.Mode == ::Mode::Input) lineLeft_ = false;
}

void InputTool::AddPoint(QPoint p) {
    // As 終点 would end it; a lone first point is no line to end and is
    // joined as before.
    if (lineLeft_) ed.input.PopLastPoint();
    lineLeft_ = false;
    ed.input.AddPoint(p.x(), p.y());
}

void InputTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        AddPoint(p);
    else if (button == Qt::RightButton)
        ed.ui.AttachPopup(Popup::RButtonMenu);
}

bool InputTool::Key(int key, QPoint p) {
    if (key == vk::Backspace) {
        // The last point of the line being traced goes; a finished line
        // stays, and so does a line left open when the mode was left.
        const bool open = ed.st.PointLast >= 1 && ed.st.PointX(ed.st.PointLast) != 0;
        const bool lone = open && ed.st.PointX(ed.st.PointLast - 1) == 0;
        if (open && (!lineLeft_ || lone)) {
            lineLeft_ = false;
            ed.doc.CutPointsAfter(ed.st.PointLast - 1);
            ed.doc.MarkEdited();
            ed.canvas.ReDraw();
        }
        return false;
    }
    if (key == vk::Space)
        ed.ui.ShowPopupNow(Popup::RButtonMenu, ed.ui.PointerScreenPos());
    else if (key == vk::Return || key == vk::A)
        AddPoint(p);
    else if (key == vk::Z)
        ed.modes.SwitchMode(Mode::Edit);
    return false;
}
