// The regions of a line cover where only a few places are asked about
// (beside segments' midpoints, at positions). The same sweep as
// RegionLabels, but it keeps two rows of runs and one union-find node for
// each run that starts a region from above instead of every run of the
// surface, and nothing is numbered or listed afterwards: each run keeps
// only the 16-bit number of its region, and a pixel is looked up along its
// row's sorted spans when it is asked for.
#pragma once

#include <QRect>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/RegionLabels.h"

class BlockRegions {
  public:
    // The black regions of a surface that shows nothing but the cover's
    // lines and points, as RegionLabels::Build(cover) finds them.
    // False for a cover kept as bits or wider than 16-bit columns, where
    // the regions' parts are too many to number in 16 bits, and where
    // thousands of them join on the same rows.
    bool Build(const LineCover& cover);

    // The region holding (x, y), -1 for a covered pixel or one off the
    // surface: the same partition as RegionLabels::RegionAt, in numbers of
    // its own. It takes a walk along the row's spans.
    int RegionAt(int x, int y) const;
    // The bounding box of a region's pixels, as RegionLabels::Bounds.
    QRect Bounds(int region) const {
        const Box& b = boxes_[size_t(region)];
        return QRect(QPoint(b.x0, b.y0), QPoint(b.x1, b.y1));
    }

  private:
    struct Box {
        int32_t x0, y0, x1, y1;
    };
    struct Run {
        int32_t from, to;  // [from, to)
        int32_t node;
    };
    int32_t Find(int32_t i) const;
    int w_ = 0, h_ = 0;
    static constexpr uint16_t kNone = 0xFFFF;
    // The region of every run, row by row in the sweep's order: row y's
    // runs are runNode_[runStart_[y]] onwards.
    std::unique_ptr<uint16_t[]> runNode_;
    size_t runRoom_ = 0;
    std::vector<int32_t> runStart_;
    mutable std::vector<int32_t> parent_;  // union-find; the roots are the regions
    std::vector<Box> boxes_;               // by root
    struct Span {
        int16_t from, to;  // [from, to)
    };
    std::vector<int32_t> start_;  // spans of row y: start_[y] .. start_[y + 1]
    std::vector<uint32_t> order_;  // lines by their left ends
    std::unique_ptr<Span[]> spans_;  // room for spanRoom_, unset until traced
    size_t spanRoom_ = 0;
};
