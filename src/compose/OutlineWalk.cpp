// Walking an outline: one record at a time along a chain, and at a node (a
// lime pixel) or a chain end the branch that turns furthest to the right.
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "base/Messages.h"
#include "compose/OutlineTracer.h"

namespace compose {

LineCover CoverOfNetwork(const std::vector<Rec>& v, int w, int h) {
    // About a span a row for each segment, and one for each point. Kept as
    // lines, the cover costs a few spans a row where the sweep is; as bits,
    // an eighth of the surface. Bits are read faster where lines are dense.
    size_t spans = v.size();
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i - 1].x != 0 && v[i].x != 0) spans += size_t(std::abs(v[i].y - v[i - 1].y)) + 1;
    const size_t bits = size_t(std::max(w, 0)) * size_t(std::max(h, 0)) / 8;
    LineCover cover(w, h, spans * 12 * 4 < bits);
    cover.Reserve(v.size());
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i - 1].x != 0 && v[i].x != 0) cover.AddLine(v[i - 1].x, v[i - 1].y, v[i].x, v[i].y);
    // A segment's pixels include its first point (only the last is left
    // out), so a point another segment starts from is covered already; the
    // rest (chain ends, lone points, a segment of one pixel) are added, and
    // the row sweep then has far fewer single pixels to sort in.
    for (size_t i = 0; i < v.size(); ++i) {
        const Rec r = v[i];
        if (r.x <= 0) continue;
        if (i + 1 < v.size() && v[i + 1].x != 0 && !(v[i + 1] == r)) continue;
        cover.AddPixel(r.x, r.y);
    }
    return cover;
}

QString FailureText(Outcome o, const QString& name) {
    switch (o) {
        case Outcome::NoStart:
            return msg::Text(Msg::TraceRegionOpen) + name + msg::Text(Msg::TraceNoStartEnd);
        case Outcome::NoDirection:
            return msg::Text(Msg::TraceNoDirection);
        case Outcome::Lost:
            return msg::Text(Msg::TraceLost);
        case Outcome::NotClosed:
            return msg::Text(Msg::TraceAreaOpen) + name + msg::Text(Msg::TraceNotClosed);
        case Outcome::StepLimit:
            return msg::Text(Msg::TraceStepLimit);
        case Outcome::TooLarge:
            return msg::Text(Msg::TraceTooLarge);
        case Outcome::Astray:
            return msg::Text(Msg::TraceAreaOpen) + name + msg::Text(Msg::TraceUntraceable);
        case Outcome::Closed:
            break;
    }
    return QString();
}

QString FailureText(const TraceResult& r, const QString& name, const QString& otherName) {
    auto at = [](Pt p) { return QStringLiteral("(%1,%2)").arg(p.x).arg(p.y); };
    switch (r.reason) {
        case Reason::SharedRegion:
            return msg::Text(Msg::TraceAreaOpen) + name + msg::Text(Msg::TraceAndArea) + otherName +
                   msg::Text(Msg::TracePosition) + at(r.place) + msg::Text(Msg::TraceSharedRegion);
        case Reason::Crossing:
            return msg::Text(Msg::TraceAreaOpen) + name + msg::Text(Msg::TraceLinesOf) +
                   at(r.place) + msg::Text(Msg::TraceCrossing);
        case Reason::Untraceable:
            return FailureText(r.outcome, name) + msg::Text(Msg::TraceStartSegment) + at(r.place) +
                   QStringLiteral("-") + at(r.place2);
        case Reason::Leaks:
        case Reason::DeadEnd:
        case Reason::None:
            break;
    }
    return FailureText(r.outcome, name);
}

const char* ReasonKey(const TraceResult& r) {
    switch (r.reason) {
        case Reason::Leaks:
            return "not-closed";
        case Reason::SharedRegion:
            return "shared-region";
        case Reason::Crossing:
            return "crossing";
        case Reason::DeadEnd:
            return "dead-end";
        case Reason::Untraceable:
            return "untraceable";
        case Reason::None:
            break;
    }
    static const char* const keys[] = {"closed",     "no-start",   "no-direction", "lost",
                                       "not-closed", "step-limit", "too-large",    "astray"};
    return keys[int(r.outcome)];
}

Pt ReportPlace(const TraceResult& r, Pt position) {
    if (r.reason != Reason::None || r.outcome == Outcome::NoDirection) return r.place;
    if (r.outcome == Outcome::Lost) return r.node;
    return position;
}

void OutlineTracer::WithoutSurface() {
    unpainted_ = true;
    showRegions = false;
    node_ = net_.SharedPoints(QRect(0, 0, surf_.Width(), surf_.Height()));
}

void OutlineTracer::MarkRed(Pt p) {
    if (unpainted_) {
        needsSurface_ = true;
        return;
    }
    marks.push_back({p.x, p.y, surf_.Pixel(p.x, p.y)});
    surf_.SetPixel(p.x, p.y, Red);
}

void OutlineTracer::CollectBranches(int32_t cur, int32_t node, std::vector<Branch>& list) const {
    // Every record holding the node's coordinates, ascending, with both of its
    // chain neighbours; only the record the walk came from is left out. There
    // is no limit on branches: a node where many lines meet is walked too.
    list.clear();
    for (int32_t o : net_.OccurrencesOf(node)) {
        if (net_.P(o - 1).x > 0 && o - 1 != cur) list.push_back({o, o - 1, -1});
        if (o + 1 <= net_.Last() && net_.P(o + 1).x > 0 && o + 1 != cur)
            list.push_back({o, o + 1, +1});
    }
}

void OutlineTracer::NextOutlineStep(int32_t& cur, int32_t& next, int& dir) {
    const int32_t cand = next + dir;
    const Pt prev = ToPt(net_.P(cur)), node = ToPt(net_.P(next));
    const bool inRange = cand >= 0 && cand <= net_.Last();
    const bool isNode = unpainted_ ? node_[size_t(next)] != 0 : surf_.Pixel(node.x, node.y) == Lime;
    if (!isNode && inRange && net_.P(cand).x > 0) {
        cur = next;
        next = cand;
        return;
    }
    std::vector<Branch>& list = branches_;
    CollectBranches(cur, next, list);
    cur = next;
    next = cand;
    if (list.empty()) return;
    next = list[0].far;
    dir = list[0].dir;
    Pt best = ToPt(net_.P(list[0].far));
    for (size_t j = 1; j < list.size(); ++j) {
        const Pt c = ToPt(net_.P(list[j].far));
        int r = CompareTurns(prev, node, best, c);
        if (r == 0) {
            MarkRed(prev);
            MarkRed(node);
            MarkRed(best);
            MarkRed(c);
            if (onLost) onLost(node);
            dir = 0;
        }
        if (r == 1 && best == prev) r = 2;
        if (r == 2 && c == prev) r = 1;
        if (r == 2) {
            next = list[j].far;
            dir = list[j].dir;
            best = c;
        }
    }
}

Outcome OutlineTracer::Walk(const StartSegment& st, std::vector<Rec>& stream, TraceResult& res) {
    const Rec first = net_.P(st.s), second = net_.P(st.n);
    Append(stream, first, -1);
    Append(stream, second, std::min(st.s, st.n));
    Rec current = second, previous = first;
    int32_t cur = st.s, next = st.n;
    int dir = st.d;
    int64_t steps = 0;
    const int64_t limit = 3 * int64_t(net_.Last());
    while (!(current == first) && current.x > 0) {
        NextOutlineStep(cur, next, dir);
        previous = current;
        current = (next >= 0 && next <= net_.Last()) ? net_.P(next) : Rec{};
        // The step went from next - dir to next.
        Append(stream, current, dir > 0 ? next - 1 : dir < 0 ? next : -1);
        ++steps;
        if (dir == 0) {
            res.node = ToPt(previous);
            return Outcome::Lost;
        }
        if (steps > limit) return Outcome::StepLimit;
    }
    Append(stream, Rec{}, -1);
    if (current.x <= 0 || previous == second) return Outcome::NotClosed;
    res.points = int32_t(steps) + 2;
    return Outcome::Closed;
}

int OutlineTracer::SideAt(int x, int y) const {
    if (labelled_) {
        const int r = RegionAt(x, y);
        return r < 0 ? 0 : r == region_ ? 1 : -1;
    }
    const uint8_t c = surf_.Pixel(x, y);
    return c == Navy ? 1 : c == Black ? -1 : 0;
}

void OutlineTracer::FindCrossingsOnce() {
    if (crossingsFound_) return;
    crossingsFound_ = true;
    std::vector<Segment> segs;
    std::vector<int32_t> from;
    const int32_t last = net_.Last();
    segs.reserve(size_t(std::max(last, 0)));
    from.reserve(size_t(std::max(last, 0)));
    for (int32_t i = 0; i < last; ++i) {
        const Rec a = net_.P(i), b = net_.P(i + 1);
        if (a.x <= 0 || b.x <= 0) continue;
        segs.push_back({ToPt(a), ToPt(b)});
        from.push_back(i);
    }
    for (const Crossing& c : FindCrossings(segs)) {
        const int32_t i = from[size_t(c.i)], j = from[size_t(c.j)];
        crossingsOn_.push_back({i, j, c.at});
        crossingsOn_.push_back({j, i, c.at});
    }
    std::sort(crossingsOn_.begin(), crossingsOn_.end(),
              [](const CrossingOn& p, const CrossingOn& q) { return p.seg < q.seg; });
}

bool OutlineTracer::LeavesRegion(const std::vector<Rec>& stream, size_t begin, size_t n, Pt& at) {
    FindCrossingsOnce();
    if (crossingsOn_.empty()) return false;
    auto key = [](Pt a, Pt b) {
        const uint64_t p = NetworkIndex::Key(Rec{int16_t(a.x), int16_t(a.y)});
        const uint64_t q = NetworkIndex::Key(Rec{int16_t(b.x), int16_t(b.y)});
        return p < q ? p << 32 | q : q << 32 | p;
    };
    std::vector<uint64_t> ring;  // the ring's segments either way, when first needed
    std::vector<std::pair<double, Pt>> along;
    for (size_t k = begin + 1; k < begin + n; ++k) {
        const int32_t i = walked_[k];
        if (i < 0) continue;
        auto lo = std::lower_bound(crossingsOn_.begin(), crossingsOn_.end(), i,
                                   [](const CrossingOn& c, int32_t seg) { return c.seg < seg; });
        if (lo == crossingsOn_.end() || lo->seg != i) continue;
        if (ring.empty()) {
            for (size_t r = begin + 1; r < begin + n; ++r)
                ring.push_back(key(ToPt(stream[r - 1]), ToPt(stream[r])));
            std::sort(ring.begin(), ring.end());
        }
        const Segment s{ToPt(stream[k - 1]), ToPt(stream[k])};
        along.clear();
        for (; lo != crossingsOn_.end() && lo->seg == i; ++lo) {
            const Segment t{ToPt(net_.P(lo->other)), ToPt(net_.P(lo->other + 1))};
            if (!std::binary_search(ring.begin(), ring.end(), key(t.a, t.b)))
                along.push_back({CrossingAlong(s, t), lo->at});
        }
        for (const auto& [pixel, crossing] : RightOfStretches(s, along))
            if (SideAt(pixel.x, pixel.y) < 0) {
                at = crossing;
                return true;
            }
    }
    return false;
}

bool OutlineTracer::StaysInRegion(const std::vector<Rec>& stream, size_t begin, size_t n) {
    Pt at;
    if (!LeavesRegion(stream, begin, n, at)) return true;
    if (!left_) left_ = true, leftAt_ = at;
    return false;
}

namespace {

uint64_t DirectedKey(Rec a, Rec b) {
    return (uint64_t(NetworkIndex::Key(a)) << 32) | NetworkIndex::Key(b);
}
}  // namespace

const PositionRef* OutlineTracer::OtherPositionInRegion(const QRect& region, int area) const {
    // positions is sorted by x: only those within the region's columns are read.
    auto it = std::lower_bound(positions.begin(), positions.end(), region.left(),
                               [](const PositionRef& q, int x) { return q.at.x < x; });
    for (; it != positions.end() && it->at.x <= region.right(); ++it)
        if (it->area != area && it->at.y >= region.top() && it->at.y <= region.bottom() &&
            InRegion(it->at.x, it->at.y))
            return &*it;
    return nullptr;
}

QRect OutlineTracer::EnterRegion(int px, int py) {
    at_ = {px, py};
    shown_ = false;
    region_ = -1;
    if (labelsDue_ && unpainted_) {
        // The painted surface would be black but for the lines and points of
        // the network: what it leaves black are the regions.
        labelsDue_ = false;
        labelled_ = true;
        const LineCover cover = CoverOfNetwork(net_.Points(), surf_.Width(), surf_.Height());
        probing_ = ProbeRegions(cover);
        if (!probing_) labels_.Build(cover);
    } else if (labelsDue_) {
        labelsDue_ = false;
        probing_ = false;
        const size_t n = size_t(surf_.Width()) * size_t(surf_.Height());
        labelled_ = n > 0 && !std::memchr(surf_.Data(), Navy, n);
        if (labelled_) labels_.Build(surf_, Black, RegionLabels::Match::Equal);
    }
    if (!labelled_) return surf_.FloodFillSurface(px, py, Black, Navy);
    const int r = RegionAt(px, py);
    region_ = r;
    if (r < 0) return QRect();
    return probing_ ? blocks_.Bounds(r) : labels_.Bounds(r);
}

bool OutlineTracer::ProbeRegions(const LineCover& cover) {
    // Where the lines are dense the labels are read from bits at little cost.
    return cover.Spanned() && blocks_.Build(cover);
}

void OutlineTracer::LabelAll() const {
    probing_ = false;
    labels_.Build(CoverOfNetwork(net_.Points(), surf_.Width(), surf_.Height()));
    if (region_ >= 0) region_ = labels_.RegionAt(at_.x, at_.y);
}

void OutlineTracer::ShowRegion() {
    if (!labelled_ || shown_ || region_ < 0 || !showRegions) return;
    if (probing_) LabelAll();
    labels_.Paint(surf_, region_, Navy);
    shown_ = true;
}

void OutlineTracer::StayShown() {
    ShowRegion();
    // Navy is on the surface now: the next position looks again.
    if (shown_) labelsDue_ = true;
}

void OutlineTracer::LeaveRegion(uint8_t colour) {
    if (!labelled_) {
        surf_.FloodFillSurface(at_.x, at_.y, Navy, colour);
        return;
    }
    if (region_ >= 0 && (shown_ || (colour != Black && showRegions))) {
        if (probing_) LabelAll();
        labels_.Paint(surf_, region_, colour);
        // A red region is no longer background.
        if (colour != Black) labelsDue_ = true;
    }
    shown_ = false;
}

TraceResult OutlineTracer::TraceOutline(int px, int py, std::vector<Rec>& stream, int area) {
    TraceResult res;
    left_ = false;
    Truncate(stream, stream.size());
    const QRect region = EnterRegion(px, py);
    // A lost way is reported with the region on screen, as the fill shows it.
    struct KeepHook {
        std::function<void(Pt)>& hook;
        std::function<void(Pt)> saved;
        ~KeepHook() { hook = std::move(saved); }
    } keep{onLost, onLost};
    if (labelled_ && keep.saved)
        onLost = [this, &keep](Pt node) {
            ShowRegion();
            keep.saved(node);
        };
    res.start = FindStartSegment(region);
    const StartSegment st = res.start;
    if (st.s == 0) {
        LeaveRegion(Red);
        res.outcome = Outcome::NoStart;
        return res;
    }
    const size_t begin = stream.size();
    const Pt pos{px, py};
    Outcome first = Outcome::NoDirection;
    std::vector<Rec> firstWalk;
    if (st.d != 0) {
        first = Walk(st, stream, res);
        // The usual case: the first walk is the outline.
        if (first == Outcome::Closed && IsOwnOutline(&stream[begin], size_t(res.points), pos) &&
            !OtherPositionInRegion(region, area) &&
            StaysInRegion(stream, begin, size_t(res.points))) {
            LeaveRegion(Black);
            return res;
        }
        // A lost way has been reported at its node, and a walk that never
        // comes back has run the whole step budget: both end here.
        if (first == Outcome::Lost || first == Outcome::StepLimit) {
            res.outcome = first;
            StayShown();
            return res;
        }
        firstWalk.assign(stream.begin() + std::ptrdiff_t(begin), stream.end());
        Truncate(stream, begin);
    }
    // With another area in the region no walk can be this area's own.
    if (!OtherPositionInRegion(region, area) &&
        TryOtherStarts(st, region, pos, firstWalk, stream, begin, res)) {
        res.outcome = Outcome::Closed;
        LeaveRegion(Black);
        return res;
    }
    res.points = 0;
    Diagnose(region, pos, area, firstWalk, first, res);
    if (res.outcome == Outcome::NoDirection) {
        MarkRed(ToPt(net_.P(st.s)));
        StayShown();
    } else
        LeaveRegion(Red);
    return res;
}

bool OutlineTracer::TryOtherStarts(const StartSegment& first, const QRect& region, Pt pos,
                                   const std::vector<Rec>& firstWalk, std::vector<Rec>& stream,
                                   size_t begin, TraceResult& res) {
    // The same segment the other way first: where the side test picked the
    // wrong side of a narrow region, that is the outline. Then every segment
    // the region touches, in point-list order, each way.
    std::vector<StartSegment> order;
    if (first.d != 0) order.push_back({first.n, first.s, -first.d});
    std::vector<int32_t> border;
    BorderingSegments(region, border);
    order.reserve(order.size() + 2 * border.size());
    for (int32_t i : border) {
        order.push_back({i, i + 1, +1});
        order.push_back({i + 1, i, -1});
    }
    // A walk follows the same way from a directed segment whatever it
    // started from, so a segment some failed walk went along is not tried.
    std::unordered_set<uint64_t> walked;
    auto remember = [&](const Rec* w, size_t n) {
        for (size_t k = 1; k < n; ++k)
            if (w[k - 1].x > 0 && w[k].x > 0) walked.insert(DirectedKey(w[k - 1], w[k]));
    };
    remember(firstWalk.data(), firstWalk.size());
    // All the walks of one position together stay within a few passes over
    // the network.
    int64_t budget = 4 * int64_t(net_.Last()) + 10000;
    for (const StartSegment& t : order) {
        if (budget <= 0) break;
        if (!walked.insert(DirectedKey(net_.P(t.s), net_.P(t.n))).second) continue;
        const size_t marked = marks.size();
        std::vector<Pt> lostAt;
        auto report = std::exchange(onLost, [&](Pt node) { lostAt.push_back(node); });
        TraceResult again;
        const Outcome o = Walk(t, stream, again);
        onLost = std::move(report);
        if (o == Outcome::Closed && IsOwnOutline(&stream[begin], size_t(again.points), pos) &&
            StaysInRegion(stream, begin, size_t(again.points))) {
            res.points = again.points;
            if (onLost)
                for (Pt node : lostAt) onLost(node);
            return true;
        }
        // Its lost-way marks are taken back; the walk is not reported.
        for (size_t i = marks.size(); i > marked; --i)
            surf_.SetPixel(marks[i - 1].x, marks[i - 1].y, marks[i - 1].was);
        marks.resize(marked);
        budget -= int64_t(stream.size() - begin);
        remember(&stream[begin], stream.size() - begin);
        Truncate(stream, begin);
    }
    return false;
}

void OutlineTracer::Diagnose(const QRect& region, Pt pos, int area,
                             const std::vector<Rec>& firstWalk, Outcome first, TraceResult& res) {
    // Another area's position in the region: a dividing line has a gap.
    if (const PositionRef* q = OtherPositionInRegion(region, area)) {
        res.outcome = Outcome::NotClosed;
        res.reason = Reason::SharedRegion;
        res.place = q->at;
        res.otherArea = q->area;
        res.otherSlot = q->slot;
        return;
    }
    // The region reaches the edge of the drawing: it leaks out.
    const QRect whole(0, 0, surf_.Width(), surf_.Height());
    const QRect d = drawing.isEmpty() ? whole : drawing.intersected(whole);
    if (!d.adjusted(1, 1, -1, -1).contains(region)) {
        res.outcome = Outcome::NotClosed;
        res.reason = Reason::Leaks;
        res.place = pos;
        auto edge = [&](int x, int y) {
            return (x <= d.left() || x >= d.right() || y <= d.top() || y >= d.bottom()) &&
                   InRegion(x, y);
        };
        for (int y = region.top(); y <= region.bottom(); ++y) {
            const bool edgeRow = y <= d.top() || y >= d.bottom();
            const int leftEnd = edgeRow ? region.right() : std::min(region.right(), d.left());
            for (int x = region.left(); x <= leftEnd; ++x)
                if (edge(x, y)) return void(res.place = {x, y});
            if (!edgeRow)
                for (int x = std::max(region.left(), d.right()); x <= region.right(); ++x)
                    if (edge(x, y)) return void(res.place = {x, y});
        }
        return;
    }
    // A walk went through a crossing and on with another region on its right.
    if (left_) {
        res.outcome = Outcome::Astray;
        res.reason = Reason::Crossing;
        res.place = leftAt_;
        return;
    }
    // Two lines crossing without a shared point beside the region: the
    // nearest to the position.
    std::vector<Segment> segs;
    const QRect near = region.adjusted(-3, -3, 3, 3);
    for (int32_t i = 0; i < net_.Last(); ++i) {
        const Rec a = net_.P(i), b = net_.P(i + 1);
        if (a.x <= 0 || b.x <= 0) continue;
        if (QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)).normalized().intersects(near))
            segs.push_back({ToPt(a), ToPt(b)});
    }
    const Crossing* nearest = nullptr;
    int64_t best = 0;
    const std::vector<Crossing> crossings = FindCrossings(segs);
    for (const Crossing& c : crossings) {
        bool touches = false;
        for (int dy = -2; dy <= 2 && !touches; ++dy)
            for (int dx = -2; dx <= 2 && !touches; ++dx)
                touches = InRegion(c.at.x + dx, c.at.y + dy);
        const int64_t ddx = c.at.x - pos.x, ddy = c.at.y - pos.y, dist = ddx * ddx + ddy * ddy;
        if (touches && (!nearest || dist < best)) nearest = &c, best = dist;
    }
    if (nearest) {
        res.outcome = Outcome::Astray;
        res.reason = Reason::Crossing;
        res.place = nearest->at;
        return;
    }
    if (first == Outcome::NotClosed) {
        res.outcome = Outcome::NotClosed;
        res.reason = Reason::DeadEnd;
        for (size_t k = firstWalk.size(); k > 0; --k)
            if (firstWalk[k - 1].x > 0) {
                res.place = ToPt(firstWalk[k - 1]);
                break;
            }
        return;
    }
    if (first == Outcome::NoDirection) {
        res.outcome = Outcome::NoDirection;
        res.place = ToPt(net_.P(res.start.s));
        return;
    }
    res.outcome = Outcome::Astray;
    res.reason = Reason::Untraceable;
    res.place = ToPt(net_.P(res.start.s));
    res.place2 = ToPt(net_.P(res.start.n));
}

}  // namespace compose
