// An inlet or a spit drawn narrower than the pen is one stroke of ink that
// leaves a wall and ends inside a region, with that region on both sides.
// The flood leaves such a stroke inside the region, and the edge the stroke
// stands for is lost. A long one is given to the region across the wall
// it leaves, as a thin tongue: the edge then runs up one side of the stroke
// and back down the other, and every region stays closed (an open chain
// would be a dead end that no outline can be walked round). A letter of a
// name touching a wall is no inlet: the name's other letters stand beside it.
#pragma once

#include "trace/Regions.h"

namespace trace {

// Gives each long dead-end stroke of boundary ink in `split` to the region
// across the wall it leaves; true when any was.
bool FollowInlets(const Page& page, RegionSplit& split);

}  // namespace trace
