// Edit mode: a point is grabbed where it is pressed, follows the pointer on a
// rubber band and is put down where the button comes up.
#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"
#include "ops/PointAt.h"
#include "render/Render.h"

void EditTool::Enter() {
    wb.upkeep.UndoComposed();
    TakeOver();
    ShowMode(false, true, Cmd::EditMode);
    wb.doc.DropCompleted();
    wb.states.EnableRemakeCommands();
}

void EditTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        GrabPoint(p.x(), p.y());
    else if (button == Qt::RightButton)
        OfferEditPopup(false, wb.ui.SurfaceToScreen(p));
}

void EditTool::Move(QPoint p) {
    if (GrabIndex > 0) RubberBand(p.x(), p.y());
}

void EditTool::Release(Qt::MouseButton, QPoint p) {
    if (GrabIndex > 0) DropPoint(p.x(), p.y());
}

bool EditTool::Key(int key, QPoint p) {
    if (key == vk::Space) {
        OfferEditPopup(true, wb.ui.PointerScreenPos());
    } else if (key == vk::Return || key == vk::A) {
        if (GrabIndex == 0)
            GrabPoint(p.x(), p.y());
        else
            DropPoint(p.x(), p.y());
    } else if (key == vk::Z) {
        wb.modes.SwitchMode(Mode::Input);
    }
    return false;
}

void EditTool::GrabPoint(int x, int y) {
    GrabIndex = 0;
    const int32_t i = PointRecordAt(wb.st, x, y);
    if (i > 0) {
        GrabIndex = i;
        GrabX = int16_t(x);
        GrabY = int16_t(y);
    }
    wb.doc.DropCompleted();
}

void EditTool::RubberBand(int x, int y) {
    const Store& st = wb.st;
    if (GrabIndex <= 0 || GrabIndex > st.PointLast) return;
    const Rec p = st.Point(GrabIndex - 1);
    const Rec n = GrabIndex == st.PointLast ? Rec{} : st.Point(GrabIndex + 1);
    wb.surf.SetRop(Rop::Xor);
    auto band = [&] {
        render::DrawSegment(wb.surf, GrabX, GrabY, p.x, p.y);
        render::DrawSegment(wb.surf, GrabX, GrabY, n.x, n.y);
    };
    band();  // XOR a second time: the old band goes
    GrabX = Clamp16(x);
    GrabY = Clamp16(y);
    band();
    wb.surf.SetRop(Rop::Copy);
    wb.ui.SurfaceChanged();
}

void EditTool::DropPoint(int x, int y) {
    const Store& st = wb.st;
    const int32_t i = GrabIndex;
    GrabIndex = 0;
    // A release off the surface, or in its first column where the point would
    // turn into a separator, puts the point back where it was.
    if (i > 0 && i <= st.PointLast && x >= 1 && wb.surf.Contains(x, y) && x <= INT16_MAX &&
        y <= INT16_MAX) {
        wb.doc.MovePoint(i, int16_t(x), int16_t(y));
        wb.doc.MarkChanged();
    }
    ReDraw(wb);
}

void EditTool::OfferEditPopup(bool showNow, QPoint screen) {
    const uint8_t c = wb.surf.Pixel(wb.ClickX, wb.ClickY);
    if (c != White && c != Magenta) return;
    const bool point = c == White;
    wb.ui.SetEnabled(Cmd::AppendDot, point);
    wb.ui.SetEnabled(Cmd::DelPoint, point);
    wb.ui.SetEnabled(Cmd::CutDots, !point);
    wb.ui.SetEnabled(Cmd::DelLine, !point);
    wb.doc.DropCompleted();
    if (showNow)
        wb.ui.ShowPopupNow(Popup::RBtnEditMode, screen);
    else
        wb.ui.AttachPopup(Popup::RBtnEditMode);
}
