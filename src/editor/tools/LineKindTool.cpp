// Line-kind mode: every press (and Space or Return) offers the kind popup for
// the colour of the pixel under it; the kind view paints each kind in its own
// colour over the magenta network.
#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"
#include "ops/PointAt.h"

void LineKindTool::Enter() {
    wb.upkeep.UndoComposed();
    TakeOver();
    ShowMode(false, false, Cmd::LineKindMode);
    wb.canvas.ShowKinds();
    wb.doc.DropCompleted();
    wb.states.EnableRemakeCommands();
}

void LineKindTool::Press(Qt::MouseButton button, QPoint p) {
    wb.ui.AttachPopup(Popup::None);
    wb.SetClick(Clamp16(p.x()), Clamp16(p.y()));
    const QPoint screen = wb.ui.SurfaceToScreen(p);
    if (button == Qt::LeftButton)
        OfferKindPopup(true, screen);
    else if (button == Qt::RightButton)
        OfferKindPopup(false, screen);
}

bool LineKindTool::Key(int key, QPoint) {
    if (key != vk::Space && key != vk::Return) return false;
    OfferKindPopup(true, wb.ui.PointerScreenPos());
    return true;
}

void LineKindTool::OfferKindPopup(bool showNow, QPoint screen) {
    const uint8_t c = wb.surf.Pixel(wb.ClickX, wb.ClickY);
    if (c != Magenta && c != Yellow && c != Aqua && c != Green) return;
    wb.ui.SetEnabled(Cmd::SecLine, c == Magenta);
    wb.ui.SetEnabled(Cmd::AbsLine, c == Magenta);
    wb.ui.SetEnabled(Cmd::AstLine, c == Magenta);
    wb.ui.SetEnabled(Cmd::RelSecLine, c == Yellow);
    wb.ui.SetEnabled(Cmd::RelAbsLine, c == Aqua);
    wb.ui.SetEnabled(Cmd::RelAstLine, c == Green);
    if (showNow)
        wb.ui.ShowPopupNow(Popup::BtnLKindMode, screen);
    else
        wb.ui.AttachPopup(Popup::BtnLKindMode);
}
