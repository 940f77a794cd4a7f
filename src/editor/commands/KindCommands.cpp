// Line kinds: marking runs of the network as second boundary, division or
// auxiliary lines (the kind list), and releasing such marks. The colour of
// the clicked pixel tells which commands apply, as the kind view paints each
// kind in its own colour over the magenta network.
#include "editor/commands/KindCommands.h"

#include <vector>

#include "base/Messages.h"
#include "editor/Services.h"
#include "editor/commands/EditPopup.h"
#include "editor/commands/InputPopup.h"
#include "ops/Runs.h"
#include "render/Render.h"

namespace {

// Appends a kind group: header (0, code) and copies of point records s..e.
void AppendGroup(Document& doc, int16_t code, int32_t s, int32_t e) {
    doc.AppendKind(Rec{0, code});
    for (int32_t i = s; i <= e; ++i) doc.AppendKind(doc.Map().Point(i));
}

bool RoomForGroup(Workbench& wb, int32_t points) {
    if (wb.st.KindRoom(int64_t(points) + 1)) return true;
    wb.ui.Inform(msg::Text(Msg::KindListFull).arg(Store::Capacity - 1), msg::Text(Msg::CapError),
                 MsgIcon::Warning);
    return false;
}

// The group that holds kind record s: its header index h and last index g.
void GroupAround(const Store& st, int32_t s, int32_t& h, int32_t& g) {
    h = s;
    while (h > 0 && st.KindX(h) != 0) --h;
    g = s;
    while (g < st.KindLast && st.KindX(g + 1) != 0) ++g;
}

}  // namespace

void KindCommands::AddKind(int16_t code) {
    int32_t s, e;
    editPopup_.SelectRun(s, e);
    if (s == 0) return;
    if (!RoomForGroup(wb, e - s + 1)) return;
    wb.ui.SetBusy(true);
    AppendGroup(wb.doc, code, s, e);
    wb.doc.MarkChanged();
    render::DrawKindList(wb.st, wb.surf);
    wb.canvas.RestoreCursor();
}

void KindCommands::SecLineClick() {
    AddKind(KindSecondBoundary);
}

void KindCommands::AbsLineClick() {
    AddKind(KindDivision);
}

void KindCommands::AstLineClick() {
    int32_t s, e;
    editPopup_.SelectRun(s, e);
    if (s == 0) return;
    if (!RoomForGroup(wb, e - s + 1)) return;
    // A single segment only gains a separator.
    if (e == s + 1 && !inputPopup_.RoomForPoints(1)) return;
    ui.SetBusy(true);
    AppendGroup(doc, KindAuxiliary, s, e);
    // Take the run's interior out; its end points stay as chain ends:
    // ..., s, separator, e, ...
    std::vector<Rec> v = st.PointsToVector();
    std::vector<Rec> out;
    out.reserve(v.size() + 1);
    out.insert(out.end(), v.begin(), v.begin() + s + 1);
    out.push_back(Rec{});
    out.insert(out.end(), v.begin() + e, v.end());
    doc.ReplacePoints(out);
    doc.MarkEdited();
    render::DrawKindList(st, surf);
    wb.canvas.RestoreCursor();
}

void KindCommands::SelectKindRun(int32_t& s, int32_t& e) {
    ui.SetBusy(true);
    render::ClearExtent(st, surf);
    s = 0;
    e = 0;
    Rec prev = st.KindRec(0);
    for (int32_t i = 1; i <= st.KindLast; ++i) {
        const Rec cur = st.KindRec(i);
        render::DrawSegment(surf, prev.x, prev.y, cur.x, cur.y, Blue, White);
        if (surf.Pixel(wb.ClickX, wb.ClickY) == Blue) {
            surf.SetPixel(wb.ClickX, wb.ClickY, Black);
            s = i - 1;
            e = i;
        }
        prev = cur;
    }
    if (s == 0) {
        wb.canvas.RestoreCursor();
        return;
    }
    wb.canvas.MarkKindVertices();
    WidenRun(
        surf, [this](int32_t i) { return st.KindRec(i); }, st.KindLast, s, e);
    wb.canvas.RestoreCursor();
}

namespace {

// The run found under the pixel normally is a whole group. When a coordinate
// shared inside the kind list stops the widening within a group, removing
// just the run would leave the group's other points without their header,
// joined to the group before; the whole group goes instead.
void ReleaseRange(const Store& st, int32_t s, int32_t& first, int32_t& last) {
    int32_t h;
    GroupAround(st, s, h, last);
    first = h + 1;
}

}  // namespace

void KindCommands::RelSecLineClick() {
    int32_t s, e;
    SelectKindRun(s, e);
    if (s == 0) return;
    int32_t first, last;
    ReleaseRange(st, s, first, last);
    doc.DeleteKinds(first - 1, last - first + 2);
    doc.MarkChanged();
    wb.canvas.ShowKinds();
}

void KindCommands::RelAbsLineClick() {
    RelSecLineClick();
}

void KindCommands::RelAstLineClick() {
    int32_t s, e;
    SelectKindRun(s, e);
    if (s == 0) return;
    int32_t first, last;
    ReleaseRange(st, s, first, last);
    const bool open = st.PointX(st.PointLast) > 0;
    if (!inputPopup_.RoomForPoints(int64_t(last - first + 1) + 1 + (open ? 1 : 0))) {
        wb.canvas.ShowKinds();
        return;
    }
    if (open) doc.AppendPoint(0, 0);
    for (int32_t i = first; i <= last; ++i) doc.AppendPoint(st.KindX(i), st.KindY(i));
    doc.AppendPoint(0, 0);
    doc.DeleteKinds(first - 1, last - first + 2);
    doc.MarkEdited();
    wb.canvas.ShowKinds();
}
