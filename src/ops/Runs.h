// Widening a hit segment to its run: the stretch of one chain between the
// nearest nodes (or chain ends) on either side. Nodes are read from the
// surface, where the vertex marking has painted them lime; a record with
// x = 0 (a separator or a kind-group header) ends a chain.
#pragma once

#include <cstdint>

#include "raster/Surface.h"
#include "store/Store.h"

// rec(i) returns record i of the list walked; last is its last index.
// On entry s..s+1 is the hit segment (e = s + 1); on return s..e is the run.
template <class RecordAt>
void WidenRun(const Surface& surf, RecordAt rec, int32_t last, int32_t& s, int32_t& e) {
    int32_t j = s;
    Rec r;
    uint8_t c;
    do {
        r = rec(j);
        c = surf.Pixel(r.x, r.y);
        --j;
    } while (!(c == Lime || j < 0 || r.x == 0));
    ++j;
    if (r.x == 0 || j == 0) ++j;
    s = j;

    j = e;
    do {
        r = rec(j);
        c = surf.Pixel(r.x, r.y);
        ++j;
    } while (!(c == Lime || j > last || r.x == 0));
    --j;
    if (r.x == 0) --j;
    e = j;
}
