#include "app/NetworkIndex.h"

#include <algorithm>

namespace view {
namespace {

struct Box {
    int x0, y0, x1, y1;
};

// What record i reaches: its own point when it is one (x > 0) and the
// segment from the record before when both are points (x != 0, as drawn).
bool BoxOf(const std::vector<Rec>& l, size_t i, Box& b) {
    const Rec c = l[i];
    bool any = false;
    if (c.x > 0) {
        b = {c.x, c.y, c.x, c.y};
        any = true;
    }
    if (i > 0 && c.x != 0 && l[i - 1].x != 0) {
        const Rec p = l[i - 1];
        b = {std::min(p.x, c.x), std::min(p.y, c.y), std::max(p.x, c.x), std::max(p.y, c.y)};
        any = true;  // the segment's box holds the point too
    }
    return any;
}

}  // namespace

void NetworkIndex::Sync(const Store& st) {
    if (!stale_) return;
    stale_ = false;
    for (int which = 0; which < 2; ++which) {
        std::vector<Rec> now = which == 0 ? st.PointsToVector() : st.KindsToVector();
        if (now == lists_[which]) continue;
        if (!Patch(which, std::move(now))) Build(which);
    }
}

bool NetworkIndex::Patch(int which, std::vector<Rec>&& now) {
    std::vector<Rec>& was = lists_[which];
    Grid& g = grids_[which];
    const size_t n = now.size(), m = was.size();
    size_t first = 0;
    while (first < std::min(n, m) && now[first] == was[first]) ++first;
    // Records first.. are new or changed. When the sizes agree nothing after
    // them moved, so only they and the next record (its incoming segment)
    // count; otherwise every record after them is in a new place.
    size_t last = n;
    if (n == m) {
        size_t same = 0;
        while (same < n - first && now[n - 1 - same] == was[n - 1 - same]) ++same;
        last = std::min(n, n - same + 1);
    }
    // A large change (a file read, an undo over a whole import) builds anew.
    if (last - first > size_t(MaxPatch) || g.extra.size() + (last - first) > size_t(MaxExtra)) {
        was = std::move(now);
        return false;
    }
    was = std::move(now);
    for (size_t i = first; i < last; ++i) g.extra.push_back(int32_t(i));
    std::sort(g.extra.begin(), g.extra.end());
    g.extra.erase(std::unique(g.extra.begin(), g.extra.end()), g.extra.end());
    while (!g.extra.empty() && size_t(g.extra.back()) >= n) g.extra.pop_back();
    return true;
}

void NetworkIndex::Build(int which) {
    const std::vector<Rec>& l = lists_[which];
    Grid& g = grids_[which];
    g = Grid{};
    // Every box lies within the points' extent (separators left out).
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (const Rec c : l)
        if (c.x != 0) {
            x0 = std::min(x0, int(c.x)), x1 = std::max(x1, int(c.x));
            y0 = std::min(y0, int(c.y)), y1 = std::max(y1, int(c.y));
        }
    if (x0 > x1) return;  // nothing drawn
    g.x0 = x0 >> Shift, g.y0 = y0 >> Shift;
    g.w = (x1 >> Shift) - g.x0 + 1, g.h = (y1 >> Shift) - g.y0 + 1;
    const size_t cellCount = size_t(g.w) * size_t(g.h);
    // Nearly every record lies in one cell: its cell is noted in one pass,
    // the few that cross a border are gone through again.
    constexpr int32_t None = -1, Several = -2;
    std::vector<int32_t> cellOf(l.size());
    g.start.assign(cellCount + 1, 0);
    Box b{};
    auto cells = [&](const Box& bx, auto each) {
        const int ax = (bx.x0 >> Shift) - g.x0, ay = (bx.y0 >> Shift) - g.y0;
        const int bxx = (bx.x1 >> Shift) - g.x0, by = (bx.y1 >> Shift) - g.y0;
        for (int y = ay; y <= by; ++y)
            for (int x = ax; x <= bxx; ++x) each(size_t(y) * size_t(g.w) + size_t(x));
    };
    for (size_t i = 0; i < l.size(); ++i) {
        if (!BoxOf(l, i, b)) {
            cellOf[i] = None;
            continue;
        }
        const int ax = b.x0 >> Shift, ay = b.y0 >> Shift, bx = b.x1 >> Shift, by = b.y1 >> Shift;
        if (ax == bx && ay == by) {
            const int32_t c = (ay - g.y0) * g.w + (ax - g.x0);
            cellOf[i] = c;
            ++g.start[size_t(c) + 1];
        } else if ((bx - ax + 1) * (by - ay + 1) > LongCells) {
            cellOf[i] = None;
            g.longOnes.push_back(int32_t(i));
        } else {
            cellOf[i] = Several;
            cells(b, [&](size_t c) { ++g.start[c + 1]; });
        }
    }
    for (size_t c = 1; c <= cellCount; ++c) g.start[c] += g.start[c - 1];
    g.entries.resize(size_t(g.start.back()));
    std::vector<int32_t> fill(g.start.begin(), g.start.end() - 1);
    for (size_t i = 0; i < l.size(); ++i) {
        const int32_t c = cellOf[i];
        if (c >= 0) {
            g.entries[size_t(fill[size_t(c)]++)] = int32_t(i);
        } else if (c == Several) {
            BoxOf(l, i, b);
            cells(b, [&](size_t cc) { g.entries[size_t(fill[cc]++)] = int32_t(i); });
        }
    }
}

void NetworkIndex::Near(int which, QRect r, std::vector<int32_t>& out) const {
    out.clear();
    const Grid& g = grids_[which];
    if (r.isEmpty()) return;
    const int ax = std::max(0, (r.left() >> Shift) - g.x0),
              ay = std::max(0, (r.top() >> Shift) - g.y0);
    const int bx = std::min(g.w - 1, (r.right() >> Shift) - g.x0);
    const int by = std::min(g.h - 1, (r.bottom() >> Shift) - g.y0);
    if (g.w > 0 && ax <= bx && ay <= by) {
        if (int64_t(bx - ax + 1) * (by - ay + 1) * 2 > int64_t(g.w) * g.h) {
            // Most of the map: every record, without the sort.
            const std::vector<Rec>& l = lists_[which];
            Box b{};
            for (size_t i = 0; i < l.size(); ++i)
                if (BoxOf(l, i, b) && b.x1 >= r.left() && b.x0 <= r.right() && b.y1 >= r.top() &&
                    b.y0 <= r.bottom())
                    out.push_back(int32_t(i));
            return;
        }
        for (int y = ay; y <= by; ++y) {
            const size_t row = size_t(y) * size_t(g.w);
            out.insert(out.end(), g.entries.begin() + g.start[row + size_t(ax)],
                       g.entries.begin() + g.start[row + size_t(bx) + 1]);
        }
    }
    out.insert(out.end(), g.longOnes.begin(), g.longOnes.end());
    out.insert(out.end(), g.extra.begin(), g.extra.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    // The grid may still name records a cut tail no longer has.
    const int32_t n = int32_t(lists_[which].size());
    while (!out.empty() && out.back() >= n) out.pop_back();
}

}  // namespace view
