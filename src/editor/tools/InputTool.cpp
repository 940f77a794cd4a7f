#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/commands/InputPopup.h"
#include "editor/tools/Tools.h"

void InputTool::Enter() {
    TakeOver();
    ShowMode(true, false, Cmd::BuildMode);
}

void InputTool::Leave(::Mode next) {
    if (next != ::Mode::Input)
        lineLeft_ = wb.st.PointLast >= 1 && wb.st.PointX(wb.st.PointLast) != 0;
}

void InputTool::Cancel() {
    if (wb.st.Mode == ::Mode::Input) lineLeft_ = false;
}

void InputTool::AddPoint(QPoint p) {
    // As 終点 would end it; a lone first point is no line to end and is
    // joined as before.
    if (lineLeft_) inputPopup_.PopLastPoint();
    lineLeft_ = false;
    inputPopup_.AddPoint(p.x(), p.y());
}

void InputTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        AddPoint(p);
    else if (button == Qt::RightButton)
        wb.ui.AttachPopup(Popup::RButtonMenu);
}

bool InputTool::Key(int key, QPoint p) {
    if (key == vk::Backspace) {
        // The last point of the line being traced goes; a finished line
        // stays, and so does a line left open when the mode was left.
        const bool open = wb.st.PointLast >= 1 && wb.st.PointX(wb.st.PointLast) != 0;
        const bool lone = open && wb.st.PointX(wb.st.PointLast - 1) == 0;
        if (open && (!lineLeft_ || lone)) {
            lineLeft_ = false;
            wb.doc.CutPointsAfter(wb.st.PointLast - 1);
            wb.doc.MarkEdited();
            ReDraw(wb);
        }
        return false;
    }
    if (key == vk::Space)
        wb.ui.ShowPopupNow(Popup::RButtonMenu, wb.ui.PointerScreenPos());
    else if (key == vk::Return || key == vk::A)
        AddPoint(p);
    else if (key == vk::Z)
        wb.modes.SwitchMode(Mode::Edit);
    return false;
}
