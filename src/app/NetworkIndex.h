// Where the traced network lies, so that a repaint visits only the records
// it shows: a grid of 64-pixel cells over copies of the point and kind lists,
// each cell holding the records whose point or incoming segment reaches it.
// A million-point map is walked when it changes, not on every repaint, and a
// small change (a point moved, points added at the end) is only noted.
#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

#include "store/Store.h"

namespace view {

class NetworkIndex {
  public:
    // The map may have changed: the next Sync compares the lists.
    void Invalidate() { stale_ = true; }
    // Brings the copies and the grid up to the store (a no-op while nothing
    // was invalidated; a copy and a compare when nothing really changed).
    void Sync(const Store& st);

    // 0: the point list, 1: the kind list, as last synced.
    const std::vector<Rec>& List(int which) const { return lists_[which]; }

    // The records of list `which` that matter inside r, in list order:
    // every record lying in r (x > 0) and every record i whose segment from
    // record i - 1 (both x != 0) has a box meeting r. Others may be included.
    void Near(int which, QRect r, std::vector<int32_t>& out) const;

  private:
    void Build(int which);
    // Takes the new list in; false when the grid must be built again.
    bool Patch(int which, std::vector<Rec>&& now);
    static constexpr int MaxPatch = 4096, MaxExtra = 20000;
    static constexpr int Shift = 6;       // 64-pixel cells
    static constexpr int LongCells = 64;  // a record reaching more cells is kept aside

    bool stale_ = true;
    std::vector<Rec> lists_[2];
    struct Grid {
        int x0 = 0, y0 = 0, w = 0, h = 0;  // in cells
        std::vector<int32_t> start;        // w * h + 1 offsets into entries
        std::vector<int32_t> entries;      // record indices, ascending per cell
        std::vector<int32_t> longOnes;     // ascending
        // Records changed since the grid was built (in place, or a tail
        // appended or cut), visited whatever the rectangle: an edit or a
        // traced point costs a compare, not a new grid.
        std::vector<int32_t> extra;
    } grids_[2];
};

}  // namespace view
