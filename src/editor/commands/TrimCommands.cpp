#include <vector>

#include "base/Messages.h"
#include "editor/commands/TrimCommands.h"

#include "editor/Editor.h"
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

void CutByOutline(Editor& ed, TrimSide side) {
    Surface& surf = ed.surf;
    TrimmingTool& trim = ed.modes.tools->trimming;
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
    ed.ui.SurfaceChanged();

    const bool go =
        ed.ui.AskYesNo(side == TrimSide::Outside ? kAskOutside : kAskInside, kConfirmCaption);
    bool pictureReadable = true;
    if (go) {
        ed.ui.SetBusy(true);
        surf.Polygon(outline);
        Store trimmed = ed.st;
        TrimPoints(trimmed, surf, side);
        TrimPositions(trimmed, surf, side);
        ed.doc.ReplaceMap(std::move(trimmed));
        surf.SetPen(oldPen);
        surf.SetBrush(oldBrush);
        surf.SetRop(oldRop);
        // The probe for regions left open needs the network as it is now; when
        // the picture cannot be drawn, no position can be judged, so none goes.
        pictureReadable = ed.canvas.ReDraw();
        if (pictureReadable) {
            Store kept = ed.st;
            DropOpenPositions(kept, surf);
            ed.doc.ReplaceMap(std::move(kept));
        }
        ed.upkeep.TidyPointList();
        ed.doc.MarkEdited();
    } else {
        surf.SetPen(oldPen);
        surf.SetBrush(oldBrush);
        surf.SetRop(oldRop);
    }
    ed.canvas.RestoreCursor();
    trim.TempPolyLast = -1;
    // A picture that just failed to load would only fail (and say so) again.
    if (pictureReadable) ed.canvas.ReDraw();
}

}  // namespace

void TrimCommands::SweepCuttingClick() {
    CutByOutline(ed, TrimSide::Outside);
}

void TrimCommands::HoleCuttingClick() {
    CutByOutline(ed, TrimSide::Inside);
}

void TrimCommands::CancelCuttingClick() {
    ed.modes.tools->trimming.TempPolyLast = -1;
    ed.canvas.ReDraw();
}
