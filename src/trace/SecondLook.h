// A wall broken once, wider than the gap radius chosen for the whole page,
// leaves two regions joined with no edge to doubt. Flooded again with a
// wider radius, such a pair falls apart along a long line of ink with one
// short stretch of paper: that stretch is closed, the rest kept as it was.
#pragma once

#include "trace/Regions.h"

namespace trace {

// Splits the regions of `split` (made with `gap`) that a wider flood finds
// walled apart; true when any was.
bool SplitWideBreaks(const Page& page, int gap, int minArea, RegionSplit& split);

}  // namespace trace
