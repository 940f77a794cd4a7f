// Lookup tables over one fixed point list, built once per composition run:
// which records hold a coordinate, and which segments have their midpoint
// near a rectangle. They turn the per-step scans of the whole list into
// lookups while visiting records in the same (ascending) order.
#pragma once

#include <QRect>
#include <cstdint>
#include <span>
#include <vector>

#include "store/Store.h"

namespace compose {

class NetworkIndex {
  public:
    // pts: records 0..PointLast of the point list.
    explicit NetworkIndex(std::vector<Rec> pts);

    const std::vector<Rec>& Points() const { return pts_; }
    int32_t Last() const { return int32_t(pts_.size()) - 1; }
    Rec P(int32_t i) const { return pts_[size_t(i)]; }

    // Indices 1..Last holding exactly r, ascending.
    std::span<const int32_t> Occurrences(Rec r) const;
    // The same for the coordinates of record i, without a search.
    std::span<const int32_t> OccurrencesOf(int32_t i) const {
        if (i < 1) return Occurrences(P(i));
        const size_t k = size_t(sortedAt_[size_t(i)]);
        return {occIdx_.data() + groupBegin_[k], size_t(groupEnd_[k] - groupBegin_[k])};
    }

    // Per record: 1 where its coordinate lies in `within` and is held by two
    // or more records with X > 0 (record 0 included), the nodes of the network.
    std::vector<uint8_t> SharedPoints(const QRect& within) const;

    // First indices i < Last of the segments (i, i+1), both ends with X != 0,
    // whose half-even rounded midpoint lies in r; ascending.
    void SegmentsWithMidpointIn(const QRect& r, std::vector<int32_t>& out) const;
    int32_t SegmentCount() const { return int32_t(segs_.size()); }

    static uint32_t Key(Rec r) { return (uint32_t(uint16_t(r.x)) << 16) | uint16_t(r.y); }

  private:
    std::vector<Rec> pts_;
    // Coordinate index: keys sorted, with the record index beside each.
    std::vector<uint32_t> occKey_;
    std::vector<int32_t> occIdx_;
    // Per record: where it stands in the sorted arrays; per sorted place: the
    // bounds of its coordinate's group there.
    std::vector<int32_t> sortedAt_, groupBegin_, groupEnd_;
    // Midpoint grid: cell c holds segs_[cellStart_[c] .. cellStart_[c+1]).
    // Cells of 16 px, or larger where the segments are few for the paper
    // they lie on, so that the grid stays about as long as the segment list.
    int cell_ = 16;
    int gx0_ = 0, gy0_ = 0, gw_ = 0, gh_ = 0;
    std::vector<int32_t> cellStart_;
    std::vector<int32_t> segs_;
    std::vector<int32_t> midX_, midY_;  // by position in segs_
};

}  // namespace compose
