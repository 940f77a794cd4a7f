#include "compose/Repair.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "ops/Network.h"

namespace compose {

const char* RepairKey(RepairKind k) {
    switch (k) {
        case RepairKind::Duplicate:
            return "duplicate";
        case RepairKind::Overshoot:
            return "overshoot";
        case RepairKind::Gap:
            return "gap";
        case RepairKind::Crossing:
            return "crossing";
        case RepairKind::CrossingKept:
            return "crossing-kept";
        case RepairKind::Dangle:
            return "dangle";
    }
    return "";
}

bool Repaired::Changed() const {
    for (const Repair& r : repairs)
        if (r.kind != RepairKind::CrossingKept) return true;
    return false;
}

namespace {

bool Real(Rec r) {
    return r.x > 0;
}
uint32_t KeyOf(Pt p) {
    return (uint32_t(uint16_t(p.x)) << 16) | uint16_t(p.y);
}
uint64_t SegKey(Pt a, Pt b) {
    const uint64_t p = KeyOf(a), q = KeyOf(b);
    return p < q ? p << 32 | q : q << 32 | p;
}
Rec ToRec(Pt p) {
    return Rec{int16_t(p.x), int16_t(p.y)};
}
double Dist(Pt a, double x, double y) {
    return std::hypot(a.x - x, a.y - y);
}
int64_t Orient(Pt a, Pt b, Pt c) {
    return int64_t(b.x - a.x) * (c.y - a.y) - int64_t(b.y - a.y) * (c.x - a.x);
}
// Whether s and t pass through each other's inside.
bool Cross(const Segment& s, const Segment& t) {
    const int64_t o1 = Orient(s.a, s.b, t.a), o2 = Orient(s.a, s.b, t.b);
    const int64_t o3 = Orient(t.a, t.b, s.a), o4 = Orient(t.a, t.b, s.b);
    return ((o1 < 0 && o2 > 0) || (o1 > 0 && o2 < 0)) && ((o3 < 0 && o4 > 0) || (o3 > 0 && o4 < 0));
}
QRect Box(Pt a, Pt b) {
    return QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                 QPoint(std::max(a.x, b.x), std::max(a.y, b.y)));
}

// The segments (i, i + 1) of a flat list, and its points, by grid cell.
class Grid {
  public:
    explicit Grid(const std::vector<Rec>& v) : v_(v), stamp_(v.size(), 0) {
        for (int32_t i = 0; i < int32_t(v.size()); ++i) {
            if (!Real(v[size_t(i)])) continue;
            points_[Cell(v[size_t(i)].x, v[size_t(i)].y)].push_back(i);
            if (i + 1 < int32_t(v.size()) && Real(v[size_t(i) + 1]))
                ForCells(Box(P(i), P(i + 1)), [&](uint64_t c) { segs_[c].push_back(i); });
        }
    }
    Pt P(int32_t i) const { return ToPt(v_[size_t(i)]); }
    Segment S(int32_t i) const { return {P(i), P(i + 1)}; }
    // Each segment whose cells meet r, once.
    template <class F>
    void Segments(const QRect& r, F f) const {
        Visit(segs_, r, f);
    }
    template <class F>
    void Points(const QRect& r, F f) const {
        Visit(points_, r, f);
    }
    // Whether s passes through a segment other than those listed.
    bool CrossesAny(const Segment& s, std::initializer_list<int32_t> except) const {
        return CrossesAny(s, std::vector<int32_t>(except));
    }
    bool CrossesAny(const Segment& s, const std::vector<int32_t>& except) const {
        if (s.a == s.b) return false;
        bool hit = false;
        Segments(Box(s.a, s.b), [&](int32_t j) {
            if (!hit && std::find(except.begin(), except.end(), j) == except.end())
                hit = Cross(s, S(j));
        });
        return hit;
    }

    // Whether a new segment a-b would run along a segment that meets it at
    // a or b (the walk could not tell the two apart there).
    bool RunsAlong(Pt a, Pt b, std::initializer_list<int32_t> except) const {
        bool hit = false;
        Segments(Box(a, b), [&](int32_t j) {
            if (hit || std::find(except.begin(), except.end(), j) != except.end()) return;
            const Segment t = S(j);
            for (auto [end, far] : {std::pair{t.a, t.b}, std::pair{t.b, t.a}})
                for (auto [p, q] : {std::pair{a, b}, std::pair{b, a}})
                    if (end == p && Orient(p, q, far) == 0 &&
                        int64_t(q.x - p.x) * (far.x - p.x) + int64_t(q.y - p.y) * (far.y - p.y) > 0)
                        hit = true;
        });
        return hit;
    }

  private:
    static constexpr int kCell = 16;
    using Cells = std::unordered_map<uint64_t, std::vector<int32_t>>;
    static uint64_t Cell(int cx, int cy) {
        return uint64_t(uint32_t(cx / kCell)) << 32 | uint32_t(cy / kCell);
    }
    template <class F>
    static void ForCells(const QRect& r, F f) {
        for (int cy = std::max(r.top(), 0) / kCell; cy <= std::max(r.bottom(), 0) / kCell; ++cy)
            for (int cx = std::max(r.left(), 0) / kCell; cx <= std::max(r.right(), 0) / kCell;
                 ++cx)
                f(uint64_t(uint32_t(cx)) << 32 | uint32_t(cy));
    }
    template <class F>
    void Visit(const Cells& cells, const QRect& r, F f) const {
        ++round_;
        ForCells(r, [&](uint64_t c) {
            auto it = cells.find(c);
            if (it == cells.end()) return;
            for (int32_t i : it->second)
                if (stamp_[size_t(i)] != round_) {
                    stamp_[size_t(i)] = round_;
                    f(i);
                }
        });
    }
    const std::vector<Rec>& v_;
    Cells segs_, points_;
    mutable std::vector<uint32_t> stamp_;
    mutable uint32_t round_ = 0;
};

std::unordered_map<uint32_t, int> Holders(const std::vector<Rec>& v) {
    std::unordered_map<uint32_t, int> n;
    for (Rec r : v)
        if (Real(r)) ++n[KeyOf(ToPt(r))];
    return n;
}

// A chain end held by no other record: the neighbour it hangs from, or -1.
int32_t DeadEndNeighbour(const std::vector<Rec>& v, const std::unordered_map<uint32_t, int>& n,
                         int32_t e) {
    if (!Real(v[size_t(e)]) || n.at(KeyOf(ToPt(v[size_t(e)]))) != 1) return -1;
    const bool before = e > 0 && Real(v[size_t(e) - 1]);
    const bool after = e + 1 < int32_t(v.size()) && Real(v[size_t(e) + 1]);
    if (before == after) return -1;  // inside a chain, or a lone point
    return before ? e - 1 : e + 1;
}

// What one pass changes, applied at its end: records moved, and points put
// into segments (i, i + 1) in order along them.
struct Edits {
    std::unordered_map<int32_t, Pt> moves;
    struct Insert {
        int32_t seg;
        double t;
        Pt at;
    };
    std::vector<Insert> inserts;
    std::unordered_set<int32_t> busy;  // segments and records a repair of this pass uses
    bool Free(std::initializer_list<int32_t> ids) const {
        for (int32_t i : ids)
            if (busy.count(i)) return false;
        return true;
    }
    void Use(std::initializer_list<int32_t> ids) { busy.insert(ids.begin(), ids.end()); }
    bool Empty() const { return moves.empty() && inserts.empty(); }
};

class Repairer {
  public:
    Repairer(const std::vector<Rec>& points, const std::vector<Rec>& kinds,
             const RepairOptions& o)
        : v(points), k(kinds), opt(o) {
        for (size_t i = 1; i < k.size(); ++i)
            if (Real(k[i - 1]) && Real(k[i])) kindSegs.insert(SegKey(ToPt(k[i - 1]), ToPt(k[i])));
    }
    std::vector<Rec> v, k;
    std::vector<Repair> out;

    bool Allowed(Pt p) const {
        if (opt.within.empty()) return true;
        for (const QRect& r : opt.within)
            if (r.contains(p.x, p.y)) return true;
        return false;
    }
    bool OfKind(Pt a, Pt b) const { return kindSegs.count(SegKey(a, b)) != 0; }

    void Duplicates() {
        std::unordered_set<uint64_t> seen;
        std::vector<Repair> found;
        for (size_t i = 1; i < v.size(); ++i) {
            const Pt a = ToPt(v[i - 1]), b = ToPt(v[i]);
            if (Real(v[i - 1]) && Real(v[i]) && !(a == b) && !seen.insert(SegKey(a, b)).second)
                found.push_back({RepairKind::Duplicate, a, {a, b}});
        }
        if (found.empty()) return;
        net::RemoveRepeatedSegments(v);
        out.insert(out.end(), found.begin(), found.end());
    }

    void Overshoots() {
        const Grid g(v);
        const auto n = Holders(v);
        Edits ed;
        for (int32_t e = 0; e < int32_t(v.size()); ++e) {
            const int32_t p = DeadEndNeighbour(v, n, e);
            if (p < 0) continue;
            const Segment s{g.P(p), g.P(e)};
            const int32_t own = std::min(p, e);
            if (OfKind(s.a, s.b)) continue;
            // The crossing nearest the end.
            int32_t best = -1;
            double along = 0;
            g.Segments(Box(s.a, s.b), [&](int32_t j) {
                if (j == own || !Cross(s, g.S(j))) return;
                const double t = CrossingAlong(s, g.S(j));
                if (best < 0 || t > along) best = j, along = t;
            });
            if (best < 0) continue;
            // An end beside a node, or beside another loose end, missed it:
            // the gaps join it there.
            bool node = false;
            g.Points(QRect(s.b.x - opt.snap, s.b.y - opt.snap, 2 * opt.snap + 1, 2 * opt.snap + 1),
                     [&](int32_t i) {
                         node = node || (i != e && i != p &&
                                         (n.at(KeyOf(g.P(i))) > 1 || DeadEndNeighbour(v, n, i) >= 0) &&
                                         Dist(s.b, g.P(i).x, g.P(i).y) <= opt.snap);
                     });
            if (node) continue;
            const double len = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
            if ((1 - along) * len > opt.snap) continue;
            const Pt at{int(std::lround(s.a.x + along * (s.b.x - s.a.x))),
                        int(std::lround(s.a.y + along * (s.b.y - s.a.y)))};
            const Segment t = g.S(best);
            if (at == s.a || !Allowed(at) || !ed.Free({own, best, e})) continue;
            if (g.CrossesAny({s.a, at}, {own, best}) || g.CrossesAny({t.a, at}, {own, best}) ||
                g.CrossesAny({at, t.b}, {own, best}) || g.RunsAlong(s.a, at, {own, best}))
                continue;
            ed.Use({own, best, e});
            ed.moves[e] = at;
            if (!(at == t.a) && !(at == t.b)) ed.inserts.push_back({best, CrossingAlong(t, s), at});
            out.push_back({RepairKind::Overshoot, at, {s.b, at}});
        }
        Apply(ed);
    }

    void Gaps() {
        const Grid g(v);
        const auto n = Holders(v);
        Edits ed;
        std::unordered_set<uint32_t> targets;  // joined to in this pass: not moved
        const int snap = opt.snap;
        for (int32_t e = 0; e < int32_t(v.size()); ++e) {
            const int32_t p = DeadEndNeighbour(v, n, e);
            if (p < 0) continue;
            const Pt E = g.P(e);
            if (targets.count(KeyOf(E)) || !ed.Free({e})) continue;
            // The records of its own chain near the end are not what it should
            // meet: a traced line's last points lie close together.
            int32_t lo = e, hi = e;
            const int step = p - e;
            double walked = 0;
            for (int32_t i = e; i + step >= 0 && i + step < int32_t(v.size()) &&
                                Real(v[size_t(i + step)]) && walked <= 3.0 * snap;
                 i += step) {
                walked += std::hypot(g.P(i).x - g.P(i + step).x, g.P(i).y - g.P(i + step).y);
                lo = std::min(lo, i + step), hi = std::max(hi, i + step);
            }
            auto near = [&](int32_t i) { return i >= lo && i <= hi; };
            const QRect around(E.x - snap, E.y - snap, 2 * snap + 1, 2 * snap + 1);
            // What a hand missed is most often a node, where lines already
            // meet, or the loose end of the line it should have met; a point
            // in the middle of another line comes after those, and a new point
            // on the nearest segment last. The first that joins without a
            // new crossing is taken.
            struct Target {
                int rank;
                double d;
                int32_t vertex;
            };
            std::vector<Target> order;
            g.Points(around, [&](int32_t i) {
                const double d = Dist(E, g.P(i).x, g.P(i).y);
                if (near(i) || d > snap || ed.moves.count(i)) return;
                const bool inside = n.at(KeyOf(g.P(i))) == 1 && DeadEndNeighbour(v, n, i) < 0;
                order.push_back({inside ? 1 : 0, d, i});
            });
            int32_t seg = -1;
            double ds = 0, fx = 0, fy = 0;
            g.Segments(around, [&](int32_t j) {
                if (near(j) || near(j + 1)) return;
                const Segment t = g.S(j);
                const double dx = t.b.x - t.a.x, dy = t.b.y - t.a.y, l2 = dx * dx + dy * dy;
                if (l2 == 0) return;
                const double u =
                    std::clamp(((E.x - t.a.x) * dx + (E.y - t.a.y) * dy) / l2, 0.0, 1.0);
                const double x = t.a.x + u * dx, y = t.a.y + u * dy, d = Dist(E, x, y);
                if (d <= snap && (seg < 0 || d < ds)) seg = j, ds = d, fx = x, fy = y;
            });
            if (seg >= 0) order.push_back({2, ds, -1});
            std::stable_sort(order.begin(), order.end(), [](const Target& a, const Target& b) {
                return a.rank != b.rank ? a.rank < b.rank : a.d < b.d;
            });
            const int32_t own = std::min(p, e);
            Pt at;
            int32_t into = -1, vertex = -1;
            bool found = false;
            for (const Target& c : order) {
                into = -1;
                vertex = c.vertex;
                if (c.vertex >= 0) {
                    at = g.P(c.vertex);
                } else {
                    at = {int(std::lround(fx)), int(std::lround(fy))};
                    const Segment t = g.S(seg);
                    if (!(at == t.a) && !(at == t.b)) into = seg;
                }
                if (at == E || at == g.P(p) || !Allowed(at)) continue;
                if (into >= 0 && !ed.Free({into})) continue;
                if (g.CrossesAny({g.P(p), at}, {own, into}) || g.RunsAlong(g.P(p), at, {own}))
                    continue;
                if (into >= 0 && (g.CrossesAny({g.P(into), at}, {own, into}) ||
                                  g.CrossesAny({at, g.P(into + 1)}, {own, into})))
                    continue;
                found = true;
                break;
            }
            if (!found) continue;
            // Two loose ends: the one traced later moves onto the one traced
            // before it. Closing a ring or running up to a line, it is the
            // last click that misses; the first was put down freely.
            const int32_t q = into < 0 && vertex > e ? DeadEndNeighbour(v, n, vertex) : -1;
            if (q >= 0 && ed.Free({vertex}) && Allowed(E) &&
                !g.CrossesAny({g.P(q), E}, {std::min(q, vertex), own}) &&
                !g.RunsAlong(g.P(q), E, {std::min(q, vertex)})) {
                ed.Use({e, own, vertex, std::min(q, vertex)});
                ed.moves[vertex] = E;
                targets.insert(KeyOf(E));
                out.push_back({RepairKind::Gap, E, {g.P(vertex), E}});
                continue;
            }
            ed.Use({e, own});
            if (into >= 0) {
                ed.Use({into});
                const Segment t = g.S(into);
                const double dx = t.b.x - t.a.x, dy = t.b.y - t.a.y;
                ed.inserts.push_back(
                    {into, ((at.x - t.a.x) * dx + (at.y - t.a.y) * dy) / (dx * dx + dy * dy), at});
            }
            ed.moves[e] = at;
            targets.insert(KeyOf(at));
            out.push_back({RepairKind::Gap, at, {E, at}});
        }
        Apply(ed);
    }

    void Crossings() {
        std::vector<Segment> segs;
        std::vector<int32_t> from;
        for (int32_t i = 0; i + 1 < int32_t(v.size()); ++i)
            if (Real(v[size_t(i)]) && Real(v[size_t(i) + 1])) {
                segs.push_back({ToPt(v[size_t(i)]), ToPt(v[size_t(i) + 1])});
                from.push_back(i);
            }
        const std::vector<Crossing> found = FindCrossings(segs);
        if (found.empty()) return;
        const Grid g(v);
        // The lines each segment crosses now: they get their own points.
        std::unordered_map<int32_t, std::vector<int32_t>> crossed;
        for (const Crossing& c : found) {
            const int32_t i = from[size_t(c.i)], j = from[size_t(c.j)];
            crossed[i].push_back(j);
            crossed[j].push_back(i);
        }
        Edits ed;
        for (const Crossing& c : found) {
            const int32_t i = from[size_t(c.i)], j = from[size_t(c.j)];
            const Segment s = g.S(i), t = g.S(j);
            const Pt at = c.at;
            if (!Allowed(at)) continue;
            // A line that crosses itself is left as traced: boundary data
            // twists so, and its outline holds the twist.
            bool same = true;
            for (int32_t q = i + 1; q <= j && same; ++q) same = Real(v[size_t(q)]);
            if (same) continue;
            // The rounded point must not take either line across a third.
            std::vector<int32_t> si = crossed[i], tj = crossed[j];
            si.insert(si.end(), {i, j});
            tj.insert(tj.end(), {i, j});
            const bool fits =
                !g.CrossesAny({s.a, at}, si) && !g.CrossesAny({at, s.b}, si) &&
                !g.CrossesAny({t.a, at}, tj) && !g.CrossesAny({at, t.b}, tj);
            if (!fits) {
                out.push_back({RepairKind::CrossingKept, at, {at}});
                continue;
            }
            if (!(at == s.a) && !(at == s.b)) ed.inserts.push_back({i, CrossingAlong(s, t), at});
            if (!(at == t.a) && !(at == t.b)) ed.inserts.push_back({j, CrossingAlong(t, s), at});
            out.push_back({RepairKind::Crossing, at, {at}});
        }
        Apply(ed);
    }

    void Dangles() {
        if (opt.dangle <= 0) return;
        const auto n = Holders(v);
        std::vector<uint8_t> gone(v.size(), 0);
        bool any = false;
        auto holders = [&](int32_t i) { return n.at(KeyOf(ToPt(v[size_t(i)]))); };
        for (int32_t b = 0; b < int32_t(v.size()); ++b) {
            if (!Real(v[size_t(b)]) || (b > 0 && Real(v[size_t(b) - 1]))) continue;
            int32_t e = b;
            while (e + 1 < int32_t(v.size()) && Real(v[size_t(e) + 1])) ++e;
            if (e == b) continue;
            // From each dead end of the chain inward to the first node.
            for (int dir : {+1, -1}) {
                const int32_t end = dir > 0 ? b : e;
                if (holders(end) != 1) continue;
                double len = 0;
                bool kind = false;
                int32_t i = end;
                while (i != (dir > 0 ? e : b) && holders(i) == 1) {
                    len += std::hypot(v[size_t(i)].x - v[size_t(i + dir)].x,
                                      v[size_t(i)].y - v[size_t(i + dir)].y);
                    kind = kind || OfKind(ToPt(v[size_t(i)]), ToPt(v[size_t(i + dir)]));
                    i += dir;
                }
                const int32_t other = dir > 0 ? e : b;
                const bool whole = holders(i) == 1;  // no node: a line on its own
                if (len >= opt.dangle || kind || !Allowed(ToPt(v[size_t(end)]))) continue;
                Repair r{RepairKind::Dangle, ToPt(v[size_t(end)]), {}};
                // What stays of the chain must be a line: a node left alone goes too.
                const int32_t stop = i == other ? i + dir : i;
                for (int32_t q = end; q != stop; q += dir) {
                    if (gone[size_t(q)]) continue;
                    gone[size_t(q)] = 1;
                    r.points.push_back(ToPt(v[size_t(q)]));
                }
                if (r.points.empty()) continue;
                any = true;
                out.push_back(r);
                if (whole) break;
            }
        }
        if (!any) return;
        std::vector<Rec> kept;
        kept.reserve(v.size());
        bool dropped = false;  // since the last record kept
        for (size_t i = 0; i < v.size(); ++i) {
            if (gone[i]) {
                dropped = true;
                continue;
            }
            // A chain taken out whole takes one separator with it.
            if (dropped && !Real(v[i]) && !kept.empty() && !Real(kept.back())) continue;
            kept.push_back(v[i]);
            dropped = false;
        }
        v.swap(kept);
    }

  private:
    void Apply(const Edits& ed) {
        if (ed.Empty()) return;
        std::vector<Edits::Insert> ins = ed.inserts;
        std::sort(ins.begin(), ins.end(), [](const Edits::Insert& a, const Edits::Insert& b) {
            return a.seg != b.seg ? a.seg < b.seg : a.t < b.t;
        });
        std::vector<Rec> w;
        w.reserve(v.size() + ins.size());
        size_t q = 0;
        for (int32_t i = 0; i < int32_t(v.size()); ++i) {
            auto m = ed.moves.find(i);
            const bool moved = m != ed.moves.end();
            const Rec r = moved ? ToRec(m->second) : v[size_t(i)];
            // A moved end that lands on the point before it leaves one record.
            if (!(moved && !w.empty() && w.back() == r)) w.push_back(r);
            for (; q < ins.size() && ins[q].seg == i; ++q)
                if (!(w.back() == ToRec(ins[q].at))) w.push_back(ToRec(ins[q].at));
        }
        // The kind lines follow: a moved end, a point put into a segment.
        for (const auto& [i, to] : ed.moves)
            for (Rec& r : k)
                if (Real(r) && r == v[size_t(i)]) r = ToRec(to);
        for (size_t b = 0, e; b < ins.size(); b = e) {
            for (e = b; e < ins.size() && ins[e].seg == ins[b].seg; ++e) {
            }
            const Pt a = ToPt(v[size_t(ins[b].seg)]), z = ToPt(v[size_t(ins[b].seg) + 1]);
            if (!OfKind(a, z)) continue;
            std::vector<Rec> nk;
            for (size_t i = 0; i < k.size(); ++i) {
                nk.push_back(k[i]);
                if (i + 1 >= k.size() || !Real(k[i]) || !Real(k[i + 1]) ||
                    SegKey(ToPt(k[i]), ToPt(k[i + 1])) != SegKey(a, z))
                    continue;
                // In the kind line's own direction.
                const bool along = ToPt(k[i]) == a;
                for (size_t q = 0; q < e - b; ++q) {
                    const Rec r = ToRec(ins[along ? b + q : e - 1 - q].at);
                    if (!(nk.back() == r)) nk.push_back(r);
                }
            }
            k.swap(nk);
            Pt prev = a;
            for (size_t q = b; q < e; ++q) kindSegs.insert(SegKey(prev, ins[q].at)), prev = ins[q].at;
            kindSegs.insert(SegKey(prev, z));
        }
        v.swap(w);
    }
    const RepairOptions& opt;
    std::unordered_set<uint64_t> kindSegs;
};

}  // namespace

Repaired RepairNetwork(const std::vector<Rec>& points, const std::vector<Rec>& kinds,
                       const RepairOptions& options) {
    Repairer r(points, kinds, options);
    // Segments traced twice are dropped as the composition's readying drops
    // them; the window's list never shows them, so a repair of chosen places
    // leaves them to the composition.
    if (options.within.empty()) r.Duplicates();
    r.Overshoots();
    r.Gaps();
    r.Crossings();
    r.Dangles();
    Repaired out;
    out.repairs = std::move(r.out);
    if (out.Changed()) {
        out.points = std::move(r.v);
        out.kinds = std::move(r.k);
    } else {
        out.points = points;
        out.kinds = kinds;
    }
    return out;
}

}  // namespace compose
