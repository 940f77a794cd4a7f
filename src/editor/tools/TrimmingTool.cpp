// Trimming mode: left clicks set the corners of an outline; the popup cuts
// away what lies outside or inside it (editor/commands/TrimCommands.cpp).
#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"
#include "render/Render.h"

void TrimmingTool::Enter() {
    TakeOver();
    ShowMode(false, false, Cmd::CuttingMode);
}

void TrimmingTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton)
        TrimCornerClick(p.x(), p.y());
    else if (button == Qt::RightButton)
        OfferTrimPopup(false, wb.ui.SurfaceToScreen(p));
}

bool TrimmingTool::Key(int key, QPoint p) {
    if (key == vk::Space)
        // Enabled from the outline as it is now, so a cut cannot be chosen
        // for an outline that has already been used up.
        OfferTrimPopup(true, wb.ui.PointerScreenPos());
    else if (key == vk::Return || key == vk::A)
        TrimCornerClick(p.x(), p.y());
    return false;
}

bool TrimmingTool::GestureUnderWay() const {
    return wb.st.Mode == Mode() && TempPolyLast >= 0;
}

void TrimmingTool::TrimCornerClick(int x, int y) {
    if (TempPolyLast >= MaxCorners - 1) return;
    ++TempPolyLast;
    TempPoly[size_t(TempPolyLast)] = {x, y};
    if (TempPolyLast > 0) {
        const PolyPoint& prev = TempPoly[size_t(TempPolyLast - 1)];
        render::DrawSegment(wb.surf, prev.x, prev.y, x, y, Yellow, Yellow);
        wb.ui.SurfaceChanged();
    }
}

void TrimmingTool::OfferTrimPopup(bool showNow, QPoint screen) {
    const bool enough = TempPolyLast >= 2;
    wb.ui.SetEnabled(Cmd::SweepCutting, enough);
    wb.ui.SetEnabled(Cmd::HoleCutting, enough);
    wb.ui.SetEnabled(Cmd::CancelCutting, true);
    if (showNow)
        wb.ui.ShowPopupNow(Popup::RBtnCutting, screen);
    else
        wb.ui.AttachPopup(Popup::RBtnCutting);
}
