#include "gis/BoundaryNoder.h"

#include <geos_c.h>

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "base/Messages.h"

namespace gis {
namespace {

uint32_t Key(Rec r) {
    return (uint32_t(uint16_t(r.x)) << 16) | uint16_t(r.y);
}

// Segments of rings held elsewhere, by their two ends either way round,
// exactly as given; a slot is the address of the segment's first end.
class SegmentSet {
  public:
    void Reserve(size_t n) {
        size_t size = 16;
        while (size < n + n / 2) size *= 2;
        slots_.assign(size, nullptr);
    }
    // False when the segment p[0]-p[1] (or its reverse) is already in the set.
    bool Insert(const QPointF* p) {
        const size_t mask = slots_.size() - 1;
        for (size_t i = Hash(p[0]) ^ Hash(p[1]);; ++i) {
            const QPointF*& t = slots_[i & mask];
            if (!t) {
                t = p;
                return true;
            }
            if ((Same(t[0], p[0]) && Same(t[1], p[1])) || (Same(t[0], p[1]) && Same(t[1], p[0])))
                return false;
        }
    }

  private:
    // QPointF's == forgives small differences; only exact copies count here.
    static bool Same(const QPointF& a, const QPointF& b) { return a.x() == b.x() && a.y() == b.y(); }
    static size_t Hash(const QPointF& q) {
        const double qx = q.x() + 0.0, qy = q.y() + 0.0;  // -0 hashes as 0
        uint64_t x, y;
        std::memcpy(&x, &qx, sizeof x);
        std::memcpy(&y, &qy, sizeof y);
        uint64_t h = (x * 0x9E3779B97F4A7C15ull) ^ (y + 0x632BE59BD9B4E019ull);
        h *= 0xC2B2AE3D27D4EB4Full;
        return h ^ (h >> 31);
    }
    std::vector<const QPointF*> slots_;
};

// GEOS's rounding onto the grid: halves go up, for negative numbers too.
double JavaRound(double v) {
    double whole = 0;
    const double f = std::fabs(std::modf(v, &whole));
    if (v >= 0) return f < 0.5 ? std::floor(v) : f > 0.5 ? std::ceil(v) : whole + 1.0;
    return f < 0.5 ? std::ceil(v) : f > 0.5 ? std::floor(v) : whole;
}

void OnGeosMessage(const char* message, void* userdata) {
    *static_cast<QString*>(userdata) = QString::fromUtf8(message);
}

}  // namespace

struct BoundaryNoder::Impl {
    GEOSContextHandle_t ctx = GEOS_init_r();
    QString lastError;
    GEOSGeometry* network = nullptr;
    const GEOSPreparedGeometry* prepared = nullptr;

    Impl() {
        GEOSContext_setErrorMessageHandler_r(ctx, OnGeosMessage, &lastError);
        GEOSContext_setNoticeMessageHandler_r(
            ctx, [](const char*, void*) {}, nullptr);
    }
    ~Impl() {
        if (prepared) GEOSPreparedGeom_destroy_r(ctx, prepared);
        if (network) GEOSGeom_destroy_r(ctx, network);
        GEOS_finish_r(ctx);
    }
    GEOSCoordSequence* Sequence(const Ring& ring) {
        std::vector<double> x(ring.size()), y(ring.size());
        for (size_t i = 0; i < ring.size(); ++i) x[i] = ring[i].x(), y[i] = ring[i].y();
        return GEOSCoordSeq_copyFromArrays_r(ctx, x.data(), y.data(), nullptr, nullptr,
                                             (unsigned)ring.size());
    }
    // A polygon of the part, or null when its rings are not rings.
    GEOSGeometry* Polygon(const Part& part) {
        if (part.shell.size() < 4) return nullptr;
        GEOSGeometry* shell = GEOSGeom_createLinearRing_r(ctx, Sequence(part.shell));
        if (!shell) return nullptr;
        std::vector<GEOSGeometry*> holes;
        for (const Ring& h : part.holes)
            if (h.size() >= 4)
                if (GEOSGeometry* g = GEOSGeom_createLinearRing_r(ctx, Sequence(h)))
                    holes.push_back(g);
        return GEOSGeom_createPolygon_r(ctx, shell, holes.data(), (unsigned)holes.size());
    }
    GEOSGeometry* PointAt(double x, double y) { return GEOSGeom_createPointFromXY_r(ctx, x, y); }
};

BoundaryNoder::BoundaryNoder() : d_(std::make_unique<Impl>()) {}
BoundaryNoder::~BoundaryNoder() = default;

bool BoundaryNoder::Node(const std::vector<const Part*>& parts, QString& error) {
    GEOSContextHandle_t ctx = d_->ctx;
    std::vector<GEOSGeometry*> lines;
    // A border two areas share arrives twice, once in each ring. The union
    // would merge the copies after snapping every vertex of both; a segment
    // an earlier ring already holds is left out here instead, which halves
    // the work and keeps the same noded lines in the same order (the union
    // keeps a segment's first copy).
    SegmentSet seen;
    size_t segments = 0;
    for (const Part* p : parts) {
        segments += p->shell.size();
        for (const Ring& h : p->holes) segments += h.size();
    }
    seen.Reserve(segments);
    std::vector<double> x, y;
    // Within one pixel a line's vertices snap to that pixel's centre, and
    // the straight way from the first to the last of them stays inside it:
    // the vertices between change nothing and are left out.
    auto pixel = [](double x, double y) {
        return std::pair{JavaRound(x), JavaRound(y)};
    };
    auto flush = [&] {
        if (x.size() > 2) {
            size_t kept = 1;
            auto before = pixel(x[0], y[0]), here = pixel(x[1], y[1]);
            for (size_t i = 1; i + 1 < x.size(); ++i) {
                const auto after = pixel(x[i + 1], y[i + 1]);
                if (!(before == here && here == after)) x[kept] = x[i], y[kept] = y[i], ++kept;
                before = here, here = after;
            }
            x[kept] = x.back(), y[kept] = y.back();
            x.resize(kept + 1), y.resize(kept + 1);
        }
        if (x.size() >= 2)
            if (GEOSCoordSequence* seq = GEOSCoordSeq_copyFromArrays_r(
                    ctx, x.data(), y.data(), nullptr, nullptr, (unsigned)x.size()))
                if (GEOSGeometry* g = GEOSGeom_createLineString_r(ctx, seq)) lines.push_back(g);
        x.clear(), y.clear();
    };
    auto add = [&](const Ring& r) {
        if (r.size() < 2) return;
        for (size_t i = 1; i < r.size(); ++i) {
            if (!seen.Insert(&r[i - 1])) {
                flush();
                continue;
            }
            if (x.empty()) x.push_back(r[i - 1].x()), y.push_back(r[i - 1].y());
            x.push_back(r[i].x()), y.push_back(r[i].y());
        }
        flush();
    };
    for (const Part* p : parts) {
        add(p->shell);
        for (const Ring& h : p->holes) add(h);
    }
    seen = SegmentSet{};
    GEOSGeometry* all = GEOSGeom_createCollection_r(ctx, GEOS_MULTILINESTRING, lines.data(),
                                                    (unsigned)lines.size());
    // The union with a fixed precision model snap-rounds: every vertex and
    // every intersection lands on a grid point, segments passing through a
    // grid point's pixel are split there, and doubled linework is merged.
    GEOSGeometry* noded = all ? GEOSUnaryUnionPrec_r(ctx, all, 1.0) : nullptr;
    if (all) GEOSGeom_destroy_r(ctx, all);
    if (!noded) {
        error = msg::Text(Msg::NodingFailed).arg(d_->lastError);
        return false;
    }
    if (d_->prepared) GEOSPreparedGeom_destroy_r(ctx, d_->prepared);
    if (d_->network) GEOSGeom_destroy_r(ctx, d_->network);
    d_->network = noded;
    d_->prepared = GEOSPrepare_r(ctx, noded);

    // The noded edges, in pixels.
    std::vector<std::vector<Rec>> edges;
    const int n = GEOSGetNumGeometries_r(ctx, noded);
    for (int i = 0; i < n; ++i) {
        const GEOSGeometry* g = GEOSGetGeometryN_r(ctx, noded, i);
        if (GEOSGeomTypeId_r(ctx, g) != GEOS_LINESTRING) continue;
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, g);
        unsigned size = 0;
        GEOSCoordSeq_getSize_r(ctx, seq, &size);
        std::vector<Rec> e;
        for (unsigned k = 0; k < size; ++k) {
            double x = 0, y = 0;
            GEOSCoordSeq_getXY_r(ctx, seq, k, &x, &y);
            const Rec r{int16_t(std::lround(x)), int16_t(std::lround(y))};
            if (e.empty() || !(e.back() == r)) e.push_back(r);
        }
        if (e.size() >= 2) edges.push_back(std::move(e));
    }

    // Snap-rounding folds parts thinner than a pixel into spikes, and the
    // union keeps one copy of each: edges with a loose end, which bound no
    // region and would lead the outline walk astray. Prune them away.
    {
        std::unordered_map<uint32_t, int> degree;
        for (const auto& e : edges) ++degree[Key(e.front())], ++degree[Key(e.back())];
        std::unordered_map<uint32_t, std::vector<size_t>> at;
        for (size_t i = 0; i < edges.size(); ++i) {
            at[Key(edges[i].front())].push_back(i);
            at[Key(edges[i].back())].push_back(i);
        }
        std::vector<char> gone(edges.size(), 0);
        std::vector<uint32_t> loose;
        for (const auto& [k, n] : degree)
            if (n == 1) loose.push_back(k);
        while (!loose.empty()) {
            const uint32_t k = loose.back();
            loose.pop_back();
            for (size_t i : at[k]) {
                if (gone[i]) continue;
                gone[i] = 1;
                const uint32_t a = Key(edges[i].front()), b = Key(edges[i].back());
                for (uint32_t end : {a, b})
                    if (--degree[end] == 1) loose.push_back(end);
            }
        }
        std::vector<std::vector<Rec>> kept;
        for (size_t i = 0; i < edges.size(); ++i)
            if (!gone[i]) kept.push_back(std::move(edges[i]));
        edges = std::move(kept);
    }

    // Chain the edges through every pixel where exactly two of them meet.
    struct End {
        size_t edge;
        bool atStart;
    };
    std::unordered_map<uint32_t, std::vector<End>> ends;
    for (size_t i = 0; i < edges.size(); ++i) {
        ends[Key(edges[i].front())].push_back({i, true});
        ends[Key(edges[i].back())].push_back({i, false});
    }
    std::vector<char> used(edges.size(), 0);
    chains_.clear();
    auto walk = [&](size_t first, bool forward) {
        std::vector<Rec> chain;
        size_t e = first;
        bool fwd = forward;
        for (;;) {
            used[e] = 1;
            const std::vector<Rec>& pts = edges[e];
            const size_t start = chain.empty() ? 0 : 1;
            for (size_t k = start; k < pts.size(); ++k)
                chain.push_back(fwd ? pts[k] : pts[pts.size() - 1 - k]);
            const std::vector<End>& here = ends[Key(chain.back())];
            if (here.size() != 2) break;
            const End& other = (here[0].edge == e && here[0].atStart != fwd) ? here[1] : here[0];
            if (used[other.edge]) break;
            e = other.edge;
            fwd = other.atStart;
        }
        chains_.push_back(std::move(chain));
    };
    // Chains between junctions or loose ends first, then the closed loops.
    for (size_t i = 0; i < edges.size(); ++i) {
        if (used[i]) continue;
        if (ends[Key(edges[i].front())].size() != 2)
            walk(i, true);
        else if (ends[Key(edges[i].back())].size() != 2)
            walk(i, false);
    }
    for (size_t i = 0; i < edges.size(); ++i)
        if (!used[i]) walk(i, true);
    return true;
}

std::vector<BoundaryNoder::FeaturePair> BoundaryNoder::OverlappingFeatures(
    const std::vector<std::vector<const Part*>>& features, const std::vector<QString>& names) {
    GEOSContextHandle_t ctx = d_->ctx;
    struct Box {
        double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
        bool Contains(const Box& b) const {
            return x0 <= b.x0 && y0 <= b.y0 && b.x1 <= x1 && b.y1 <= y1;
        }
        bool operator==(const Box&) const = default;
    };
    const size_t n = features.size();
    std::vector<Box> boxes(n);
    for (size_t i = 0; i < n; ++i)
        for (const Part* p : features[i])
            for (const QPointF& q : p->shell) {
                Box& b = boxes[i];
                b.x0 = std::min(b.x0, q.x()), b.x1 = std::max(b.x1, q.x());
                b.y0 = std::min(b.y0, q.y()), b.y1 = std::max(b.y1, q.y());
            }
    // Built only for the features a box test leaves in question.
    std::vector<GEOSGeometry*> shapes(n, nullptr);
    std::vector<const GEOSPreparedGeometry*> prepared(n, nullptr);
    std::vector<char> built(n, 0);
    auto shape = [&](size_t i) -> GEOSGeometry* {
        if (built[i]) return shapes[i];
        built[i] = 1;
        std::vector<GEOSGeometry*> polys;
        for (const Part* p : features[i])
            if (GEOSGeometry* g = d_->Polygon(*p)) polys.push_back(g);
        if (polys.empty()) return nullptr;
        shapes[i] = GEOSGeom_createCollection_r(ctx, GEOS_MULTIPOLYGON, polys.data(),
                                                (unsigned)polys.size());
        if (shapes[i]) prepared[i] = GEOSPrepare_r(ctx, shapes[i]);
        return shapes[i];
    };
    // GEOS answers 2 when it cannot tell (a broken ring): taken as no.
    auto covers = [&](size_t outer, size_t inner) {
        return shape(outer) && shape(inner) && prepared[outer] &&
               GEOSPreparedCovers_r(ctx, prepared[outer], shapes[inner]) == 1;
    };
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return boxes[a].x0 < boxes[b].x0; });
    std::vector<FeaturePair> found;
    for (size_t k = 0; k < n; ++k)
        for (size_t m = k + 1; m < n && boxes[order[m]].x0 <= boxes[order[k]].x1; ++m) {
            const size_t a = std::min(order[k], order[m]), b = std::max(order[k], order[m]);
            const Box &ba = boxes[a], &bb = boxes[b];
            if (bb.y0 > ba.y1 || ba.y0 > bb.y1 || bb.x0 > ba.x1 || ba.x0 > bb.x1) continue;
            if (ba == bb && shape(a) && shape(b) && GEOSEquals_r(ctx, shapes[a], shapes[b]) == 1) {
                found.push_back({Relation::SameShape, a, b});
                continue;
            }
            if (!names[a].isEmpty() && names[a] == names[b] && shape(a) && shape(b) &&
                GEOSRelatePattern_r(ctx, shapes[a], shapes[b], "T********") == 1) {
                found.push_back({Relation::SameNameOverlapping, a, b});
                continue;
            }
            if (ba.Contains(bb) && covers(a, b))
                found.push_back({Relation::Inside, b, a});
            else if (bb.Contains(ba) && covers(b, a))
                found.push_back({Relation::Inside, a, b});
        }
    for (size_t i = 0; i < n; ++i) {
        if (prepared[i]) GEOSPreparedGeom_destroy_r(ctx, prepared[i]);
        if (shapes[i]) GEOSGeom_destroy_r(ctx, shapes[i]);
    }
    std::sort(found.begin(), found.end(), [](const FeaturePair& x, const FeaturePair& y) {
        return std::min(x.first, x.second) != std::min(y.first, y.second)
                   ? std::min(x.first, x.second) < std::min(y.first, y.second)
                   : std::max(x.first, x.second) < std::max(y.first, y.second);
    });
    return found;
}

double BoundaryNoder::Area(const Part& part) {
    GEOSGeometry* poly = d_->Polygon(part);
    if (!poly) return 0;
    double area = 0;
    GEOSArea_r(d_->ctx, poly, &area);
    GEOSGeom_destroy_r(d_->ctx, poly);
    return area;
}

std::optional<Rec> BoundaryNoder::InteriorPosition(const Part& part, double minDistance) {
    GEOSContextHandle_t ctx = d_->ctx;
    if (!d_->prepared) return std::nullopt;
    GEOSGeometry* poly = d_->Polygon(part);
    if (!poly) return std::nullopt;
    // The centre of the largest inscribed circle is as far from the boundary
    // as the part allows; a broken polygon falls back to a point on its surface.
    double cx = 0, cy = 0;
    bool found = false;
    // The inscribed-circle search lays a grid of cells as wide as the part's
    // narrow side over its box: a sliver thousands of times longer than wide
    // (a stray coordinate far off) would take billions of cells. Such a part
    // has no room for a circle anyway; it takes a point on its surface.
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    const bool boxed = GEOSGeom_getXMin_r(ctx, poly, &x0) && GEOSGeom_getXMax_r(ctx, poly, &x1) &&
                       GEOSGeom_getYMin_r(ctx, poly, &y0) && GEOSGeom_getYMax_r(ctx, poly, &y1);
    const double narrow = std::min(x1 - x0, y1 - y0), wide = std::max(x1 - x0, y1 - y0);
    const bool roomy = boxed && narrow > 0 && wide / narrow < 4096;
    if (GEOSGeometry* mic = roomy ? GEOSMaximumInscribedCircle_r(ctx, poly, 0.5) : nullptr) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, mic);
        found = seq && GEOSCoordSeq_getXY_r(ctx, seq, 0, &cx, &cy);
        GEOSGeom_destroy_r(ctx, mic);
    }
    if (!found) {
        if (GEOSGeometry* p = GEOSPointOnSurface_r(ctx, poly)) {
            found = GEOSGeomGetX_r(ctx, p, &cx) && GEOSGeomGetY_r(ctx, p, &cy);
            GEOSGeom_destroy_r(ctx, p);
        }
    }
    std::optional<Rec> best;
    if (found) {
        const GEOSPreparedGeometry* inside = GEOSPrepare_r(ctx, poly);
        // The pixels round the centre, nearest first.
        const long bx = std::lround(cx), by = std::lround(cy);
        std::vector<std::pair<double, Rec>> candidates;
        for (long dy = -1; dy <= 1; ++dy)
            for (long dx = -1; dx <= 1; ++dx) {
                const long x = bx + dx, y = by + dy;
                if (x < 1 || y < 1 || x > 32767 || y > 32767) continue;
                candidates.push_back({std::hypot(x - cx, y - cy), Rec{int16_t(x), int16_t(y)}});
            }
        std::sort(candidates.begin(), candidates.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [_, r] : candidates) {
            GEOSGeometry* pt = d_->PointAt(r.x, r.y);
            double dist = 0;
            const bool ok = GEOSPreparedContains_r(ctx, inside, pt) == 1 &&
                            GEOSPreparedDistance_r(ctx, d_->prepared, pt, &dist) == 1 &&
                            dist >= minDistance;
            GEOSGeom_destroy_r(ctx, pt);
            if (ok) {
                best = r;
                break;
            }
        }
        GEOSPreparedGeom_destroy_r(ctx, inside);
    }
    GEOSGeom_destroy_r(ctx, poly);
    return best;
}

}  // namespace gis
