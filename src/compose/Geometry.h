// The pixel and angle primitives the outline search and walk decide by. They
// read the drawing surface (never write it) and compare angles exactly as
// doubles, so that every implementation of the walk takes the same turns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "raster/Surface.h"
#include "store/Store.h"

namespace compose {

struct Pt {
    int x = 0, y = 0;
    friend bool operator==(Pt a, Pt b) { return a.x == b.x && a.y == b.y; }
};
inline Pt ToPt(Rec r) {
    return {r.x, r.y};
}

// (a + b) / 2 rounded to the nearest integer, halves to the even neighbour.
// Inline: the index takes it for every segment.
inline int HalfEvenMid(int a, int b) {
    const int sum = a + b;
    const int lo = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);  // floor(sum / 2)
    if (sum - 2 * lo == 0) return lo;
    return (lo % 2 == 0) ? lo : lo + 1;
}

// Looks for `colour` among the eight neighbours of p, in the order east,
// north-east, north, north-west, west, south-west, south, south-east. At the
// first hit p moves onto it and its number 1..8 is returned; 0 when none.
int ProbeNeighbours(const Surface& s, Pt& p, uint8_t colour);

// Moves p one pixel toward the middle of its navy neighbours.
void StepIntoRegion(const Surface& s, Pt& p);
// The same with the region given by inRegion(x, y) instead of navy pixels.
void StepIntoRegion(const std::function<bool(int, int)>& inRegion, Pt& p);

// On which side of S->N the point M lies: -1 on the walker's left as seen on
// the screen, +1 on the right, 0 when S = N or M = S.
int InteriorSide(Pt S, Pt N, Pt M);

// Compares the turn from P->Q into Q->A with the turn into Q->B: 2 when B
// turns further right (B preferred), 1 when further left, 0 when equal or a
// vector has no length.
int CompareTurns(Pt P, Pt Q, Pt A, Pt B);

// Whether p lies on the right of the closed ring of n points (the first
// repeated at the end) as it is walked: enclosed by it (even-odd rule) when
// the ring runs clockwise on the screen, outside it when the ring runs the
// other way (round a hole, or round the outside of an island) or encloses
// no area. A point on the ring lies on neither side.
bool OnRightOfRing(const Rec* ring, size_t n, Pt p);

// Whether a closed ring of n points (the first repeated at the end) can be the
// outline of the region around p: clockwise on the screen (positive area) and
// going once round p (winding number +1, p not on the ring). A hole's ring, a
// walk round a neighbour or round the outside of an island, and a walk that
// crosses itself around p all fail. Real boundary data keeps rings that
// touch or twist themselves somewhere else, or go out to a lake and back
// along one line: those pass.
bool IsOwnOutline(const Rec* ring, size_t n, Pt p);

struct Segment {
    Pt a, b;
};
struct Crossing {
    Pt at;         // rounded to whole pixels
    int32_t i, j;  // the two segments, i < j
};

// Every pair of segments that cross, each passing through the other's inside
// (meeting at an end point or touching does not count), ordered by place.
std::vector<Crossing> FindCrossings(const std::vector<Segment>& segs);

// How far along s (0 at s.a, 1 at s.b) segment t crosses it; only for a
// pair that FindCrossings reports.
double CrossingAlong(const Segment& s, const Segment& t);

// Between two crossings the region on a line's right stays the same, and at
// a node the sharpest right turn keeps it: it can change only just past a
// crossing. For each stretch of s that follows a crossing (along: how far
// along s each lies, and where; sorted here, repeats dropped), the pixel a
// pixel and a half to the right of the stretch's middle, beyond the line's
// own pixels, and the crossing it follows.
std::vector<std::pair<Pt, Pt>> RightOfStretches(const Segment& s,
                                                std::vector<std::pair<double, Pt>>& along);

}  // namespace compose
