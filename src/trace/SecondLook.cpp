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

}  // namespace

bool SplitWideBreaks(const Page& page, int gap, int minArea, RegionSplit& split) {
    const int wide = std::min(kMaxGap, std::max(gap + 10, 5 * gap));
    if (wide <= gap) return false;
    const int w = page.width, h = page.height;
    const size_t n = size_t(w) * h;
    const RegionSplit other = SplitRegions(page, wide, minArea, {});
    if (other.cancelled) return false;
    const std::vector<int32_t>& a = split.labels;
    const std::vector<int32_t>& b = other.labels;

    // Between two wider regions inside one region: line ink, other ink
    // (names, coloured lines) and paper along their meeting.
    struct Meeting {
        int64_t ink = 0, paper = 0, other = 0;
        int32_t region = 0;
    };
    std::unordered_map<uint64_t, Meeting> meet;
    auto crack = [&](size_t i, size_t j) {
        if (a[i] != a[j] || b[i] == b[j]) return;
        Meeting& m = meet[Key(b[i], b[j])];
        m.region = a[i];
        const uint8_t k = page.ink[i] | page.ink[j];
        if (!(k & kInk))
            ++m.paper;
        else if (k & (kBlob | kColoured))
            ++m.other;
        else
            ++m.ink;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            if (x + 1 < w) crack(i, i + 1);
            if (y + 1 < h) crack(i, i + w);
        }
    // A wall: line ink for the most part and longer than the wider
    // radius across, broken by paper no wider than that radius closes.
    std::vector<uint8_t> walled(split.regions.size() + 1, 0);
    std::unordered_map<uint64_t, bool> isWall;
    for (const auto& [key, m] : meet) {
        const bool wall = m.paper > 0 && m.paper <= 2 * wide + 4 && m.ink >= m.paper &&
                          m.ink >= 2 * wide && 2 * m.other < m.ink;
        if (!wall) continue;
        isWall[key] = true;
        walled[size_t(m.region)] = 1;
    }
    if (isWall.empty()) return false;

    // The walled regions' pixels by (region, wider region); the parts join
    // across every meeting that is no wall.
    std::unordered_map<uint64_t, int32_t> node;
    std::vector<int32_t> nodeOf(n, -1);
    std::vector<int64_t> area;
    uint64_t lastKey = ~uint64_t(0);  // runs of a row share their part
    int32_t lastNode = -1;
    for (size_t i = 0; i < n; ++i) {
        if (!walled[size_t(a[i])]) continue;
        const uint64_t key = (uint64_t(uint32_t(a[i])) << 32) | uint32_t(b[i]);
        if (key != lastKey) {
            const auto it = node.emplace(key, int32_t(area.size())).first;
            if (int32_t(area.size()) == it->second) area.push_back(0);
            lastKey = key, lastNode = it->second;
        }
        nodeOf[i] = lastNode;
        ++area[size_t(lastNode)];
    }
    std::vector<int32_t> parent(area.size());
    std::iota(parent.begin(), parent.end(), 0);
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
    std::vector<std::pair<int32_t, int32_t>> across;  // node pairs meeting at a wall
    auto join = [&](size_t i, size_t j) {
        if (nodeOf[i] < 0 || a[i] != a[j] || nodeOf[i] == nodeOf[j]) return;
        if (isWall.count(Key(b[i], b[j])))
            across.push_back({nodeOf[i], nodeOf[j]});
        else
            unite(nodeOf[i], nodeOf[j]);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            if (x + 1 < w) join(i, i + 1);
            if (y + 1 < h) join(i, i + w);
        }
    // A part too small to be a region of its own stays with its neighbour.
    for (auto [p, q] : across)
        if (area[size_t(find(p))] < minArea || area[size_t(find(q))] < minArea) unite(p, q);

    // The largest part of each region keeps its number; the others get new ones.
    std::vector<int32_t> keeper(split.regions.size() + 1, -1);
    for (size_t i = 0; i < n; ++i) {
        if (nodeOf[i] < 0) continue;
        const int32_t r = find(nodeOf[i]);
        int32_t& k = keeper[size_t(a[i])];
        if (k < 0 || area[size_t(r)] > area[size_t(k)]) k = r;
    }
    std::unordered_map<int32_t, int32_t> fresh;
    int32_t next = int32_t(split.regions.size());
    bool changed = false;
    for (size_t i = 0; i < n; ++i) {
        if (nodeOf[i] < 0) continue;
        const int32_t r = find(nodeOf[i]);
        if (r == keeper[size_t(a[i])]) continue;
        auto it = fresh.find(r);
        if (it == fresh.end()) it = fresh.emplace(r, ++next).first;
        split.labels[i] = it->second;
        changed = true;
    }
    if (!changed) return false;
    MeasureRegions(page, split);
    return true;
}

}  // namespace trace
