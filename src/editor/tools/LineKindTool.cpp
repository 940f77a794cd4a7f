// Line-kind mode: every press (and Space or Return) offers the kind popup for
// the colour of the pixel under it; the kind view paints each kind in its own
// colour over the magenta network.
#include "editor/Editor.h"
#include "ops/PointAt.h"
#include "editor/tools/Tools.h"

void LineKindTool::Enter() {
    ed.upkeep.UndoComposed();
    TakeOver();
    ShowMode(false, false, Cmd::LineKindMode);
    ed.canvas.ShowKinds();
    ed.doc.DropCompleted();
    ed.states.EnableRemakeCommands();
}

void LineKindTool::Press(Qt::MouseButton button, QPoint p) {
    ed.ui.AttachPopup(Popup::None);
    ed.SetClick(Clamp16(p.x()), Clamp16(p.y()));
    const QPoint screen = ed.ui.SurfaceToScreen(p);
    if (button == Qt::LeftButton)
        OfferKindPopup(true, screen);
    else if (button == Qt::RightButton)
        OfferKindPopup(false, screen);
}

bool LineKindTool::Key(int key, QPoint) {
    if (key != vk::Space && key != vk::Return) return false;
    OfferKindPopup(true, ed.ui.PointerScreenPos());
    return true;
}

void LineKindTool::OfferKindPopup(bool showNow, QPoint screen) {
    const uint8_t c = ed.surf.Pixel(ed.ClickX, ed.ClickY);
    if (c != Magenta && c != Yellow && c != Aqua && c != Green) return;
    ed.ui.SetEnabled(Cmd::SecLine, c == Magenta);
    ed.ui.SetEnabled(Cmd::AbsLine, c == Magenta);
    ed.ui.SetEnabled(Cmd::AstLine, c == Magenta);
    ed.ui.SetEnabled(Cmd::RelSecLine, c == Yellow);
    ed.ui.SetEnabled(Cmd::RelAbsLine, c == Aqua);
    ed.ui.SetEnabled(Cmd::RelAstLine, c == Green);
    if (showNow)
        ed.ui.ShowPopupNow(Popup::BtnLKindMode, screen);
    else
        ed.ui.AttachPopup(Popup::BtnLKindMode);
}
