#include "trace/Inlets.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace trace {

namespace {

enum : uint8_t {
    Wall = 1,       // ink within a line width of a crack between regions
    Candidate = 2,  // boundary ink farther in: a stroke inside one region
    Taken = 4,      // in the stroke looked at now
    Seen = 8,       // reached by the search looked at now
    Current = 16,   // the stroke looked at now
};

}  // namespace

bool FollowInlets(const Page& page, RegionSplit& split) {
    const int w = page.width, h = page.height;
    const size_t n = size_t(w) * h;
    std::vector<int32_t>& label = split.labels;
    const int lw = std::max(1, page.lineWidth);
    auto inkAt = [&](size_t i) { return page.ink[i] != 0 && !(page.ink[i] & kMargin); };

    // The walls: ink with another region within a line width of it. Only
    // ink is looked at, a few pixels round each, so that a re-run after a
    // slider change pays little.
    std::vector<uint8_t> mark(n, 0);
    const int32_t step[8] = {1, -1, w, -w, w + 1, w - 1, -w + 1, -w - 1};
    for (int y = lw; y < h - lw; ++y)
        for (int x = lw; x < w - lw; ++x) {
            const size_t i = size_t(y) * w + x;
            // Paper in long stretches: eight pixels at a time.
            if (x + 8 < w - lw) {
                uint64_t eight;
                std::memcpy(&eight, page.ink.data() + i, 8);
                if (!eight) {
                    x += 7;
                    continue;
                }
            }
            if (!inkAt(i)) continue;
            const int32_t l = label[i];
            // Farthest first: a wall fails there at once.
            bool inside = true;
            for (int k = 0; k < 8 && inside; ++k) inside = label[i + ptrdiff_t(lw) * step[k]] == l;
            for (int k = 0; k < 8 && inside && lw > 1; ++k) inside = label[i + step[k]] == l;
            if (!inside)
                mark[i] = Wall;
            else if ((page.ink[i] & (kInk | kBlob | kColoured)) == kInk)
                mark[i] = Candidate;
        }
    // Along the page's edge every ink pixel is wall.
    auto edge = [&](int x, int y) {
        const size_t i = size_t(y) * w + x;
        if (inkAt(i)) mark[i] = Wall;
    };
    for (int y = 0; y < h; ++y) {
        if (y < lw || y >= h - lw) {
            for (int x = 0; x < w; ++x) edge(x, y);
            continue;
        }
        for (int k = 0; k < lw && k < w; ++k) edge(k, y), edge(w - 1 - k, y);
    }

    // Each stroke of candidates (8-connected): one that leaves a wall at one
    // place and runs far from it, thin as a line all the way.
    const int minLength = std::max(12, 4 * lw);
    const int near = 2 * lw + 4;  // the place it leaves the wall, across
    bool changed = false;
    std::vector<int32_t> stroke, roots, queue, path, touched;
    std::vector<int32_t> from;  // parent in the search to the other region, by queue index
    for (size_t s0 = 0; s0 < n; ++s0) {
        if (s0 + 8 < n) {
            uint64_t eight;
            std::memcpy(&eight, mark.data() + s0, 8);
            if (!(eight & 0x0202020202020202ull)) {
                s0 += 7;
                continue;
            }
        }
        if (mark[s0] != Candidate) continue;
        stroke.assign(1, int32_t(s0));
        mark[s0] |= Taken;
        for (size_t k = 0; k < stroke.size(); ++k) {
            const int px = stroke[k] % w, py = stroke[k] / w;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    const size_t q = size_t(qy) * w + qx;
                    if (mark[q] == Candidate) mark[q] |= Taken, stroke.push_back(int32_t(q));
                }
        }
        // Taken stays on the stroke's pixels, so that no later start takes
        // them again; what the searches below mark Seen is cleared.
        if (int64_t(stroke.size()) < minLength) continue;
        const int32_t own = label[size_t(s0)];
        roots.clear();
        int rx0 = w, ry0 = h, rx1 = -1, ry1 = -1;
        for (int32_t p : stroke) {
            const int px = p % w, py = p / w;
            bool root = false;
            for (int dy = -1; dy <= 1 && !root; ++dy)
                for (int dx = -1; dx <= 1 && !root; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    root = (mark[size_t(qy) * w + qx] & Wall) != 0;
                }
            if (!root) continue;
            roots.push_back(p);
            rx0 = std::min(rx0, px), rx1 = std::max(rx1, px);
            ry0 = std::min(ry0, py), ry1 = std::max(ry1, py);
        }
        if (roots.empty() || rx1 - rx0 > near || ry1 - ry0 > near) continue;
        // Its length: the farthest point from where it leaves the wall.
        const double cx = (rx0 + rx1) / 2.0, cy = (ry0 + ry1) / 2.0;
        double length = 0;
        for (int32_t p : stroke)
            length = std::max(length, std::hypot(p % w - cx, p / w - cy));
        if (length < minLength || double(stroke.size()) > 4.0 * lw * length) continue;
        // A letter of a name that touches a wall stands beside the name's
        // other letters.
        int bx0 = w, by0 = h, bx1 = -1, by1 = -1;
        for (int32_t p : stroke) {
            bx0 = std::min(bx0, p % w), bx1 = std::max(bx1, p % w);
            by0 = std::min(by0, p / w), by1 = std::max(by1, p / w);
        }
        const int pad = int(std::min<double>(length, 2 * minLength));
        bool lettered = false;
        for (int y = std::max(0, by0 - pad); y <= std::min(h - 1, by1 + pad) && !lettered; ++y)
            for (int x = std::max(0, bx0 - pad); x <= std::min(w - 1, bx1 + pad) && !lettered; ++x)
                lettered = (page.ink[size_t(y) * w + x] & kWord) != 0;
        if (lettered) continue;
        // Away from where it leaves the wall, no other region (another
        // tongue, a wall across) comes within a few pixels: the tongue would
        // pinch its own region there, and the two edges would meet.
        for (int32_t p : stroke) mark[size_t(p)] |= Current;
        bool clear = true;
        const int r = 3;
        for (size_t k = 0; k < stroke.size() && clear; ++k) {
            const int px = stroke[k] % w, py = stroke[k] / w;
            for (int qy = std::max(0, py - r); qy <= std::min(h - 1, py + r) && clear; ++qy)
                for (int qx = std::max(0, px - r); qx <= std::min(w - 1, px + r); ++qx) {
                    const size_t q = size_t(qy) * w + qx;
                    if (label[q] == own || (mark[q] & Current)) continue;
                    if (std::hypot(qx - cx, qy - cy) <= near + r) continue;
                    clear = false;
                    break;
                }
        }
        for (int32_t p : stroke) mark[size_t(p)] &= uint8_t(~Current);
        if (!clear) continue;

        // The way from the stroke through its own region's wall to the
        // region across, the shortest there is.
        queue.clear();
        from.clear();
        touched.clear();
        for (int32_t p : roots) queue.push_back(p), from.push_back(-1);
        int32_t across = 0, found = -1;
        size_t levelEnd = queue.size();
        int steps = 0;
        for (size_t k = 0; k < queue.size() && found < 0; ++k) {
            if (k == levelEnd) {
                if (++steps > near) break;
                levelEnd = queue.size();
            }
            const int32_t p = queue[k];
            const int px = p % w, py = p / w;
            const int nx[4] = {px - 1, px + 1, px, px}, ny[4] = {py, py, py - 1, py + 1};
            for (int j = 0; j < 4 && found < 0; ++j) {
                if (nx[j] < 0 || ny[j] < 0 || nx[j] >= w || ny[j] >= h) continue;
                const size_t q = size_t(ny[j]) * w + nx[j];
                if (label[q] != own) {
                    if (!(page.ink[q] & kMargin) && label[q] > 0) across = label[q], found = int32_t(k);
                    continue;
                }
                if (mark[q] & (Taken | Seen) || !inkAt(q)) continue;
                mark[q] |= Seen;
                touched.push_back(int32_t(q));
                queue.push_back(int32_t(q));
                from.push_back(int32_t(k));
            }
        }
        for (int32_t p : touched) mark[size_t(p)] &= uint8_t(~Seen);
        if (found < 0) continue;
        path.clear();
        for (int32_t k = found; k >= 0; k = from[size_t(k)]) path.push_back(queue[size_t(k)]);
        for (int32_t p : stroke) label[size_t(p)] = across;
        for (int32_t p : path) label[size_t(p)] = across;
        // A diagonal step would join the tongue at a corner only; the pixel
        // beside the step joins it along a side.
        auto mend = [&](int32_t p) {
            const int px = p % w, py = p / w;
            for (int dx : {-1, 1}) {
                const int qx = px + dx, qy = py + 1;
                if (qx < 0 || qx >= w || qy >= h) continue;
                if (label[size_t(qy) * w + qx] != across) continue;
                const size_t side = size_t(py) * w + qx, below = size_t(qy) * w + px;
                if (label[side] == across || label[below] == across) continue;
                label[inkAt(below) && !inkAt(side) ? below : side] = across;
            }
        };
        for (int32_t p : stroke) mend(p);
        for (int32_t p : path) mend(p);
        changed = true;
    }
    if (changed) MeasureRegions(page, split);
    return changed;
}

}  // namespace trace
