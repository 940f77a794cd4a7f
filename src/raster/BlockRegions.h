// The regions of a line cover where only a few places are asked about: the
// pixels of small square blocks (beside each segment's midpoint, at each
// position). The same sweep as RegionLabels, but it keeps two rows of runs
// and one union-find node for each run that starts a region from above
// instead of every run of the surface, and nothing is numbered or listed
// afterwards. Each run keeps only the 16-bit number of its region; a
// block's pixel is looked up along its row's sorted spans when it is asked
// for, since most blocks never are.
#pragma once

#include <QRect>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/RegionLabels.h"

class BlockRegions {
  public:
    static constexpr int kSide = 4;
    struct Corner {
        int32_t x, y;  // top-left pixel of a kSide x kSide block
    };

    // The black regions of a surface that shows nothing but the cover's
    // lines and points, as RegionLabels::Build(cover) finds them, at the
    // pixels of the given blocks.
    // False for a cover kept as bits or wider than 16-bit columns, and
    // where the regions' parts are too many to number in 16 bits.
    bool Build(const LineCover& cover, std::vector<Corner> blocks);

    // The region holding (x, y) of block b; -1 where the pixel is covered
    // or off the surface, -2 when (x, y) is not a pixel of block b.
    int At(int b, int x, int y) const {
        const Corner c = blocks_[size_t(b)];
        const unsigned dx = unsigned(x - c.x), dy = unsigned(y - c.y);
        if (dx >= unsigned(kSide) || dy >= unsigned(kSide)) return -2;
        return RegionAt(x, y);
    }
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
    // The region at (x, y), -1 for a covered pixel or one off the surface:
    // found along the row's spans when asked.
    int RegionAt(int x, int y) const;
    std::vector<Corner> blocks_;
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
    std::vector<int32_t> start_, fill_;  // spans of row y: start_[y] .. start_[y + 1]
    std::vector<uint64_t> order_;
    std::unique_ptr<Span[]> spans_;  // room for spanRoom_, unset until traced
    size_t spanRoom_ = 0;
};
