#include "trace/SecondLook.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace trace {

namespace {

uint64_t Key(int32_t a, int32_t b) {
    if (a > b) std::swap(a, b);
    return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

struct Box {
    int x0, y0, x1, y1;  // x1, y1 included
};

// The part of the page inside `box`, distances kept as the whole page has
// them, for a flood of that part alone.
Page Crop(const Page& page, const Box& box) {
    Page sub;
    sub.width = box.x1 - box.x0 + 1;
    sub.height = box.y1 - box.y0 + 1;
    sub.lineWidth = page.lineWidth;
    const size_t n = size_t(sub.width) * sub.height;
    sub.ink.resize(n);
    sub.dist.resize(n);
    for (int y = box.y0; y <= box.y1; ++y) {
        const size_t from = size_t(y) * page.width + box.x0;
        const size_t to = size_t(y - box.y0) * sub.width;
        std::copy_n(page.ink.begin() + from, sub.width, sub.ink.begin() + to);
        std::copy_n(page.dist.begin() + from, sub.width, sub.dist.begin() + to);
    }
    for (const Page::Pocket& p : page.pockets) {
        const int x = p.pixel % page.width, y = p.pixel / page.width;
        if (x < box.x0 || x > box.x1 || y < box.y0 || y > box.y1) continue;
        sub.pockets.push_back({int32_t((y - box.y0) * sub.width + (x - box.x0)), p.widest, p.area});
    }
    return sub;
}

// Splits region `r` of `split` (within `box`) along the walls a flood with
// radius `wide` finds in it. Returns whether it was split; new parts get
// numbers from `next` on.
bool SplitRegion(const Page& page, int32_t r, const Box& box, int wide, int minArea,
                 RegionSplit& split, int32_t& next) {
    const Page sub = Crop(page, box);
    const RegionSplit other = SplitRegions(sub, wide, minArea, {});
    if (other.cancelled) return false;
    const int w = sub.width, h = sub.height;
    const std::vector<int32_t>& b = other.labels;
    auto a = [&](int x, int y) { return split.labels[size_t(y + box.y0) * page.width + x + box.x0]; };

    // Between two wider regions inside the region: line ink, other ink
    // (names, coloured lines) and paper along their meeting.
    struct Meeting {
        int64_t ink = 0, paper = 0, other = 0;
    };
    std::unordered_map<uint64_t, Meeting> meet;
    auto crack = [&](int x, int y, int x2, int y2) {
        const size_t i = size_t(y) * w + x, j = size_t(y2) * w + x2;
        if (b[i] == b[j] || a(x, y) != r || a(x2, y2) != r) return;
        Meeting& m = meet[Key(b[i], b[j])];
        const uint8_t k = sub.ink[i] | sub.ink[j];
        if (!(k & kInk))
            ++m.paper;
        else if (k & (kBlob | kColoured))
            ++m.other;
        else
            ++m.ink;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w) crack(x, y, x + 1, y);
            if (y + 1 < h) crack(x, y, x, y + 1);
        }
    // A wall: line ink for the most part and longer than the wider
    // radius across, broken by paper no wider than that radius closes.
    std::unordered_map<uint64_t, bool> isWall;
    for (const auto& [key, m] : meet)
        if (m.paper > 0 && m.paper <= 2 * wide + 4 && m.ink >= m.paper && m.ink >= 2 * wide &&
            2 * m.other < m.ink)
            isWall[key] = true;
    if (isWall.empty()) return false;

    // The region's pixels by wider region; the parts join across every
    // meeting that is no wall.
    std::vector<int32_t> parent(size_t(other.regions.size()) + 1);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<int64_t> area(parent.size(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a(x, y) == r) ++area[size_t(b[size_t(y) * w + x])];
    auto find = [&](int32_t x) {
        while (parent[x] != x) x = parent[x] = parent[parent[x]];
        return x;
    };
    auto unite = [&](int32_t p, int32_t q) {
        p = find(p), q = find(q);
        if (p == q) return;
        if (area[size_t(p)] < area[size_t(q)]) std::swap(p, q);
        parent[q] = p;
        area[size_t(p)] += area[size_t(q)];
    };
    std::vector<std::pair<int32_t, int32_t>> across;  // parts meeting at a wall
    for (const auto& [key, m] : meet) {
        const int32_t p = int32_t(key >> 32), q = int32_t(key & 0xffffffffu);
        if (isWall.count(key))
            across.push_back({p, q});
        else
            unite(p, q);
    }
    // A part too small to be a region of its own stays with its neighbour.
    for (auto [p, q] : across)
        if (area[size_t(find(p))] < minArea || area[size_t(find(q))] < minArea) unite(p, q);

    // The largest part keeps the region's number; the others get new ones.
    int32_t keeper = -1;
    for (size_t part = 1; part < parent.size(); ++part)
        if (area[part] > 0 && find(int32_t(part)) == int32_t(part) &&
            (keeper < 0 || area[part] > area[size_t(keeper)]))
            keeper = int32_t(part);
    std::unordered_map<int32_t, int32_t> fresh;
    bool changed = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (a(x, y) != r) continue;
            const int32_t part = find(b[size_t(y) * w + x]);
            if (part == keeper) continue;
            auto it = fresh.find(part);
            if (it == fresh.end()) it = fresh.emplace(part, ++next).first;
            split.labels[size_t(y + box.y0) * page.width + x + box.x0] = it->second;
            changed = true;
        }
    return changed;
}

}  // namespace

bool SplitWideBreaks(const Page& page, int gap, int minArea, RegionSplit& split) {
    // From the radius a line of the page's width calls for, even where a
    // smaller one was chosen to keep narrow necks.
    const int base = std::max({gap, 2, page.lineWidth});
    const int wide = std::min(kMaxGap, std::max(base + 10, 5 * base));
    if (wide <= gap) return false;
    const int w = page.width, h = page.height;
    const std::vector<int32_t>& label = split.labels;
    const size_t count = split.regions.size();

    // Only a region with a loose wall in it can hold a break: line ink with
    // the region's own paper on both sides, at least as long as a wall must
    // be. Each is looked at again within its box, not the whole page.
    std::vector<int64_t> loose(count + 1, 0);
    std::vector<Box> box(count + 1, Box{w, h, -1, -1});
    const int reach = page.lineWidth + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            const int32_t l = label[i];
            Box& bx = box[size_t(l)];
            bx.x0 = std::min(bx.x0, x), bx.x1 = std::max(bx.x1, x);
            bx.y0 = std::min(bx.y0, y), bx.y1 = std::max(bx.y1, y);
            if ((page.ink[i] & (kInk | kBlob | kColoured | kMargin)) != kInk) continue;
            if (x < reach || y < reach || x + reach >= w || y + reach >= h) continue;
            const bool acrossRow = label[i - reach] == l && label[i + reach] == l;
            const bool acrossColumn = label[i - size_t(reach) * w] == l && label[i + size_t(reach) * w] == l;
            loose[size_t(l)] += acrossRow && acrossColumn;
        }
    int32_t next = int32_t(count);
    bool changed = false;
    for (size_t r = 1; r <= count; ++r) {
        if (loose[r] < 2 * wide) continue;
        const int pad = wide + 2;
        const Box bx{std::max(0, box[r].x0 - pad), std::max(0, box[r].y0 - pad),
                     std::min(w - 1, box[r].x1 + pad), std::min(h - 1, box[r].y1 + pad)};
        changed |= SplitRegion(page, int32_t(r), bx, wide, minArea, split, next);
    }
    if (changed) MeasureRegions(page, split);
    return changed;
}

}  // namespace trace
