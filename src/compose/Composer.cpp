#include "compose/Composer.h"

#include <algorithm>
#include <utility>

#include "compose/KindMerge.h"
#include "compose/NetworkIndex.h"
#include "compose/Rebuild.h"
#include "render/Render.h"

namespace compose {

int TracedSlots(const Store& st, int a) {
    int k = 0;
    while (k < 10 && st.AreaPos(k, a).x > 0) ++k;
    return k;
}

namespace {

// What a tracer needs to tell why an outline fails: every traced position,
// and the drawing the network was painted on.
void Prepare(OutlineTracer& tracer, const Store& st) {
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0, n = TracedSlots(st, a); k < n; ++k)
            tracer.positions.push_back({a, k, ToPt(st.AreaPos(k, a))});
    std::stable_sort(tracer.positions.begin(), tracer.positions.end(),
                     [](const PositionRef& p, const PositionRef& q) { return p.at.x < q.at.x; });
    if (st.MapWidth > 0 && st.MapHeight > 0)
        tracer.drawing = QRect(0, 0, st.MapWidth, st.MapHeight);
}

}  // namespace

namespace {

struct Attempt {
    std::optional<Failure> failure;
    bool needsSurface = false;  // unpainted: stopped where the surface must show something
};

Attempt Compose(Store& st, Surface& surf, const ComposeHooks& hooks, int64_t maxRecords,
                bool unpainted) {
    const NetworkIndex net(st.PointsToVector());
    OutlineTracer tracer(net, surf);
    if (unpainted) tracer.WithoutSurface();
    Prepare(tracer, st);
    if (hooks.lostWay && !unpainted) tracer.onLost = hooks.lostWay;
    std::vector<Rec> stream{Rec{}};
    const int every = st.AreaCount / 9 + 1;
    for (int a = 1; a <= st.AreaCount; ++a) {
        if (a % every == 0 && hooks.areaTick) hooks.areaTick();
        for (int k = 0, n = TracedSlots(st, a); k < n; ++k) {
            // Read through the const side: the writable one would copy the
            // position table the document's map still shares.
            const Rec p = std::as_const(st).AreaPos(k, a);
            TraceResult r = tracer.TraceOutline(p.x, p.y, stream, a);
            if (unpainted && (r.outcome != Outcome::Closed || tracer.NeedsSurface()))
                return {std::nullopt, true};
            if (r.outcome != Outcome::Closed) return {Failure{a, k, ToPt(p), r}};
            if (int64_t(stream.size()) > maxRecords) {
                if (unpainted) return {std::nullopt, true};
                r.outcome = Outcome::TooLarge;
                return {Failure{a, k, ToPt(p), r}};
            }
        }
    }
    if (hooks.traced) hooks.traced();
    std::vector<Rec> network =
        CutTracedSegments(net, stream, tracer.WalkedSegments(), hooks.cutTick);
    network = TidyRecords(network);
    std::vector<Rec> rebuilt = RebuildPointList(stream, network);
    if (int64_t(rebuilt.size()) > maxRecords) {
        if (unpainted) return {std::nullopt, true};
        TraceResult r;
        r.outcome = Outcome::TooLarge;
        return {Failure{st.AreaCount, 0, Pt{}, r}};
    }
    st.AssignPoints(rebuilt);
    if (hooks.rebuilt) hooks.rebuilt();
    st.AssignKinds(MergeKindGroups(st.KindsToVector()));
    return {};
}

}  // namespace

std::optional<Failure> ComposeMap(Store& st, Surface& surf, const ComposeHooks& hooks,
                                  int64_t maxRecords) {
    if (hooks.paint) {
        // Nothing on the surface but black: what the network alone tells is
        // what the painted surface would show. Every failure is shown on it.
        if (surf.Blank() && !Compose(st, surf, hooks, maxRecords, true).needsSurface)
            return std::nullopt;
        hooks.paint();
    }
    return Compose(st, surf, hooks, maxRecords, false).failure;
}

void PaintNetwork(const Store& st, Surface& surf) {
    render::CompositionView(st, surf, true);
}

namespace {

// One run of the check; unpainted: from the network alone, and false as soon
// as a position needs the painted surface.
bool Check(const Store& st, Surface& surf, const std::function<void()>& areaTick, bool unpainted,
           std::vector<CheckEntry>& out) {
    out.clear();
    const NetworkIndex net(st.PointsToVector());
    OutlineTracer tracer(net, surf);
    tracer.showRegions = false;
    if (unpainted) tracer.WithoutSurface();
    Prepare(tracer, st);
    std::vector<Rec> stream;
    const int every = st.AreaCount / 9 + 1;
    for (int a = 1; a <= st.AreaCount; ++a) {
        if (a % every == 0 && areaTick) areaTick();
        for (int k = 0, n = TracedSlots(st, a); k < n; ++k) {
            const Rec p = std::as_const(st).AreaPos(k, a);
            stream.clear();
            tracer.marks.clear();
            TraceResult r = tracer.TraceOutline(p.x, p.y, stream, a);
            if (unpainted) {
                if (tracer.NeedsSurface()) return false;
                out.push_back({a, k, ToPt(p), r});
                continue;
            }
            // Put the surface back: the region's fill, then the red marks.
            if (r.outcome == Outcome::NoStart || r.outcome == Outcome::NotClosed ||
                r.outcome == Outcome::Astray)
                surf.FloodFillSurface(p.x, p.y, Red, Black);
            else if (r.outcome != Outcome::Closed)
                surf.FloodFillSurface(p.x, p.y, Navy, Black);
            for (auto it = tracer.marks.rbegin(); it != tracer.marks.rend(); ++it)
                surf.SetPixel(it->x, it->y, it->was);
            out.push_back({a, k, ToPt(p), r});
        }
    }
    return true;
}

}  // namespace

std::vector<CheckEntry> CheckPositions(const Store& st, Surface& surf,
                                       const std::function<void()>& areaTick,
                                       const std::function<void()>& paint) {
    std::vector<CheckEntry> out;
    // As in ComposeMap: a blank surface is painted only when a position
    // needs it (a lost way or an undecided direction is judged by its marks).
    if (paint && surf.Blank()) {
        if (Check(st, surf, areaTick, true, out)) return out;
        paint();
    }
    Check(st, surf, areaTick, false, out);
    return out;
}

}  // namespace compose
