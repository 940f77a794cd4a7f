#include "compose/NetworkIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

#include "compose/Geometry.h"

namespace compose {
namespace {
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
}  // namespace

NetworkIndex::NetworkIndex(std::vector<Rec> pts) : pts_(std::move(pts)) {
    if (pts_.empty()) pts_.push_back(Rec{});
    const int32_t last = Last();

    // Coordinates: sort record indices 1..Last by (key, index).
    std::vector<uint64_t> tmp;
    tmp.reserve(size_t(last));
    for (int32_t i = 1; i <= last; ++i)
        tmp.push_back((uint64_t(Key(pts_[size_t(i)])) << 32) | uint32_t(i));
    std::sort(tmp.begin(), tmp.end());
    occKey_.resize(tmp.size());
    occIdx_.resize(tmp.size());
    for (size_t k = 0; k < tmp.size(); ++k) {
        occKey_[k] = uint32_t(tmp[k] >> 32);
        occIdx_[k] = int32_t(uint32_t(tmp[k]));
    }
    sortedAt_.resize(pts_.size());
    groupBegin_.resize(tmp.size());
    groupEnd_.resize(tmp.size());
    for (size_t k = 0; k < tmp.size();) {
        size_t e = k;
        while (e < tmp.size() && occKey_[e] == occKey_[k]) ++e;
        for (size_t j = k; j < e; ++j) {
            sortedAt_[size_t(occIdx_[j])] = int32_t(j);
            groupBegin_[j] = int32_t(k);
            groupEnd_[j] = int32_t(e);
        }
        k = e;
    }

    // Segment midpoints, bucketed into a grid in ascending index order.
    std::vector<int32_t> first;
    std::vector<int32_t> mx, my;
    first.reserve(size_t(last));
    mx.reserve(size_t(last));
    my.reserve(size_t(last));
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int32_t i = 0; i < last; ++i) {
        const Rec a = pts_[size_t(i)], b = pts_[size_t(i) + 1];
        if (a.x == 0 || b.x == 0) continue;
        const int x = HalfEvenMid(a.x, b.x), y = HalfEvenMid(a.y, b.y);
        if (first.empty()) minX = maxX = x, minY = maxY = y;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        first.push_back(i);
        mx.push_back(x);
        my.push_back(y);
    }
    const double area = (double(maxX) - minX + 1) * (double(maxY) - minY + 1);
    cell_ = std::max(16, int(std::sqrt(area / double(std::max<size_t>(first.size(), 1)))));
    gx0_ = FloorDiv(minX, cell_);
    gy0_ = FloorDiv(minY, cell_);
    gw_ = FloorDiv(maxX, cell_) - gx0_ + 1;
    gh_ = FloorDiv(maxY, cell_) - gy0_ + 1;
    cellStart_.assign(size_t(gw_) * size_t(gh_) + 1, 0);
    auto cellOf = [&](size_t k) {
        return size_t(FloorDiv(my[k], cell_) - gy0_) * size_t(gw_) +
               size_t(FloorDiv(mx[k], cell_) - gx0_);
    };
    for (size_t k = 0; k < first.size(); ++k) ++cellStart_[cellOf(k) + 1];
    std::partial_sum(cellStart_.begin(), cellStart_.end(), cellStart_.begin());
    segs_.resize(first.size());
    midX_.resize(first.size());
    midY_.resize(first.size());
    std::vector<int32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (size_t k = 0; k < first.size(); ++k) {
        const size_t at = size_t(fill[cellOf(k)]++);
        segs_[at] = first[k];
        midX_[at] = mx[k];
        midY_[at] = my[k];
    }
}

std::span<const int32_t> NetworkIndex::Occurrences(Rec r) const {
    const uint32_t key = Key(r);
    auto lo = std::lower_bound(occKey_.begin(), occKey_.end(), key);
    auto hi = std::upper_bound(lo, occKey_.end(), key);
    return {occIdx_.data() + (lo - occKey_.begin()), size_t(hi - lo)};
}

std::vector<uint8_t> NetworkIndex::SharedPoints(const QRect& within) const {
    std::vector<uint8_t> out(pts_.size(), 0);
    const Rec zero = pts_[0];
    const uint32_t zeroKey = Key(zero);
    // Records 1..Last come grouped by coordinate; record 0 joins its group.
    for (size_t k = 0; k < occKey_.size();) {
        size_t e = k;
        while (e < occKey_.size() && occKey_[e] == occKey_[k]) ++e;
        const Rec r = pts_[size_t(occIdx_[k])];
        const size_t held = (e - k) + (zero.x > 0 && zeroKey == occKey_[k] ? 1 : 0);
        if (r.x > 0 && held >= 2 && within.contains(r.x, r.y)) {
            for (size_t j = k; j < e; ++j) out[size_t(occIdx_[j])] = 1;
            if (zero.x > 0 && zeroKey == occKey_[k]) out[0] = 1;
        }
        k = e;
    }
    return out;
}

void NetworkIndex::SegmentsWithMidpointIn(const QRect& r, std::vector<int32_t>& out) const {
    out.clear();
    if (r.isEmpty() || segs_.empty()) return;
    const int cx0 = std::max(FloorDiv(r.left(), cell_) - gx0_, 0);
    const int cy0 = std::max(FloorDiv(r.top(), cell_) - gy0_, 0);
    const int cx1 = std::min(FloorDiv(r.right(), cell_) - gx0_, gw_ - 1);
    const int cy1 = std::min(FloorDiv(r.bottom(), cell_) - gy0_, gh_ - 1);
    if (cx0 > cx1 || cy0 > cy1) return;
    // r is not empty, so it is normalized: four comparisons tell containment.
    const int left = r.left(), right = r.right(), top = r.top(), bottom = r.bottom();
    for (int cy = cy0; cy <= cy1; ++cy)
        for (int cx = cx0; cx <= cx1; ++cx) {
            const size_t c = size_t(cy) * size_t(gw_) + size_t(cx);
            for (int32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
                const int x = midX_[size_t(k)], y = midY_[size_t(k)];
                if (x >= left && x <= right && y >= top && y <= bottom)
                    out.push_back(segs_[size_t(k)]);
            }
        }
    if (out.size() < 64) {
        std::sort(out.begin(), out.end());
        return;
    }
    // Many: each index is marked in a bit set over the span they cover and
    // read back in order, which costs less than sorting them (a segment lies
    // in one cell only, so none comes twice).
    const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
    const int32_t base = *lo & ~63;
    std::vector<uint64_t> bits(size_t((*hi - base) / 64 + 1), 0);
    for (int32_t i : out) bits[size_t((i - base) / 64)] |= uint64_t(1) << ((i - base) % 64);
    int32_t* o = out.data();
    for (size_t w = 0; w < bits.size(); ++w)
        for (uint64_t b = bits[w]; b != 0; b &= b - 1)
            *o++ = base + int32_t(w * 64) + std::countr_zero(b);
}

}  // namespace compose
