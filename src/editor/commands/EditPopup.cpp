// Point editing: the edit popup's commands and the run under a clicked line
// (dragging is the edit tool's, editor/tools/EditTool.cpp). Points and lines are found by pixel
// colour: a white pixel is a point, a magenta one a line, and which segment covers a pixel is found
// by drawing the network again segment by segment.
#include "editor/commands/EditPopup.h"

#include <vector>

#include "editor/Services.h"
#include "editor/commands/InputPopup.h"
#include "editor/commands/TraceCommands.h"
#include "ops/PointAt.h"
#include "ops/Runs.h"
#include "render/Render.h"

namespace {

// Steps 1 to 5 of the run selection, shared with the line deletion: the
// surface is left with the plain network on black and the nodes in lime.
void FindRun(Workbench& wb, int32_t& s, int32_t& e) {
    const Store& st = wb.st;
    render::ClearExtent(wb.st, wb.surf);
    s = 0;
    e = 0;
    Rec prev = st.Point(0);
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec cur = st.Point(i);
        render::DrawSegment(wb.surf, prev.x, prev.y, cur.x, cur.y);
        if (wb.surf.Pixel(wb.ClickX, wb.ClickY) == Magenta) {
            wb.surf.SetPixel(wb.ClickX, wb.ClickY, Black);
            s = i - 1;
            e = i;
        }
        prev = cur;
    }
    if (s == 0) return;
    wb.canvas.MarkVertices(White);
    WidenRun(
        wb.surf, [&st](int32_t i) { return st.Point(i); }, st.PointLast, s, e);
}

}  // namespace

void EditPopup::Pop2DelDot() {
    const int32_t i = PointRecordAt(st, wb.ClickX, wb.ClickY);
    if (i < 0) return;
    doc.DeletePoints(i, 1);
    doc.MarkEdited();
    ReDraw(wb);
}

void EditPopup::Pop2AppendDot() {
    const int32_t k = PointRecordAt(st, wb.ClickX, wb.ClickY);
    if (k < 0) return;
    const Rec K = st.Point(k);
    const Rec P = st.Point(k - 1);
    const Rec Q = k == st.PointLast ? Rec{} : st.Point(k + 1);
    bool next;
    if (P.x == 0 && Q.x == 0) {
        return;  // a lone point has no segment to split
    } else if (P.x == 0 && Q.x > 0) {
        next = true;
    } else if (P.x > 0 && Q.x == 0) {
        next = false;
    } else if (P.x > 0 && Q.x > 0) {
        auto d2 = [&K](Rec r) {
            const int64_t dx = K.x - r.x, dy = K.y - r.y;
            return dx * dx + dy * dy;
        };
        // The longer segment is split; equal lengths split the one before.
        next = d2(Q) > d2(P);
    } else {
        return;
    }
    if (!inputPopup_.RoomForPoints(1)) return;
    const Rec r = next ? Q : P;
    const int16_t mx = int16_t((K.x + r.x) / 2), my = int16_t((K.y + r.y) / 2);
    doc.InsertPoint(next ? k + 1 : k, mx, my);
    doc.MarkEdited();
    ReDraw(wb);
}

void EditPopup::CutDotsClick() {
    render::ClearExtent(st, surf);
    // Draw the network again, testing the clicked pixel after each segment.
    // Every segment that turns it magenta is cut before its second point; the
    // pixel is blanked so the next covering segment shows again. The cuts are
    // collected and the separators put in afterwards in one pass.
    std::vector<int32_t> cuts;
    Rec prev = st.Point(0);
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec cur = st.Point(i);
        render::DrawSegment(surf, prev.x, prev.y, cur.x, cur.y);
        if (surf.Pixel(wb.ClickX, wb.ClickY) == Magenta) {
            surf.SetPixel(wb.ClickX, wb.ClickY, Black);
            cuts.push_back(i);
            // The separator now before cur draws only cur's own pixel.
            render::DrawSegment(surf, 0, 0, cur.x, cur.y);
        }
        prev = cur;
    }
    if (!cuts.empty()) {
        if (!inputPopup_.RoomForPoints(int64_t(cuts.size()))) {
            ReDraw(wb);
            return;
        }
        std::vector<Rec> v = st.PointsToVector();
        std::vector<Rec> out;
        out.reserve(v.size() + cuts.size());
        size_t c = 0;
        for (size_t i = 0; i < v.size(); ++i) {
            if (c < cuts.size() && size_t(cuts[c]) == i) {
                out.push_back(Rec{});
                ++c;
            }
            out.push_back(v[i]);
        }
        doc.ReplacePoints(out);
        doc.MarkChanged();
    }
    ReDraw(wb);
}

void EditPopup::SelectRun(int32_t& s, int32_t& e) {
    ui.SetBusy(true);
    FindRun(wb, s, e);
    wb.canvas.RestoreCursor();
}

void EditPopup::DelLineClick() {
    int32_t s, e;
    FindRun(wb, s, e);
    if (s == 0) {
        ui.SurfaceChanged();
        return;
    }
    if (!inputPopup_.RoomForPoints(1)) {
        ReDraw(wb);
        return;
    }
    // Keep s and e as chain ends with the run's interior taken out:
    // ..., s, separator, separator, e, ... (one separator for a single segment).
    std::vector<Rec> v = st.PointsToVector();
    std::vector<Rec> out;
    out.reserve(v.size() + 1);
    out.insert(out.end(), v.begin(), v.begin() + s + 1);
    out.push_back(Rec{});
    if (s + 1 < e) out.push_back(Rec{});
    out.insert(out.end(), v.begin() + e, v.end());
    // Two traced regions may become one, each with its provisional position.
    const std::vector<int> sharing = tracing_.SharingProvisional();
    doc.ReplacePoints(out);
    wb.upkeep.TidyPointList();
    tracing_.DropMergedProvisionalPositions(sharing);
    doc.MarkChanged();
    ReDraw(wb);
}
