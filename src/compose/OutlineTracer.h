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
#include "raster/BlockRegions.h"
#include "raster/RegionLabels.h"
#include "raster/Surface.h"

namespace compose {

// What the network's lines and points cover of a w x h surface painted with
// nothing else, as the batch composition labels it without painting.
LineCover CoverOfNetwork(const std::vector<Rec>& points, int w, int h);

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
// Astray: no walk from any bordering segment, either way, gave the position's
// own outline (see IsOwnOutline), and nothing more specific explains why.
enum class Outcome { Closed, NoStart, NoDirection, Lost, NotClosed, StepLimit, TooLarge, Astray };

// Why a position has no outline, as far as the region and the walks tell.
// Leaks: the region reaches the edge of the drawing (place: a pixel there).
// SharedRegion: another area's position lies in the same region, so a
// dividing line has a gap (place: that position). Crossing: two lines cross
// without a shared point (place: the crossing). DeadEnd: the first walk ran
// off a chain end (place: that end). Untraceable: none of these (place and
// place2: the start segment).
enum class Reason { None, Leaks, SharedRegion, Crossing, DeadEnd, Untraceable };

// A position the composition traces, for finding a second one in a region.
struct PositionRef {
    int area = 0, slot = 0;
    Pt at;
};

struct TraceResult {
    Outcome outcome = Outcome::Closed;
    StartSegment start;
    Pt node;             // Lost: the node where the way was lost
    int32_t points = 0;  // Closed: records of the outline, start point twice
    Reason reason = Reason::None;
    Pt place, place2;
    int otherArea = 0, otherSlot = 0;  // SharedRegion: the other position
};

// Texts of the failures, as the editor shows them (name already decoded).
QString FailureText(Outcome o, const QString& areaName);
// The same with what the reason adds: the other area's name (otherName) for
// a shared region, the place for a crossing or an untraceable outline.
QString FailureText(const TraceResult& r, const QString& areaName, const QString& otherName);

// A stable key for the outcome and its reason ("closed", "not-closed",
// "shared-region", "crossing", ...), for reports that programs read.
const char* ReasonKey(const TraceResult& r);
// The spot a report points at: the reason's place, the lost node, the start
// point of an undecided direction, else the position.
Pt ReportPlace(const TraceResult& r, Pt position);

class OutlineTracer {
  public:
    OutlineTracer(const NetworkIndex& net, Surface& surf) : net_(net), surf_(surf) {}

    // Called after the red marks of an undecidable node are painted; the walk
    // goes on and may still find a winning branch.
    std::function<void(Pt node)> onLost;

    // Positions traced in this run, sorted by x, for telling a gap between
    // two areas; empty: not looked for.
    std::vector<PositionRef> positions;
    // The drawing the network lies on; a region reaching its edge leaks
    // out. Empty: the whole surface.
    QRect drawing;

    // Paint the region being traced where somebody sees it: navy while a
    // lost way is reported, red when the position fails. A survey that puts
    // the surface back after each position turns it off.
    bool showRegions = true;

    // Traces on a surface nobody has painted (all black, of the size the
    // painted one would have): the regions are labelled from the network's
    // own lines and the nodes are the coordinates two or more records hold,
    // which is what the painted surface would show. The surface is neither
    // read nor written. What only a painted surface can show (a lost way's
    // red marks) sets NeedsSurface(): the results are then not to be used.
    void WithoutSurface();
    bool NeedsSurface() const { return needsSurface_; }

    // Whether (x, y) belongs to the region being traced: asked of the region
    // labels, or of the navy fill where the surface held navy pixels already.
    bool InRegion(int x, int y) const {
        if (!labelled_) return surf_.Pixel(x, y) == Navy;
        if (region_ < 0) return false;
        return RegionAt(x, y) == region_;
    }
    // Whether segment (i, i+1) borders that region: a pixel of the region
    // touches the segment's half-even midpoint.
    bool BordersRegion(int32_t i) const;
    // The bordering segments of the region in point-list order.
    // region: the bounding box of the navy pixels (empty: nothing is navy).
    void BorderingSegments(const QRect& region, std::vector<int32_t>& out) const;

    // The first bordering segment run of the navy region and its direction.
    StartSegment FindStartSegment(const QRect& region) const;
    // The start segment of the outline around (px, py), found as
    // TraceOutline finds it, without walking; the surface is left as it was.
    StartSegment FindStartAt(int px, int py);
    // A position of another area than `area` in the region (a gap in the
    // line between them), or null.
    const PositionRef* OtherPositionInRegion(const QRect& region, int area) const;
    // The branches at a node, into `list` (cleared first).
    void CollectBranches(int32_t cur, int32_t node, std::vector<Branch>& list) const;
    void NextOutlineStep(int32_t& cur, int32_t& next, int& dir);

    // Traces the outline around (px, py) of area `area` on a surface that
    // shows the network (yellow, nodes lime) on black. The outline's points,
    // then (0,0), are appended to stream. The first walk from the start
    // segment is taken when it is the position's own outline (IsOwnOutline)
    // and no other area's position shares the region; otherwise the same
    // segment the other way, then every bordering segment in point-list order
    // and both ways, until one is. The surface is left as
    // the editor shows a failure: success fills the region black again, "no
    // start", "not closed" and "astray" fill it red, an undecided direction
    // marks the start point red, a lost way marks the four points involved
    // red.
    TraceResult TraceOutline(int px, int py, std::vector<Rec>& stream, int area = 0);

    // Pixels this tracer has painted red, with their former colour, so that a
    // caller can undo the marks (oldest first).
    struct Mark {
        int x, y;
        uint8_t was;
    };
    std::vector<Mark> marks;

    // Beside the stream TraceOutline appends to: for stream[k - 1] to
    // stream[k], the first index i of the list segment (i, i + 1) the walk
    // went along, or -1 (a separator, or records the tracer did not append).
    const std::vector<int32_t>& WalkedSegments() const { return walked_; }

  private:
    // Shortens the stream and the walked segments beside it together.
    void Truncate(std::vector<Rec>& stream, size_t n) {
        stream.resize(n);
        walked_.resize(n, -1);
    }
    void Append(std::vector<Rec>& stream, Rec r, int32_t segment) {
        stream.push_back(r);
        walked_.push_back(segment);
    }
    void MarkRed(Pt p);
    // The labelled region at (x, y), -1 for none: from the regions swept
    // from the lines' spans, else from the whole labelling.
    int RegionAt(int x, int y) const {
        return probing_ ? blocks_.RegionAt(x, y) : labels_.RegionAt(x, y);
    }
    // Sweeps the regions of the unpainted surface from the lines' spans
    // where they are sparse; false: label everything.
    bool ProbeRegions(const LineCover& cover);
    // Labels the whole unpainted surface, for painting a region; the region
    // being traced keeps its meaning.
    void LabelAll() const;
    void FindCrossingsOnce();
    // Whether the closed walk of n records at stream[begin] runs, past a
    // crossing without a shared point, with another region on its right
    // (the labels tell): a walk that went through a crossing and round a
    // neighbour. A ring that crosses itself (real boundary data twists) is
    // not judged at its own crossings. at: the first such crossing.
    bool LeavesRegion(const std::vector<Rec>& stream, size_t begin, size_t n, Pt& at);
    // Whether an accepted walk bounds the position's own region; remembers
    // the first place a rejected walk left it.
    bool StaysInRegion(const std::vector<Rec>& stream, size_t begin, size_t n);
    // 1: (x, y) lies in the region being traced, -1: in another region,
    // 0: on a line, or not known.
    int SideAt(int x, int y) const;
    // One walk from st until back at its first point, appending the outline
    // and its separator to stream. Closed, Lost, NotClosed or StepLimit.
    Outcome Walk(const StartSegment& st, std::vector<Rec>& stream, TraceResult& res);
    // The walks after a first one that failed: true with the outline in
    // stream from `begin` when one gives the position's own outline.
    bool TryOtherStarts(const StartSegment& first, const QRect& region, Pt pos,
                        const std::vector<Rec>& firstWalk, std::vector<Rec>& stream, size_t begin,
                        TraceResult& res);
    // Why no walk gave an outline; sets reason, place and outcome.
    void Diagnose(const QRect& region, Pt pos, int area, const std::vector<Rec>& firstWalk,
                  Outcome first, TraceResult& res);
    // The region around (px, py) as its bounding box (empty when the pixel
    // is not background). The black regions are labelled once; they stay
    // valid while nothing but this tracer paints them, and it paints them
    // back. Only when the surface holds navy already (which the labels could
    // not tell from the region) is the region flood-filled navy instead.
    QRect EnterRegion(int px, int py);
    // Paints the labelled region navy, as the fill would have left it.
    void ShowRegion();
    // ... and leaves it so when the trace ends there.
    void StayShown();
    // Success (Black) or failure (Red): the region as the fill would leave it.
    void LeaveRegion(uint8_t colour);
    const NetworkIndex& net_;
    Surface& surf_;
    mutable std::vector<int32_t> cand_;
    std::vector<Branch> branches_;
    mutable RegionLabels labels_;
    bool labelled_ = false;  // InRegion asks the labels
    // Unpainted and sparse: the regions are swept from the lines' spans
    // (ProbeRegions) and looked up where asked.
    mutable bool probing_ = false;
    BlockRegions blocks_;
    bool labelsDue_ = true;              // look at the surface again before the next position
    mutable int region_ = -1;            // the labelled region being traced
    bool shown_ = false;                 // ... painted navy
    Pt at_;                              // the position being traced
    bool unpainted_ = false;
    bool needsSurface_ = false;
    std::vector<uint8_t> node_;  // unpainted: record i lies on a node
    std::vector<int32_t> walked_;
    // Every crossing without a shared point, once per segment it lies on,
    // sorted by segment: found when the first walk is judged.
    struct CrossingOn {
        int32_t seg;    // list segment (seg, seg + 1)
        int32_t other;  // the segment crossing it
        Pt at;
    };
    std::vector<CrossingOn> crossingsOn_;
    bool crossingsFound_ = false;
    bool left_ = false;  // a walk of this position left its region, at leftAt_
    Pt leftAt_;
};

}  // namespace compose
