#include "ops/Trimming.h"

#include <vector>

#include "base/Messages.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace {


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

