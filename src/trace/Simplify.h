// Douglas-Peucker on each edge with its ends fixed, keeping the network
// planar: a simplified edge that would cross or touch another edge (or
// itself) anywhere but at a shared node keeps its full shape.
#pragma once

#include <QPoint>
#include <vector>

namespace trace {

// The points of `line` (ends always kept) within `tolerance` px of the
// result. A closed ring keeps at least four points.
std::vector<QPoint> DouglasPeucker(const std::vector<QPoint>& line, double tolerance);

// Whether segments ab and cd meet anywhere but at one shared end, or
// overlap along a line.
bool SegmentsConflict(QPoint a, QPoint b, QPoint c, QPoint d);

// Simplifies every edge in place; edges must be planar to begin with.
void SimplifyPlanar(std::vector<std::vector<QPoint>>& edges, double tolerance);

}  // namespace trace
