// Mending what hand tracing leaves in a network, so that the composition can
// close the outlines: lines that cross without a shared point, line ends that
// stop just short of a line or run just past it, short dead ends and
// segments traced twice. Pure functions on a point list and its kind list.
#pragma once

#include <QRect>
#include <vector>

#include "compose/Geometry.h"
#include "store/Store.h"

namespace compose {

enum class RepairKind {
    Duplicate,     // the same segment twice: kept once
    Overshoot,     // a line end past a line: cut at the crossing
    Gap,           // a line end short of a line or point: joined to it
    Crossing,      // lines crossing without a shared point: the point put into both
    CrossingKept,  // ... where the rounded point would make a new crossing: left
    Dangle,        // a dead end shorter than the limit: removed
};

// A stable key for reports that programs read ("crossing", "gap", ...).
const char* RepairKey(RepairKind k);

struct Repair {
    RepairKind kind = RepairKind::Crossing;
    Pt place;
    // The points the repair put in, moved to or took out.
    std::vector<Pt> points;
};

struct RepairOptions {
    int snap = 3;    // px: how far a line end may be from what it should meet
    int dangle = 0;  // px: dead ends shorter than this go; 0: none
    // Only repairs whose place lies in one of these; empty: everywhere.
    std::vector<QRect> within;
};

struct Repaired {
    std::vector<Rec> points, kinds;  // as given when nothing was repaired
    std::vector<Repair> repairs;     // in the order they were made
    bool Changed() const;
};

// Repairs the network (records 0..PointLast of the point list) in this order:
// segments twice, overshoots, gaps, crossings, dangles. A point other lines
// share is never moved; a line of a kind is changed only where a point is put
// into it or its end joins another line, and its kind records follow. The
// area table is not read.
Repaired RepairNetwork(const std::vector<Rec>& points, const std::vector<Rec>& kinds,
                       const RepairOptions& options);

}  // namespace compose
