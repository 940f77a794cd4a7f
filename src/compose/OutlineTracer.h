// Tracing one area outline on the composition surface: the region around a
// position is filled navy, a bordering segment and its direction are found,
// and the network is walked with the region on the right, taking the
// sharpest right turn at every node, until the walk is back at its start.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "compose/Geometry.h"
#include "compose/NetworkIndex.h"
#include "raster/Surface.h"

namespace compose {

struct StartSegment {
    int32_t s = 0, n = 0;
    int d = 0;  // +1 walk toward higher indices, -1 toward lower, 0 undecided
};

struct Branch {
    int32_t at = 0, far = 0;
    int dir = 0;
};

// TooLarge: the outlines would not fit in the point list (the composition
// stops before its memory use runs away on a map with many positions per region).
// Astray: neither walk from the start segment, one way or the other, closed
// with the position on its right.
enum class Outcome { Closed, NoStart, NoDirection, Lost, NotClosed, StepLimit, TooLarge, Astray };

struct TraceResult {
    Outcome outcome = Outcome::Closed;
    StartSegment start;
    Pt node;             // Lost: the node where the way was lost
    int32_t points = 0;  // Closed: records of the outline, start point twice
};

// Texts of the failures, as the editor shows them (name already decoded).
QString FailureText(Outcome o, const QString& areaName);

class OutlineTracer {
  public:
    OutlineTracer(const NetworkIndex& net, Surface& surf) : net_(net), surf_(surf) {}

    // Called after the red marks of an undecidable node are painted; the walk
    // goes on and may still find a winning branch.
    std::function<void(Pt node)> onLost;

    // The first bordering segment run of the navy region and its direction.
    // region: the bounding box of the navy pixels (empty: nothing is navy).
    StartSegment FindStartSegment(const QRect& region) const;
    std::vector<Branch> CollectBranches(int32_t cur, int32_t node) const;
    void NextOutlineStep(int32_t& cur, int32_t& next, int& dir);

    // Traces the outline around (px, py) on a surface that shows the network
    // (yellow, nodes lime) on black. The outline's points, then (0,0), are
    // appended to stream. The surface is left as the editor shows a failure:
    // success fills the region black again, "no start" and "not closed" fill
    // it red, an undecided direction marks the start point red, a lost way
    // marks the four points involved red. An outline that closes without the
    // position on its right (see OnRightOfRing) is walked again the other way
    // round from the same start segment; if that does not give one either,
    // the region is filled red (Astray).
    TraceResult TraceOutline(int px, int py, std::vector<Rec>& stream);

    // Pixels this tracer has painted red, with their former colour, so that a
    // caller can undo the marks (oldest first).
    struct Mark {
        int x, y;
        uint8_t was;
    };
    std::vector<Mark> marks;

  private:
    void MarkRed(Pt p);
    // One walk from st until back at its first point, appending the outline
    // and its separator to stream. Closed, Lost, NotClosed or StepLimit.
    Outcome Walk(const StartSegment& st, std::vector<Rec>& stream, TraceResult& res);
    const NetworkIndex& net_;
    Surface& surf_;
    mutable std::vector<int32_t> cand_;
};

}  // namespace compose
