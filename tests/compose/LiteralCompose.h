// The composition written out step by step the slow, obvious way: whole-list
// scans for every point looked up, the start search over every segment, the
// cut by record insertion, the outline stream as a list of numbers, and the
// kind merge through its two buffers. The fast composition must give exactly
// the same lists and the same failures. Like the fast one, it takes a walk
// only when it is the position's own outline, tries the other bordering
// segments when the first walk is not, and tells why when none is.
#pragma once

#include <vector>

#include "compose/OutlineTracer.h"
#include "raster/Surface.h"
#include "store/Store.h"

struct LiteralResult {
    bool ok = true;
    int area = 0, slot = 0;
    compose::Outcome outcome = compose::Outcome::Closed;
    int32_t start = 0;  // s of the failing trace
    compose::Pt node;   // lost: the node
    compose::Pt place;  // another area's position in the failing region
};

// Runs the tracing, cutting, rebuild and kind merge on a prepared store and
// surface (as compose::ComposeMap expects them).
LiteralResult LiteralCompose(Store& st, Surface& surf);

// Cuts the segments between consecutive stream pairs (x, y, x, y, ...) out of
// the point list, scanning the whole list for each and inserting separators.
void LiteralCut(Store& st, const std::vector<int>& stream);
// The lone-point and repeat removal, record by record.
void LiteralTidy(Store& st);
// The kind merge, group by group with whole-list searches.
void LiteralMergeKinds(Store& st);
