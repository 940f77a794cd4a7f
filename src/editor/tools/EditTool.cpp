// Edit mode: a point is grabbed where it is pressed, follows the pointer on a
// rubber band and is put down where the button comes up.
#include "editor/Editor.h"
#include "ops/PointAt.h"
#include "editor/tools/Tools.h"
#include "render/Render.h"

void EditTool::Enter() {
    ed.upkeep.UndoComposed();
    TakeOver();
    ShowMode(false, true, Cmd::EditMode);
    ed.doc.DropCompleted();
    ed.states.EnableRemakeCommands();
}

void EditTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        GrabPoint(p.x(), p.y());
    else if (button == Qt::RightButton)
        OfferEditPopup(false, ed.ui.SurfaceToScreen(p));
}

void EditTool::Move(QPoint p) {
    if (GrabIndex > 0) RubberBand(p.x(), p.y());
}

void EditTool::Release(Qt::MouseButton, QPoint p) {
    if (GrabIndex > 0) DropPoint(p.x(), p.y());
}

bool EditTool::Key(int key, QPoint p) {
    if (key == vk::Space) {
        OfferEditPopup(true, ed.ui.PointerScreenPos());
    } else if (key == vk::Return || key == vk::A) {
        if (GrabIndex == 0)
            GrabPoint(p.x(), p.y());
        else
            DropPoint(p.x(), p.y());
    } else if (key == vk::Z) {
        ed.modes.SwitchMode(Mode::Input);
    }
    return false;
}

void EditTool::GrabPoint(int x, int y) {
    GrabIndex = 0;
    const int32_t i = PointRecordAt(ed.st, x, y);
    if (i > 0) {
        GrabIndex = i;
        GrabX = int16_t(x);
        GrabY = int16_t(y);
    }
    ed.doc.DropCompleted();
}

void EditTool::RubberBand(int x, int y) {
    const Store& st = ed.st;
    if (GrabIndex <= 0 || GrabIndex > st.PointLast) return;
    const Rec p = st.Point(GrabIndex - 1);
    const Rec n = GrabIndex == st.PointLast ? Rec{} : st.Point(GrabIndex + 1);
    ed.surf.SetRop(Rop::Xor);
    auto band = [&] {
        render::DrawSegment(ed.surf, GrabX, GrabY, p.x, p.y);
        render::DrawSegment(ed.surf, GrabX, GrabY, n.x, n.y);
    };
    band();  // XOR a second time: the old band goes
    GrabX = Clamp16(x);
    GrabY = Clamp16(y);
    band();
    ed.surf.SetRop(Rop::Copy);
    ed.ui.SurfaceChanged();
}

void EditTool::DropPoint(int x, int y) {
    const Store& st = ed.st;
    const int32_t i = GrabIndex;
    GrabIndex = 0;
    // A release off the surface, or in its first column where the point would
    // turn into a separator, puts the point back where it was.
    if (i > 0 && i <= st.PointLast && x >= 1 && ed.surf.Contains(x, y) && x <= INT16_MAX &&
        y <= INT16_MAX) {
        ed.doc.MovePoint(i, int16_t(x), int16_t(y));
        ed.doc.MarkChanged();
    }
    ed.canvas.ReDraw();
}

void EditTool::OfferEditPopup(bool showNow, QPoint screen) {
    const uint8_t c = ed.surf.Pixel(ed.ClickX, ed.ClickY);
    if (c != White && c != Magenta) return;
    const bool point = c == White;
    ed.ui.SetEnabled(Cmd::AppendDot, point);
    ed.ui.SetEnabled(Cmd::DelPoint, point);
    ed.ui.SetEnabled(Cmd::CutDots, !point);
    ed.ui.SetEnabled(Cmd::DelLine, !point);
    ed.doc.DropCompleted();
    if (showNow)
        ed.ui.ShowPopupNow(Popup::RBtnEditMode, screen);
    else
        ed.ui.AttachPopup(Popup::RBtnEditMode);
}
