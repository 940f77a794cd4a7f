#include "editor/commands/TrimCommands.h"

#include <vector>

#include "base/Messages.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"
#include "ops/Trimming.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace {

const QString kConfirmCaption = msg::Text(Msg::CapConfirm);
const QString kAskOutside = msg::Text(Msg::TrimOutsideAsk);
const QString kAskInside = msg::Text(Msg::TrimInsideAsk);

}  // namespace

namespace {

void CutByOutline(Workbench& wb, TrimSide side) {
    Surface& surf = wb.surf;
    TrimmingTool& trim = wb.modes.tools->trimming;
    // The popup disables the cuts below three corners; a stale menu must not
    // get through either, or a degenerate outline would wipe the whole map.
    if (trim.TempPolyLast < 2) return;

    std::vector<QPoint> outline;
    outline.reserve(size_t(trim.TempPolyLast) + 2);
    for (int i = 0; i <= trim.TempPolyLast; ++i)
        outline.emplace_back(trim.TempPoly[size_t(i)].x, trim.TempPoly[size_t(i)].y);
    trim.TempPoly[size_t(trim.TempPolyLast) + 1] = trim.TempPoly[0];
    outline.push_back(outline.front());

    const uint8_t oldPen = surf.Pen(), oldBrush = surf.Brush();
    const Rop oldRop = surf.CurrentRop();
    surf.SetPen(Yellow);
    surf.SetBrush(Yellow);
    surf.SetRop(Rop::Copy);
    surf.Polyline(outline);
    wb.ui.SurfaceChanged();

    const bool go =
        wb.ui.AskYesNo(side == TrimSide::Outside ? kAskOutside : kAskInside, kConfirmCaption);
    bool pictureReadable = true;
    if (go) {
        wb.ui.SetBusy(true);
        surf.Polygon(outline);
        Store trimmed = wb.st;
        TrimPoints(trimmed, surf, side);
        TrimPositions(trimmed, surf, side);
        wb.doc.ReplaceMap(std::move(trimmed));
        surf.SetPen(oldPen);
        surf.SetBrush(oldBrush);
        surf.SetRop(oldRop);
        // The probe for regions left open needs the network as it is now; when
        // the picture cannot be drawn, no position can be judged, so none goes.
        pictureReadable = ReDraw(wb);
        if (pictureReadable) {
            Store kept = wb.st;
            DropOpenPositions(kept, surf);
            wb.doc.ReplaceMap(std::move(kept));
        }
        wb.upkeep.TidyPointList();
        wb.doc.MarkEdited();
    } else {
        surf.SetPen(oldPen);
        surf.SetBrush(oldBrush);
        surf.SetRop(oldRop);
    }
    wb.canvas.RestoreCursor();
    trim.TempPolyLast = -1;
    // A picture that just failed to load would only fail (and say so) again.
    if (pictureReadable) ReDraw(wb);
}

}  // namespace

void TrimCommands::SweepCuttingClick() {
    CutByOutline(wb, TrimSide::Outside);
}

void TrimCommands::HoleCuttingClick() {
    CutByOutline(wb, TrimSide::Inside);
}

void TrimCommands::CancelCuttingClick() {
    wb.modes.tools->trimming.TempPolyLast = -1;
    ReDraw(wb);
}
