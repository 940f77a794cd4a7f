// Point input: the input mode's new points and the input popup's commands.
#include "editor/commands/InputPopup.h"

#include <cstdint>

#include "base/Messages.h"
#include "editor/Services.h"
#include "editor/tools/Tool.h"
#include "ops/PointAt.h"
#include "render/Render.h"

namespace {

// Whether (x, y) can be stored as a map point: x = 0 would read as a chain
// separator and x < 0 is never a point; both must fit a 16-bit coordinate.
bool StorablePoint(int x, int y) {
    return x >= 1 && x <= INT16_MAX && y >= 0 && y <= INT16_MAX;
}

int64_t Dist2(Rec a, int x, int y) {
    const int64_t dx = int64_t(a.x) - x, dy = int64_t(a.y) - y;
    return dx * dx + dy * dy;
}

}  // namespace

bool InputPopup::RoomForPoints(int64_t n) {
    if (st.PointRoom(n)) return true;
    ui.Inform(msg::Text(Msg::PointListFull).arg(Store::Capacity - 1), msg::Text(Msg::CapError),
              MsgIcon::Warning);
    return false;
}

void InputPopup::AddPoint(int x, int y) {
    // A click in the surface's first column would store a separator.
    if (!StorablePoint(x, y)) return;
    if (!RoomForPoints(1)) return;
    doc.AppendPoint(int16_t(x), int16_t(y));
    doc.MarkChanged();
    surf.SetPixel(x, y, White);
    const Rec prev = st.Point(st.PointLast - 1);
    if (prev.x != 0) {
        render::DrawSegment(surf, prev.x, prev.y, x, y);
        doc.DropCompleted();
    }
    ui.SurfaceChanged();
}

void InputPopup::PopCutLine() {
    if (!RoomForPoints(1)) return;
    const Rec p = st.Point(st.PointLast);
    // Record 0 stays the list's leading separator whatever happens.
    if (st.PointLast > 0) doc.MovePoint(st.PointLast, 0, 0);
    doc.AppendPoint(p.x, p.y);
    doc.MarkChanged();
    // The segment into p is gone, so a finished composition no longer fits.
    if (p.x != 0 && st.PointLast >= 3 && st.PointX(st.PointLast - 2) != 0) doc.DropCompleted();
    ReDraw(wb);
}

void InputPopup::PopLastPoint() {
    if (st.PointLast < 1 || st.PointX(st.PointLast - 1) == 0) return;
    if (!RoomForPoints(1)) return;
    doc.AppendPoint(0, 0);
    doc.MarkEdited();
}

void InputPopup::PopWrongPoint() {
    if (st.PointX(st.PointLast) == 0 && st.PointLast > 0) doc.CutPointsAfter(st.PointLast - 1);
    if (st.PointLast > 0) doc.CutPointsAfter(st.PointLast - 1);
    doc.MarkEdited();
    ReDraw(wb);
}

namespace {

// The open chain has at least three points.
bool OpenChainOfThree(const Store& st) {
    return st.PointLast >= 3 && st.PointX(st.PointLast) != 0 && st.PointX(st.PointLast - 1) != 0 &&
           st.PointX(st.PointLast - 2) != 0;
}

}  // namespace

void InputPopup::PopConnectStartPoint() {
    if (!OpenChainOfThree(st)) return;
    int32_t j = st.PointLast - 1;
    while (st.PointX(j) != 0) --j;  // record 0 stops it
    const Rec s = st.Point(j + 1);
    const Rec last = st.Point(st.PointLast);
    if (!RoomForPoints(2)) return;
    render::DrawSegment(surf, last.x, last.y, s.x, s.y);
    doc.AppendPoint(s.x, s.y);
    doc.AppendPoint(0, 0);
    doc.MarkEdited();
    ui.SurfaceChanged();
}

void InputPopup::PopConnectNearPoint() {
    if (!OpenChainOfThree(st)) return;
    const Rec last = st.Point(st.PointLast);
    int64_t best = 100000000;
    int32_t nearest = -1;
    // The open chain's last two records cannot be joined to the last point.
    for (int32_t i = 1; i <= st.PointLast - 2; ++i) {
        const Rec r = st.Point(i);
        if (r.x <= 0) continue;
        const int64_t d = Dist2(r, last.x, last.y);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    if (nearest < 0) return;
    if (!RoomForPoints(2)) return;
    const Rec n = st.Point(nearest);
    render::DrawSegment(surf, last.x, last.y, n.x, n.y);
    doc.AppendPoint(n.x, n.y);
    doc.AppendPoint(0, 0);
    doc.MarkEdited();
    ui.SurfaceChanged();
}

void InputPopup::PopNearPointStart() {
    if (st.PointLast == 0) return;
    int64_t best = 0;
    int32_t nearest = -1;
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x == 0) continue;
        const int64_t d = Dist2(r, wb.ClickX, wb.ClickY);
        if (nearest < 0 || d < best) {
            best = d;
            nearest = i;
        }
    }
    if (nearest < 0) return;
    const bool open = st.PointX(st.PointLast) > 0;
    if (!RoomForPoints(open ? 2 : 1)) return;
    const Rec n = st.Point(nearest);
    if (open) doc.AppendPoint(0, 0);
    doc.AppendPoint(n.x, n.y);
    doc.MarkEdited();
}
