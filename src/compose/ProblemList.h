// What 全区域の点検 keeps while its list is open: the failed positions, the
// prepared network they were traced on, and the region now marked red.
#pragma once

#include <QRect>
#include <vector>

#include "compose/Composer.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace compose {

struct ProblemList {
    std::vector<CheckEntry> failures;
    // The network as the check saw it (yellow on black, nodes lime): the
    // regions to mark are read from it, not from the view, whose lines may
    // lie over a picture.
    Surface network;
    // The map that was checked (sharing its pages with the live one): an
    // entry chosen after the map changed checks again instead of marking.
    Store checked;

    // The marked entry (-1: none), where its region lies and what the view
    // held under it.
    int marked = -1;
    QRect rect;
    std::vector<uint8_t> under;

    // Paints the region of entry i red on `view`, keeping what was there.
    void Mark(int i, Surface& view);
    // Puts back what the mark covered, where the view still shows it red.
    // The rectangle that may have changed (empty: none).
    QRect Unmark(Surface& view);
};

}  // namespace compose
