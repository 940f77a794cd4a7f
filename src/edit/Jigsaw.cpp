#include "edit/Jigsaw.h"

#include <algorithm>
#include <vector>

#include "core/Editor.h"
#include "raster/Surface.h"
#include "store/Store.h"

bool ChainByRank(const Store& st, int64_t j, int32_t& first, int32_t& last) {
    first = 0;
    last = 0;
    if (j < 1) return false;
    int64_t starts = 0;
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        if (first == 0) {
            if (st.PointX(i) > 0 && st.PointX(i - 1) == 0 && ++starts == j) first = i;
        } else if (st.PointX(i) == 0) {
            last = i - 1;
            return true;
        }
    }
    if (first == 0) return false;
    // The last chain need not be closed by a separator.
    last = st.PointLast;
    return true;
}

namespace {

// The first position (in area-then-slot order) whose pixel is blue, with its
// rank among all positions; rank 0 when there is none.
int64_t BluePosition(const Store& st, const Surface& s, int& area, int& slot) {
    int64_t rank = 0;
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) {
            const Rec p = st.AreaPos(k, a);
            if (p.x <= 0) continue;
            ++rank;
            if (s.Pixel(p.x, p.y) == Blue) {
                area = a;
                slot = k;
                return rank;
            }
        }
    }
    return 0;
}

}  // namespace

std::optional<Piece> FindPiece(const Store& st, Surface& s, int x, int y) {
    std::optional<Piece> found;
    s.FloodFillSurface(x, y, Black, Blue);
    // A probe that reaches the corner is in the open surroundings of the map.
    if (s.Pixel(0, 0) != Blue) {
        Piece piece;
        const int64_t rank = BluePosition(st, s, piece.area, piece.slot);
        if (rank > 0 && ChainByRank(st, rank, piece.first, piece.last)) found = piece;
    }
    s.FloodFillSurface(x, y, Blue, Black);
    return found;
}

bool MovePiece(Store& st, const Piece& p, int dx, int dy) {
    // The extent of everything that moves, so the offset can be limited once.
    int minX = INT16_MAX, maxX = INT16_MIN, minY = INT16_MAX, maxY = INT16_MIN;
    auto extend = [&](Rec r) {
        if (r.x <= 0) return;
        minX = std::min<int>(minX, r.x);
        maxX = std::max<int>(maxX, r.x);
        minY = std::min<int>(minY, r.y);
        maxY = std::max<int>(maxY, r.y);
    };
    for (int32_t i = p.first; i <= p.last; ++i) extend(st.Point(i));
    Rec& pos = st.AreaPos(p.slot, p.area);
    extend(pos);
    bool limited = false;
    if (minX <= maxX) {
        const int cx = std::clamp(dx, 1 - minX, INT16_MAX - maxX);
        const int cy = std::clamp(dy, INT16_MIN - minY, INT16_MAX - maxY);
        limited = cx != dx || cy != dy;
        dx = cx;
        dy = cy;
    }
    auto moved = [&](Rec r) { return Rec{int16_t(r.x + dx), int16_t(r.y + dy)}; };
    for (int32_t i = p.first; i <= p.last; ++i) {
        const Rec r = st.Point(i);
        if (r.x > 0) st.SetPoint(i, moved(r));
    }
    if (pos.x > 0) pos = moved(pos);
    return limited;
}

// ---------------------------------------------------------------------------

namespace {

// The network alone, as the redraw paints it without the under-drawing: black
// field, lines, points and the legend box.
void DrawNetwork(const Store& st, Surface& s) {
    s.Fill(Black);
    if (st.LegendX >= 0) {
        s.SetPen(Silver);
        s.SetBrush(Black);
        s.Rectangle(st.LegendX, st.LegendY, st.LegendX + 100, st.LegendY + 100);
    }
    s.SetPen(Magenta);
    Rec prev = st.Point(0);
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec cur = st.Point(i);
        if (prev.x != 0 && cur.x != 0) s.Line(prev.x, prev.y, cur.x, cur.y);
        if (prev.x > 0) s.SetPixel(prev.x, prev.y, White);
        if (cur.x > 0) s.SetPixel(cur.x, cur.y, White);
        prev = cur;
    }
}

}  // namespace

void Editor::PickUpPiece(int x, int y) {
    // Over a shown under-drawing the probe would stop at every mark of the
    // scanned map (a town dot under the position, a river across the area),
    // so the region is probed on the network alone.
    std::optional<Piece> piece;
    Surface networkOnly;
    if (st.BasePicLoaded && st.BasePicShown && networkOnly.Resize(surf.Width(), surf.Height())) {
        DrawNetwork(st, networkOnly);
        piece = FindPiece(st, networkOnly, x, y);
    } else {
        piece = FindPiece(st, surf, x, y);
    }
    if (!piece) return;
    st.PickArea = int16_t(piece->area);
    st.PickSlot = int16_t(piece->slot);
    st.PickFirst = piece->first;
    st.PickLast = piece->last;
    st.PickAnchorX = st.PickPrevX = int16_t(x);
    st.PickAnchorY = st.PickPrevY = int16_t(y);
    // Only the outline shown while dragging is limited to the buffer; the drop
    // moves the whole chain.
    st.TempPolyLast = -1;
    for (int32_t i = st.PickFirst; i <= st.PickLast && st.TempPolyLast < 500; ++i) {
        ++st.TempPolyLast;
        st.TempPoly[size_t(st.TempPolyLast)] = {st.PointX(i), st.PointY(i)};
    }
}

namespace {

void XorOutline(Surface& s, const Store& st) {
    std::vector<QPoint> pts;
    pts.reserve(size_t(st.TempPolyLast + 1));
    for (int i = 0; i <= st.TempPolyLast; ++i)
        pts.emplace_back(st.TempPoly[size_t(i)].x, st.TempPoly[size_t(i)].y);
    s.Polyline(pts);
}

}  // namespace

void Editor::DragPiece(int x, int y) {
    if (st.PickFirst <= 0) return;
    const uint8_t oldPen = surf.Pen();
    const Rop oldRop = surf.CurrentRop();
    // White inverts every palette index, so the outline shows on any colour
    // and a second pass takes it away exactly.
    surf.SetPen(White);
    surf.SetRop(Rop::Xor);
    XorOutline(surf, st);
    const int dx = x - st.PickPrevX, dy = y - st.PickPrevY;
    for (int i = 0; i <= st.TempPolyLast; ++i) {
        st.TempPoly[size_t(i)].x += dx;
        st.TempPoly[size_t(i)].y += dy;
    }
    XorOutline(surf, st);
    surf.SetPen(oldPen);
    surf.SetRop(oldRop);
    st.PickPrevX = int16_t(x);
    st.PickPrevY = int16_t(y);
    ui.SurfaceChanged();
}

void Editor::DropPiece(int x, int y) {
    if (st.PickFirst <= 0) return;
    const Piece piece{st.PickArea, st.PickSlot, st.PickFirst, st.PickLast};
    MovePiece(st, piece, x - st.PickAnchorX, y - st.PickAnchorY);
    st.Modified = true;
    st.PickFirst = 0;
    st.TempPolyLast = -1;
    ReDraw();
}
