// Douglas-Peucker on each edge with its ends fixed, keeping the network
// planar: a simplified edge that would cross or touch another edge (or
// itself) anywhere but at a shared node keeps its full shape. Shared by the
// tracing of scans and the import of boundary data.
#pragma once

#include <QPoint>
#include <vector>

namespace ops {

// The points of `line` (ends always kept) within `tolerance` px of the
// result. A closed ring keeps at least four points.
std::vector<QPoint> DouglasPeucker(const std::vector<QPoint>& line, double tolerance);

// Whether segments ab and cd meet anywhere but at one shared end, or
// overlap along a line.
bool SegmentsConflict(QPoint a, QPoint b, QPoint c, QPoint d);

// Simplifies every edge in place; edges must be planar to begin with. An
// edge also keeps its shape when the new one would move a point of `keep`
// (area positions) to its other side, or nearer to it than it was and
// within two pixels of it.
void SimplifyPlanar(std::vector<std::vector<QPoint>>& edges, double tolerance,
                    const std::vector<QPoint>& keep = {});

}  // namespace ops
