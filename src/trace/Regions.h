// The page split into regions: seeds where the paper is wider than the gap
// radius (and in every closed ring of ink big enough), a flood from the
// widest places down so that gaps close at their narrowest point, then the
// merges: a region joined to its neighbour through paper alone (a neck),
// and regions under the smallest size.
#pragma once

#include <cstdint>
#include <vector>

#include "trace/Trace.h"

namespace trace {

struct RegionSplit {
    std::vector<int32_t> labels;  // 1-based, per pixel
    std::vector<Region> regions;
    bool cancelled = false;
};

// A chosen smallest size (`chosenMinArea`) holds for every region; the
// automatic one spares regions walled in by ink all round.
RegionSplit SplitRegions(const Page& page, int gap, int minArea, const Tick& tick,
                         bool chosenMinArea = false);

// A small closed ring of ink (not a letter's) holds an island drawn small,
// however narrow the paper inside; where the merges above gave it to the
// region round it, its paper becomes a region again. True when any did.
bool KeepIslands(const Page& page, int minArea, RegionSplit& split);

// The regions' sizes, poles and whether they reach the page edge, from the
// labels alone (after the labels were changed).
void MeasureRegions(const Page& page, RegionSplit& split);

}  // namespace trace
