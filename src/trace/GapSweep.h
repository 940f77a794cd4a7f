// How many regions the page splits into for each gap radius, counted on
// every second pixel in one pass from the widest places down.
#pragma once

#include <cstdint>
#include <vector>

namespace trace {

// Index r: the number of parts of {distance > r} of at least minArea pixels,
// for r = 0..kMaxGap.
std::vector<int> RegionsByGap(const std::vector<uint16_t>& dist, int width, int height,
                              int minArea);

// The radius where the count levels off: the smallest one that reaches
// nearly the highest count, and never thinner than the lines unless
// radius 1 finds more regions and closes every gap the wider one does.
int ChooseGap(const std::vector<int>& regionsByGap, int lineWidth);

}  // namespace trace
