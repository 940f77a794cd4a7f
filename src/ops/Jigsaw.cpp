#include "ops/Jigsaw.h"

#include <algorithm>
#include <vector>

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
