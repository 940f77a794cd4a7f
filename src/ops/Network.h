// Whole-list operations on the traced network, as pure functions on the
// records 0..PointLast of a point list. Each runs in one pass (plus a hash of
// segments) instead of shifting records once per change, and yields exactly
// the list the record-by-record procedures do.
#pragma once

#include <functional>
#include <vector>

#include "store/Store.h"

namespace net {

// Tidies a point list in two steps, the first finished before the second:
// 1. From the top down, a record i that is a separator with a separator at
//    i - 2 takes the record between them with it (a lone point, or a
//    doubled separator), and the walk goes on below the pair.
// 2. A record equal to the record before it goes (a point clicked twice in
//    place, runs of separators).
// A lone point at the very end of the list (a chain just started) stays, and
// a chain of two equal points becomes a lone point that stays.
// afterLonePoints runs between the two steps (progress display).
void Tidy(std::vector<Rec>& v, const std::function<void()>& afterLonePoints = {});

// Keeps only the last occurrence of every segment, in either direction, and
// cuts chains where a dropped segment was; chain ends whose segments are all
// dropped go too. Leaves doubled separators and lone points for Tidy.
// tick runs as often as the quadratic scan would advance a progress bar
// (n div 8 + 1 records apart).
void DropRepeatedSegments(std::vector<Rec>& v, const std::function<void()>& tick = {});

// DropRepeatedSegments followed by Tidy.
void RemoveRepeatedSegments(std::vector<Rec>& v);

}  // namespace net
