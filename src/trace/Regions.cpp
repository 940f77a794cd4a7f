#include "trace/Regions.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "trace/Runs.h"

namespace trace {

namespace {

struct PairStats {
    int64_t cracks = 0, ink = 0, paper = 0;
    // Of the ink, how much is in the letters of a name: blobs in a row. A
    // lone compact blob may be a dash of a blurred dash-dot line beside a
    // name, and a wall for all that.
    int64_t lettering = 0;
    int pass = 0;           // the widest point of the way across
};

// The pole: the pixel farthest from ink whose upper-left corner no edge
// runs through (its left, upper and upper-left neighbours in the region),
// the first in page order; the lines drawn along a region's upper and left
// edges cover the pixels there, and a position on them finds no region.
// Only a small island has its farthest pixel there; one with no such pixel
// at all keeps its farthest.
void TakePole(const std::vector<int32_t>& label, int w, int x, int y, uint16_t d, Region& r,
              uint16_t& poleDist, uint8_t& free) {
    const size_t i = size_t(y) * w + x;
    const int32_t l = label[i];
    const bool here = x > 0 && y > 0 && label[i - 1] == l && label[i - size_t(w)] == l &&
                      label[i - size_t(w) - 1] == l;
    if (r.area != 1 && (free > here || (free == here && d <= poleDist))) return;
    poleDist = d;
    free = here;
    r.pole = QPoint(x, y);
}

uint64_t PairKey(int32_t a, int32_t b) {
    if (a > b) std::swap(a, b);
    return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

}  // namespace

RegionSplit SplitRegions(const Page& page, int gap, int minArea, const Tick& tick,
                         bool chosenMinArea) {
    RegionSplit out;
    const int w = page.width, h = page.height;
    const size_t n = size_t(w) * h;
    const std::vector<uint16_t>& dist = page.dist;
    std::vector<int32_t>& label = out.labels;
    label.assign(n, 0);
    auto stop = [&](int p) {
        if (tick && !tick(p)) out.cancelled = true;
        return out.cancelled;
    };

    // A dark page margin is one region from the start, which no flood
    // enters: the regions beside it stop at it instead of reaching through
    // it to the page edge.
    int32_t margin = 0;
    for (size_t i = 0; i < n; ++i)
        if (page.ink[i] & kMargin) label[i] = margin = 1;
    // Seeds: the parts of {distance > gap}, 4-connected.
    const int level = 8 * gap;
    int32_t next = margin;
    {
        int32_t parts = 0;
        const std::vector<Run> runs = PartsByRuns(
            w, h, [&](size_t i) { return dist[i] > level; }, parts);
        for (const Run& r : runs)
            std::fill(label.begin() + size_t(r.y) * w + r.x0,
                      label.begin() + size_t(r.y) * w + r.x1 + 1, margin + r.part + 1);
        next += parts;
        // Below the usual radius the counters of a name's letters would
        // seed too; they stay unseeded, as the ring rule leaves them.
        if (gap < 2) {
            std::vector<uint8_t> drop(size_t(parts), 0);
            bool any = false;
            for (const Page::Pocket& p : page.pockets)
                if (p.lettering && p.widest <= 16 && label[size_t(p.pixel)] > margin)
                    drop[size_t(label[size_t(p.pixel)] - margin - 1)] = 1, any = true;
            if (any)
                for (const Run& r : runs)
                    if (drop[size_t(r.part)])
                        std::fill(label.begin() + size_t(r.y) * w + r.x0,
                                  label.begin() + size_t(r.y) * w + r.x1 + 1, 0);
        }
    }
    if (stop(15)) return out;

    // A closed ring of ink too narrow inside for a seed still holds a region
    // of its own (an island, a small enclave): one seed at its widest point.
    // Unless inside a name's letter, a few line widths across are enough.
    const int64_t ring = 2 * int64_t(page.lineWidth) * page.lineWidth;
    for (const Page::Pocket& p : page.pockets)
        if (p.widest <= level && (p.area >= minArea || (!chosenMinArea && !p.lettering && p.area >= ring)))
            label[size_t(p.pixel)] = ++next;
    if (stop(30)) return out;

    // The flood, widest first; within one level first come first served, so
    // that two regions meet in the middle of a line.
    {
        const int levels = level + 1;
        std::vector<std::vector<int32_t>> bucket(levels);
        std::vector<size_t> head(levels, 0);
        int topLevel = 0;
        auto push = [&](int32_t q) {
            const int b = std::min<int>(dist[q], levels - 1);
            bucket[b].push_back(q);
            topLevel = std::max(topLevel, b);
        };
        // The first ring round every seed, found before any is labelled.
        std::vector<std::pair<int32_t, int32_t>> ring;
        for (size_t i = 0; i < n; ++i) {
            if (label[i]) continue;
            const int x = int(i % w);
            const int32_t p = int32_t(i);
            const int32_t nb[4] = {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, p - w,
                                   p + w < int32_t(n) ? p + w : -1};
            for (int32_t q : nb)
                if (q >= 0 && label[q] > margin) {
                    ring.push_back({p, label[q]});
                    break;
                }
        }
        for (auto [p, l] : ring) {
            label[p] = l;
            push(p);
        }
        std::vector<std::pair<int32_t, int32_t>>().swap(ring);
        while (true) {
            while (topLevel > 0 && head[topLevel] == bucket[topLevel].size()) --topLevel;
            if (head[topLevel] == bucket[topLevel].size()) break;
            const int b = topLevel;
            const int32_t p = bucket[b][head[b]++];
            if (head[b] == bucket[b].size()) {
                bucket[b].clear();
                head[b] = 0;
            }
            const int x = p % w;
            const int32_t nb[4] = {x > 0 ? p - 1 : -1, x + 1 < w ? p + 1 : -1, p - w,
                                   p + w < int32_t(n) ? p + w : -1};
            for (int32_t q : nb)
                if (q >= 0 && !label[q]) {
                    label[q] = label[p];
                    push(q);
                }
        }
    }
    // Pixels no flood reached (a page without a single seed) form one region.
    if (next == 0) {
        std::fill(label.begin(), label.end(), 1);
        next = 1;
    }
    if (stop(55)) return out;

    // Each region's size, whether it reaches the page edge, its widest point.
    std::vector<Region> reg(next + 1);
    std::vector<uint16_t> widest(next + 1, 0);
    {
        std::vector<uint16_t> poleDist(next + 1, 0);
        std::vector<uint8_t> free(next + 1, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * w + x;
                Region& r = reg[label[i]];
                ++r.area;
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1) r.enclosed = false;
                widest[label[i]] = std::max(widest[label[i]], dist[i]);
                const int32_t l = label[i];
                if (r.area == 1 || !free[l] || dist[i] > poleDist[l])
                    TakePole(label, w, x, y, dist[i], r, poleDist[l], free[l]);
            }
    }
    // What lies between each pair of neighbours: cracks, ink, paper.
    std::unordered_map<uint64_t, PairStats> pairs;
    auto crack = [&](size_t i, size_t j) {
        if (label[i] == label[j]) return;
        PairStats& s = pairs[PairKey(label[i], label[j])];
        ++s.cracks;
        s.pass = std::max<int>(s.pass, std::min(dist[i], dist[j]));
        const uint8_t k = page.ink[i] | page.ink[j];
        if (k & (kInk | kMargin)) {
            ++s.ink;
            s.lettering += (k & kWord) != 0;
        } else {
            ++s.paper;
        }
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            if (x + 1 < w) crack(i, i + 1);
            if (y + 1 < h) crack(i, i + w);
        }

    std::vector<int32_t> parent(next + 1);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<std::vector<int32_t>> members(next + 1);
    for (int32_t r = 1; r <= next; ++r) members[r].push_back(r);
    auto find = [&](int32_t a) {
        while (parent[a] != a) a = parent[a] = parent[parent[a]];
        return a;
    };
    auto unite = [&](int32_t a, int32_t b) {
        a = find(a), b = find(b);
        if (a == b) return;
        if (reg[a].area < reg[b].area) std::swap(a, b);
        parent[b] = a;
        reg[a].area += reg[b].area;
        reg[a].enclosed = reg[a].enclosed && reg[b].enclosed;
        if (widest[b] > widest[a]) {
            widest[a] = widest[b];
            reg[a].pole = reg[b].pole;
        }
        members[a].insert(members[a].end(), members[b].begin(), members[b].end());
        std::vector<int32_t>().swap(members[b]);
    };
    // Paper that lies mostly along the margin (between it and the map's
    // frame) is outside with it.
    if (margin) {
        std::vector<int64_t> perimeter(next + 1, 0), beside(next + 1, 0);
        for (const auto& [key, s] : pairs) {
            const int32_t a = int32_t(key >> 32), b = int32_t(key & 0xffffffffu);
            perimeter[a] += s.cracks, perimeter[b] += s.cracks;
            if (a == margin) beside[b] += s.cracks;
        }
        for (int32_t r = margin + 1; r <= next; ++r)
            if (3 * beside[r] >= perimeter[r] && beside[r] > 0) unite(r, margin);
    }
    // A region walled in by ink all round (an island, a small enclave)
    // stands however small or narrow; only the gaps of a broken line
    // (a tenth of its rim at most) may be paper. A region the flood cut
    // off across paper must earn its place.
    std::vector<int64_t> rimAll(next + 1, 0), rimPaper(next + 1, 0);
    auto walled = [&](int32_t r) { return rimAll[r] > 0 && 10 * rimPaper[r] <= rimAll[r]; };
    auto countRims = [&] {
        std::fill(rimAll.begin(), rimAll.end(), 0);
        std::fill(rimPaper.begin(), rimPaper.end(), 0);
        for (const auto& [key, s] : pairs) {
            const int32_t a = find(int32_t(key >> 32)), b = find(int32_t(key & 0xffffffffu));
            if (a == b) continue;
            rimAll[a] += s.cracks, rimAll[b] += s.cracks;
            rimPaper[a] += s.paper, rimPaper[b] += s.paper;
        }
    };
    // A region hardly deeper than the way out of it (the bowl of a letter,
    // a pocket between names) belongs to the neighbour it opens into. The
    // ways are taken from the highest down, so that the pieces of one
    // island join each other before any of them joins the sea through a
    // break in the coast.
    {
        std::vector<std::pair<int, uint64_t>> byPass;
        byPass.reserve(pairs.size());
        for (const auto& [key, s] : pairs) byPass.push_back({s.pass, key});
        std::sort(byPass.begin(), byPass.end(), [](const auto& x, const auto& y) {
            return x.first != y.first ? x.first > y.first : x.second < y.second;
        });
        for (const auto& [pass, key] : byPass) {
            int32_t a = find(int32_t(key >> 32)), b = find(int32_t(key & 0xffffffffu));
            if (a == b || a == margin || b == margin) continue;
            if (widest[a] > widest[b]) std::swap(a, b);
            if (widest[a] - pass < 12) unite(a, b);
        }
        // Nor is anything narrower than an island may be, unless walled.
        countRims();
        const int narrow = 8 * (2 * page.lineWidth + 1);
        std::vector<int> bestPass(next + 1, -1);
        std::vector<int32_t> into(next + 1, 0);
        for (const auto& [pass, key] : byPass) {
            const int32_t a = find(int32_t(key >> 32)), b = find(int32_t(key & 0xffffffffu));
            if (a == b) continue;
            if (pass > bestPass[a]) bestPass[a] = pass, into[a] = b;
            if (pass > bestPass[b]) bestPass[b] = pass, into[b] = a;
        }
        for (int32_t r = margin + 1; r <= next; ++r)
            if (find(r) == r && into[r] && widest[r] < narrow && !walled(r) &&
                widest[r] <= widest[find(into[r])])
                unite(r, into[r]);
    }
    countRims();
    // Regions under the smallest size join the neighbour they share most
    // boundary with, smallest first.
    std::vector<std::vector<std::pair<int32_t, int64_t>>> around(next + 1);
    for (const auto& [key, s] : pairs) {
        const int32_t a = int32_t(key >> 32), b = int32_t(key & 0xffffffffu);
        around[a].push_back({b, s.cracks});
        around[b].push_back({a, s.cracks});
    }
    std::vector<int32_t> bySize(next);
    std::iota(bySize.begin(), bySize.end(), 1);
    std::sort(bySize.begin(), bySize.end(),
              [&](int32_t a, int32_t b) { return reg[a].area < reg[b].area; });
    for (int32_t r0 : bySize) {
        const int32_t r = find(r0);
        if (reg[r].area >= minArea || (margin && r == find(margin)) ||
            (!chosenMinArea && walled(r)))
            continue;
        // The whole group's neighbours, by shared length.
        std::unordered_map<int32_t, int64_t> shared;
        for (int32_t m : members[r])
            for (auto [o, len] : around[m])
                if (find(o) != r) shared[find(o)] += len;
        int32_t best = 0;
        int64_t bestLen = -1;
        for (auto [o, len] : shared)
            if (len > bestLen || (len == bestLen && o < best)) best = o, bestLen = len;
        if (best) unite(r, best);
    }

    // A neck: two regions that meet across paper, with no more ink between
    // them than the crossing of the lines at either end. A line between
    // them, dashed or whole, holds far more ink than that.
    const int64_t crossing = 2 * page.lineWidth + 2;
    std::unordered_map<uint64_t, PairStats> joined;
    for (const auto& [key, s] : pairs) {
        const int32_t a = find(int32_t(key >> 32)), b = find(int32_t(key & 0xffffffffu));
        if (a == b) continue;
        PairStats& j = joined[PairKey(a, b)];
        j.cracks += s.cracks, j.ink += s.ink, j.paper += s.paper, j.lettering += s.lettering;
    }
    // Lettering is no line: a stretch of a region cut off between a name
    // and a boundary meets the rest across paper and letters only, along
    // a quarter of its rim or more.
    std::unordered_map<int32_t, int64_t> rim;
    for (const auto& [key, s] : joined)
        rim[int32_t(key >> 32)] += s.cracks, rim[int32_t(key & 0xffffffffu)] += s.cracks;
    // A name touching a boundary joins the line's ink and is no blob; the
    // ink along such a meeting is still far denser than a line's. Looked at
    // only where the meeting is otherwise a lettered one.
    auto smallerOf = [&](int32_t a, int32_t b) { return reg[find(a)].area < reg[find(b)].area ? a : b; };
    std::unordered_map<uint64_t, std::pair<int64_t, int64_t>> density;  // ink around, cracks on ink
    for (const auto& [key, s] : joined) {
        const int32_t a = int32_t(key >> 32), b = int32_t(key & 0xffffffffu);
        const int32_t smaller = smallerOf(a, b);
        if (s.paper > 0 && s.ink > crossing && 2 * s.ink >= s.paper && s.ink > s.lettering &&
            2 * s.lettering >= s.ink &&
            4 * s.cracks >= rim[smaller] && s.cracks < rim[smaller])
            density[key] = {0, 0};
    }
    const int reach = 4;
    if (!density.empty()) {
        auto look = [&](size_t i, size_t j) {
            if (label[i] == label[j] || !((page.ink[i] | page.ink[j]) & kInk)) return;
            const auto it = density.find(PairKey(find(label[i]), find(label[j])));
            if (it == density.end()) return;
            const int x = int(i % w), y = int(i / w);
            int64_t around = 0;
            for (int yy = std::max(0, y - reach); yy <= std::min(h - 1, y + reach); ++yy)
                for (int xx = std::max(0, x - reach); xx <= std::min(w - 1, x + reach); ++xx)
                    around += (page.ink[size_t(yy) * w + xx] & kInk) != 0;
            it->second.first += around, ++it->second.second;
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * w + x;
                if (x + 1 < w) look(i, i + 1);
                if (y + 1 < h) look(i, i + w);
            }
    }
    // A line of the page's width through the window holds about
    // (2 reach + 1) lineWidth pixels of ink; letters twice that.
    const int64_t lineInk = int64_t(2 * reach + 1) * page.lineWidth;
    for (const auto& [key, s] : joined) {
        const int32_t a = int32_t(key >> 32), b = int32_t(key & 0xffffffffu);
        const int32_t smaller = smallerOf(a, b);
        const bool neck = s.paper > 0 && (s.ink <= crossing || s.paper > 2 * s.ink);
        const auto d = density.find(key);
        const bool dense = d != density.end() && d->second.second > 0 &&
                           4 * d->second.first > 5 * lineInk * d->second.second;
        const bool lettered = s.paper > 0 && (dense || (s.lettering > 0 && s.ink - s.lettering <= crossing)) &&
                              4 * s.cracks >= rim[smaller] && s.cracks < rim[smaller];
        if (neck || lettered) unite(a, b);
    }
    // Numbered in the order the page is read.
    std::vector<int32_t> number(next + 1, 0);
    int32_t count = 0;
    for (size_t i = 0; i < n; ++i) {
        int32_t& l = label[i];
        const int32_t root = find(l);
        if (!number[root]) number[root] = ++count;
        l = number[root];
    }
    out.regions.assign(count, Region{});
    for (int32_t r = 1; r <= next; ++r)
        if (find(r) == r && number[r]) out.regions[number[r] - 1] = reg[r];
    stop(70);
    return out;
}

bool KeepIslands(const Page& page, int minArea, RegionSplit& split) {
    const int w = page.width, h = page.height;
    const int64_t ring = 2 * int64_t(page.lineWidth) * page.lineWidth;
    std::vector<int32_t>& label = split.labels;
    int32_t next = int32_t(split.regions.size());
    std::vector<int32_t> stack, paper;
    bool changed = false;
    for (const Page::Pocket& p : page.pockets) {
        if (p.lettering || p.area < ring || p.area >= minArea) continue;
        const int32_t own = label[size_t(p.pixel)];
        // Its own region holds the paper and the inner half of the ring; a
        // region much larger is the one round it.
        const double rim = 8.0 * page.lineWidth * (std::sqrt(double(p.area)) + 2);
        if (split.regions[size_t(own - 1)].area <= 2 * p.area + rim) continue;
        paper.clear();
        stack.assign(1, p.pixel);
        label[size_t(p.pixel)] = ++next;
        while (!stack.empty()) {
            const int32_t q = stack.back();
            stack.pop_back();
            paper.push_back(q);
            const int x = q % w, y = q / w;
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k) {
                if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
                const size_t i = size_t(ny[k]) * w + nx[k];
                if (!page.ink[i] && label[i] == own) label[i] = next, stack.push_back(int32_t(i));
            }
        }
        // A position needs a pixel the lines round the island leave free:
        // one with its left, upper and upper-left neighbours inside too.
        bool room = false;
        for (int32_t q : paper) {
            const int x = q % w, y = q / w;
            if (x > 0 && y > 0 && label[size_t(q) - 1] == next && label[size_t(q) - w] == next &&
                label[size_t(q) - w - 1] == next) {
                room = true;
                break;
            }
        }
        if (!room) {
            for (int32_t q : paper) label[size_t(q)] = own;
            --next;
            continue;
        }
        changed = true;
    }
    if (changed) MeasureRegions(page, split);
    return changed;
}

void MeasureRegions(const Page& page, RegionSplit& split) {
    const int w = page.width, h = page.height;
    int32_t count = 0;
    for (int32_t l : split.labels) count = std::max(count, l);
    split.regions.assign(size_t(count), Region{});
    std::vector<uint16_t> widest(size_t(count), 0);
    std::vector<uint8_t> free(size_t(count), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            const size_t r = size_t(split.labels[i] - 1);
            Region& g = split.regions[r];
            ++g.area;
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) g.enclosed = false;
            if (g.area == 1 || !free[r] || page.dist[i] > widest[r])
                TakePole(split.labels, w, x, y, page.dist[i], g, widest[r], free[r]);
        }
}

}  // namespace trace
