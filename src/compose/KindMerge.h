// Joining the line-kind groups that meet end to end: a line the user marked
// in several pieces becomes one group per continuous line of a kind.
#pragma once

#include <vector>

#include "store/Store.h"

namespace compose {

// Returns the merged kind list (records 0..KindLast) for the given one.
// Groups come out in the order of their first header; each is the header,
// then the points from the far end of what joined at its first point,
// through the group, to the far end of what joined at its last point, the
// shared points written once. Headers without points are dropped; a group
// of a single point that touches a joined end is absorbed into it.
std::vector<Rec> MergeKindGroups(const std::vector<Rec>& kinds);

}  // namespace compose
