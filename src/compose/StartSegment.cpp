// The start of an outline: the first run of consecutive segments whose
// midpoints touch the navy region, and the direction that keeps the region
// on the walker's right.
#include "compose/OutlineTracer.h"

namespace compose {

bool OutlineTracer::BordersRegion(int32_t i) const {
    const Rec a = net_.P(i), b = net_.P(i + 1);
    const Pt m{HalfEvenMid(a.x, b.x), HalfEvenMid(a.y, b.y)};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((dx != 0 || dy != 0) && InRegion(m.x + dx, m.y + dy)) return true;
    return false;
}

void OutlineTracer::BorderingSegments(const QRect& region, std::vector<int32_t>& out) const {
    out.clear();
    if (region.isEmpty()) return;
    // A midpoint can only see a region pixel when it lies within one pixel of
    // the region's box.
    std::vector<int32_t> cand;
    net_.SegmentsWithMidpointIn(region.adjusted(-1, -1, 1, 1), cand);
    for (int32_t i : cand)
        if (BordersRegion(i)) out.push_back(i);
}

StartSegment OutlineTracer::FindStartSegment(const QRect& region) const {
    StartSegment r;
    if (region.isEmpty()) return r;
    // A midpoint can only see a navy neighbour when it lies within one pixel
    // of the region's box. Candidates are visited in index order; any index
    // skipped between two of them is a separator or a segment that cannot
    // touch the region, and either ends a run.
    net_.SegmentsWithMidpointIn(region.adjusted(-1, -1, 1, 1), cand_);
    int32_t c[5] = {0, 0, 0, 0, 0};
    int run = 0;
    int32_t prev = -2;
    for (int32_t i : cand_) {
        if (i != prev + 1) run = 0;
        prev = i;
        if (BordersRegion(i)) {
            ++run;
            if (run < 5 && c[run] == 0) c[run] = i;
        } else {
            run = 0;
        }
        if (c[4] != 0) break;
    }
    if (c[1] == 0) return r;
    int k = 4;
    while (k > 1 && c[k] == 0) --k;
    int b = k, j = k - 1;
    while (b > 0 && r.d == 0) {
        const int t = (b - j) % b;
        r.s = c[b] - t;
        r.n = r.s + 1;
        const Pt S = ToPt(net_.P(r.s)), N = ToPt(net_.P(r.n));
        Pt m{(S.x + N.x) / 2, (S.y + N.y) / 2};
        StepIntoRegion([this](int x, int y) { return InRegion(x, y); }, m);
        r.d = InteriorSide(S, N, m);
        if (j == 0) {
            --b;
            j = b - 1;
        } else {
            --j;
        }
    }
    if (r.d < 0) {
        r.s += 1;
        r.n -= 1;
    }
    return r;
}

StartSegment OutlineTracer::FindStartAt(int px, int py) {
    const QRect region = EnterRegion(px, py);
    const StartSegment r = FindStartSegment(region);
    LeaveRegion(Black);
    return r;
}

}  // namespace compose
