#include "edit/Trimming.h"

#include <vector>

#include "editor/Editor.h"
#include "base/Messages.h"
#include "editor/tools/Tools.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace {

const QString kConfirmCaption = msg::Text(Msg::CapConfirm);
const QString kAskOutside = msg::Text(Msg::TrimOutsideAsk);
const QString kAskInside = msg::Text(Msg::TrimInsideAsk);

bool OnDeletedSide(const Surface& s, int x, int y, TrimSide side) {
    return TrimInside(s, x, y) == (side == TrimSide::Inside);
}

// Walks the position list of area a, calling remove(k) for each real position;
// when it returns true the slot is taken out and the same slot is looked at
// again. The list never runs past the last slot, whatever the slots hold.
template <class Remove>
int FilterPositions(Store& st, int a, Remove remove) {
    int removed = 0;
    int k = 0;
    while (k < Store::Slots && st.AreaPos(k, a).x != 0) {
        const Rec p = st.AreaPos(k, a);
        if (p.x > 0 && remove(p)) {
            RemovePositionSlot(st, a, k);
            ++removed;
            continue;
        }
        ++k;
    }
    return removed;
}

}  // namespace

bool TrimInside(const Surface& s, int x, int y) {
    return s.Pixel(x, y) == Yellow;
}

int64_t TrimPoints(Store& st, const Surface& s, TrimSide side) {
    int64_t cut = 0;
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x > 0 && OnDeletedSide(s, r.x, r.y, side)) {
            st.SetPoint(i, 0, 0);
            ++cut;
        }
    }
    return cut;
}

void RemovePositionSlot(Store& st, int a, int k) {
    for (int j = k; j < Store::Slots - 1; ++j) st.AreaPos(j, a) = st.AreaPos(j + 1, a);
    // Keeping the old last slot would leave it twice in a list that fills all
    // eleven slots, and a position that is removed again and again.
    st.AreaPos(Store::Slots - 1, a) = Rec{};
}

int TrimPositions(Store& st, const Surface& s, TrimSide side) {
    int removed = 0;
    for (int a = 1; a <= st.AreaCount; ++a)
        removed += FilterPositions(st, a, [&](Rec p) { return OnDeletedSide(s, p.x, p.y, side); });
    return removed;
}

int DropOpenPositions(Store& st, Surface& s) {
    int removed = 0;
    for (int a = 1; a <= st.AreaCount; ++a) {
        removed += FilterPositions(st, a, [&](Rec p) {
            s.FloodFillSurface(p.x, p.y, Black, Blue);
            if (s.Pixel(1, 1) != Blue) return false;
            s.FloodFillSurface(1, 1, Blue, Black);
            return true;
        });
    }
    return removed;
}

// ---------------------------------------------------------------------------

namespace {

void CutByOutline(Editor& ed, TrimSide side) {
    Surface& surf = ed.surf;
    TrimmingTool& trim = ed.tools->trimming;
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
        pictureReadable = ed.ReDraw();
        if (pictureReadable) {
            Store kept = ed.st;
            DropOpenPositions(kept, surf);
            ed.doc.ReplaceMap(std::move(kept));
        }
        ed.TidyPointList();
        ed.doc.MarkEdited();
    } else {
        surf.SetPen(oldPen);
        surf.SetBrush(oldBrush);
        surf.SetRop(oldRop);
    }
    ed.RestoreCursor();
    trim.TempPolyLast = -1;
    // A picture that just failed to load would only fail (and say so) again.
    if (pictureReadable) ed.ReDraw();
}

}  // namespace

void Editor::SweepCuttingClick() {
    CutByOutline(*this, TrimSide::Outside);
}

void Editor::HoleCuttingClick() {
    CutByOutline(*this, TrimSide::Inside);
}

void Editor::CancelCuttingClick() {
    tools->trimming.TempPolyLast = -1;
    ReDraw();
}
