#include "trace/GapSweep.h"

#include <algorithm>
#include <numeric>

#include "trace/Trace.h"

namespace trace {

std::vector<int> RegionsByGap(const std::vector<uint16_t>& dist, int width, int height,
                              int minArea) {
    const int w = (width + 1) / 2, h = (height + 1) / 2;
    const size_t n = size_t(w) * h;
    const int minSub = std::max(1, minArea / 4);
    // Bucket b holds the pixels with floor((d - 1) / 8) == b, so that
    // {distance > r} is buckets r and above.
    const int top = kMaxGap + 1;
    std::vector<int32_t> count(top + 2, 0);
    auto bucketOf = [&](size_t i) {
        const int x = int(i % w) * 2, y = int(i / w) * 2;
        const int d = dist[size_t(y) * width + x];
        return d == 0 ? -1 : std::min(top, (d - 1) / 8);
    };
    for (size_t i = 0; i < n; ++i)
        if (int b = bucketOf(i); b >= 0) ++count[b];
    std::vector<int32_t> startAt(top + 2, 0);
    for (int b = top; b > 0; --b) startAt[b - 1] = startAt[b] + count[b];
    std::vector<int32_t> order(size_t(startAt[0]) + count[0]);
    {
        std::vector<int32_t> fill = startAt;
        for (size_t i = 0; i < n; ++i)
            if (int b = bucketOf(i); b >= 0) order[fill[b]++] = int32_t(i);
    }
    std::vector<int32_t> parent(n, -1), size(n, 0);
    auto find = [&](int32_t a) {
        while (parent[a] != a) a = parent[a] = parent[parent[a]];
        return a;
    };
    int big = 0;
    std::vector<int> result(kMaxGap + 1, 0);
    size_t k = 0;
    for (int b = top; b >= 0; --b) {
        for (; k < order.size() && (k < size_t(startAt[b]) + count[b]); ++k) {
            const int32_t p = order[k];
            parent[p] = p;
            size[p] = 1;
            if (minSub <= 1) ++big;
            const int x = p % w, y = p / w;
            const int32_t nb[4] = {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, y > 0 ? p - w : -1,
                                   y + 1 < h ? p + w : -1};
            for (int32_t q : nb) {
                if (q < 0 || parent[q] < 0) continue;
                int32_t a = find(p), c = find(q);
                if (a == c) continue;
                big -= (size[a] >= minSub) + (size[c] >= minSub);
                if (size[a] < size[c]) std::swap(a, c);
                parent[c] = a;
                size[a] += size[c];
                big += size[a] >= minSub;
            }
        }
        if (b <= kMaxGap) result[b] = big;
    }
    return result;
}

int ChooseGap(const std::vector<int>& counts, int lineWidth) {
    const int lowest = std::max(2, lineWidth);
    const int last = int(counts.size()) - 1;
    // The first radius from which the count stops growing: gaps are closed
    // there. Beyond, names and narrow passages start to split regions and
    // the count climbs again slowly, so the first level stretch is the one.
    int start = -1;
    for (int r = lowest; r + 2 <= last && start < 0; ++r)
        if (counts[r + 2] - counts[r] <= counts[r] / 100) start = r;
    // Where a radius below the lines' width splits more regions and closes
    // nothing the wider one closes (solid lines, a clean print), the
    // smallest radius keeps the narrow necks and inlets of the areas and the
    // small islands, which a wider one cuts or loses.
    auto nothingCloses = [&] {
        if (lowest <= 1 || last < lowest || counts[1] <= counts[lowest]) return false;
        for (int r = 1; r < lowest; ++r)
            if (counts[r] < counts[r + 1]) return false;
        return true;
    };
    if ((start < 0 || start == lowest) && nothingCloses()) return 1;
    if (start < 0) return lowest;
    // Half as far again while the count holds: gaps just at the radius close
    // unevenly at crossings.
    int chosen = start;
    for (int r = start + 1; r <= start + start / 2 && r <= last; ++r) {
        if (std::abs(counts[r] - counts[start]) > std::max(1, counts[start] / 100)) break;
        chosen = r;
    }
    return chosen;
}

}  // namespace trace
