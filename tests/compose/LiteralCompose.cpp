#include "LiteralCompose.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "compose/Composer.h"
#include "compose/Geometry.h"

using compose::Outcome;
using compose::Pt;

namespace {

Pt ToP(Rec r) {
    return {r.x, r.y};
}

Pt P(const Store& st, int32_t i) {
    return {st.PointX(i), st.PointY(i)};
}

int32_t FindPointFrom(const Store& st, int x, int y, int32_t from) {
    for (int32_t i = from; i <= st.PointLast; ++i)
        if (st.PointX(i) == x && st.PointY(i) == y) return i;
    return 0;
}

compose::StartSegment FindStartSegment(const Store& st, const Surface& surf) {
    compose::StartSegment r;
    int32_t c[5] = {0, 0, 0, 0, 0};
    int run = 0;
    for (int32_t i = 0; i < st.PointLast && c[4] == 0; ++i) {
        const int x0 = st.PointX(i), y0 = st.PointY(i), x1 = st.PointX(i + 1),
                  y1 = st.PointY(i + 1);
        if (x0 == 0 || x1 == 0) {
            run = 0;
            continue;
        }
        Pt m{compose::HalfEvenMid(x0, x1), compose::HalfEvenMid(y0, y1)};
        if (compose::ProbeNeighbours(surf, m, Navy)) {
            ++run;
            if (run < 5 && c[run] == 0) c[run] = i;
        } else {
            run = 0;
        }
    }
    if (c[1] == 0) return r;
    int k = 4;
    while (k > 1 && c[k] == 0) --k;
    int b = k, j = k - 1;
    while (b > 0 && r.d == 0) {
        const int t = (b - j) % b;
        r.s = c[b] - t;
        r.n = r.s + 1;
        Pt m{(st.PointX(r.s) + st.PointX(r.n)) / 2, (st.PointY(r.s) + st.PointY(r.n)) / 2};
        compose::StepIntoRegion(surf, m);
        r.d = compose::InteriorSide(P(st, r.s), P(st, r.n), m);
        if (j == 0) {
            --b;
            j = b - 1;
        } else {
            --j;
        }
    }
    if (r.d < 0) {
        r.s += 1;
        r.n -= 1;
    }
    return r;
}

struct Walk {
    const Store& st;
    Surface& surf;
    bool lost = false;
    Pt lostAt{};
    std::vector<std::pair<Pt, uint8_t>> painted;  // red marks with the colour they hid

    void NextOutlineStep(int32_t& cur, int32_t& next, int& dir) {
        const int32_t cand = next + dir;
        const Pt prev = P(st, cur), node = P(st, next);
        if (surf.Pixel(node.x, node.y) != Lime && st.PointX(cand) > 0) {
            cur = next;
            next = cand;
            return;
        }
        // CollectBranches, every occurrence and every branch.
        std::vector<int32_t> at, far, bdir;
        for (int32_t o = FindPointFrom(st, node.x, node.y, 1); o != 0;
             o = FindPointFrom(st, node.x, node.y, o + 1)) {
            if (st.PointX(o - 1) > 0 && o - 1 != cur)
                at.push_back(o), far.push_back(o - 1), bdir.push_back(-1);
            if (st.PointX(o + 1) > 0 && o + 1 != cur)
                at.push_back(o), far.push_back(o + 1), bdir.push_back(+1);
        }
        cur = next;
        next = cand;
        if (at.empty()) return;
        next = far[0];
        dir = bdir[0];
        Pt best = P(st, far[0]);
        for (size_t j = 1; j < at.size(); ++j) {
            const Pt c = P(st, far[j]);
            int r = compose::CompareTurns(prev, node, best, c);
            if (r == 0) {
                for (Pt q : {prev, node, best, c}) {
                    painted.push_back({q, surf.Pixel(q.x, q.y)});
                    surf.SetPixel(q.x, q.y, Red);
                }
                lost = true;
                lostAt = node;
                dir = 0;
            }
            if (r == 1 && best == prev) r = 2;
            if (r == 2 && c == prev) r = 1;
            if (r == 2) {
                next = far[j];
                dir = bdir[j];
                best = c;
            }
        }
    }
};

}  // namespace

void LiteralTidy(Store& st) {
    for (int32_t i = st.PointLast; i >= 2; --i)
        if (st.PointX(i) == 0 && st.PointX(i - 2) == 0) {
            st.DeletePoints(i - 1, 2);
            --i;
        }
    for (int32_t i = st.PointLast; i >= 1; --i)
        if (st.Point(i) == st.Point(i - 1)) st.DeletePoints(i, 1);
}

void LiteralCut(Store& st, const std::vector<int>& stream) {
    for (size_t k = 2; k + 1 < stream.size(); k += 2) {
        const Rec p{int16_t(stream[k - 2]), int16_t(stream[k - 1])};
        const Rec q{int16_t(stream[k]), int16_t(stream[k + 1])};
        if (p.x == 0 || q.x == 0) continue;
        for (int32_t i = 0; i <= st.PointLast - 2; ++i) {
            const Rec a = st.Point(i), b = st.Point(i + 1);
            if (a.x == 0 || b.x == 0) continue;
            if (!((a == p && b == q) || (a == q && b == p))) continue;
            const int16_t before = i > 0 ? st.PointX(i - 1) : 0, after = st.PointX(i + 2);
            if (before == 0) st.SetPoint(i, 0, 0);
            if (after == 0) st.SetPoint(i + 1, 0, 0);
            if (before > 0 && after > 0) st.InsertPoint(i + 1, 0, 0);
        }
    }
}

LiteralResult LiteralCompose(Store& st, Surface& surf) {
    LiteralResult res;
    std::vector<int> stream{0, 0};
    // Lines crossing without a shared point.
    std::vector<compose::Segment> all;
    for (int32_t i = 0; i < st.PointLast; ++i)
        if (st.PointX(i) > 0 && st.PointX(i + 1) > 0) all.push_back({P(st, i), P(st, i + 1)});
    const std::vector<compose::Crossing> crossings = compose::FindCrossings(all);
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < 10 && st.AreaPos(k, a).x > 0; ++k) {
            const int px = st.AreaPos(k, a).x, py = st.AreaPos(k, a).y;
            auto fail = [&](Outcome o) {
                res.ok = false;
                res.area = a;
                res.slot = k;
                res.outcome = o;
                return res;
            };
            surf.FloodFillSurface(px, py, Black, Navy);
            const compose::StartSegment s = FindStartSegment(st, surf);
            res.start = s.s;
            if (s.s == 0) {
                surf.FloodFillSurface(px, py, Navy, Red);
                return fail(Outcome::NoStart);
            }
            // One walk from (s, n) in direction d; the outline and its separator
            // go to the stream.
            auto walk = [&](int32_t s0, int32_t n0, int d0, Walk& w) {
                stream.insert(stream.end(),
                              {st.PointX(s0), st.PointY(s0), st.PointX(n0), st.PointY(n0)});
                const Pt first = P(st, s0), second = P(st, n0);
                Pt current = second, previous = first;
                int32_t cur = s0, next = n0;
                int dir = d0;
                int64_t steps = 0;
                while (!(current == first) && current.x > 0) {
                    w.NextOutlineStep(cur, next, dir);
                    previous = current;
                    current = P(st, next);
                    stream.insert(stream.end(), {current.x, current.y});
                    ++steps;
                    if (dir == 0) return Outcome::Lost;
                    if (steps > 3 * int64_t(st.PointLast)) return Outcome::StepLimit;
                }
                stream.insert(stream.end(), {0, 0});
                if (current.x <= 0 || previous == second) return Outcome::NotClosed;
                return Outcome::Closed;
            };
            const Pt pos{px, py};
            // The ring just walked, from the stream's pairs.
            auto ring = [&](size_t from) {
                std::vector<Rec> r;
                for (size_t k = from; k + 1 < stream.size(); k += 2)
                    r.push_back(Rec{int16_t(stream[k]), int16_t(stream[k + 1])});
                if (!r.empty() && r.back().x == 0) r.pop_back();
                return r;
            };
            // Whether the ring, past a crossing with a line it does not walk
            // itself, has a black pixel (another region) on its right.
            bool left = false;
            auto leaves = [&](const std::vector<Rec>& r) {
                auto walks = [&](const compose::Segment& t) {
                    for (size_t k = 1; k < r.size(); ++k)
                        if ((ToP(r[k - 1]) == t.a && ToP(r[k]) == t.b) ||
                            (ToP(r[k - 1]) == t.b && ToP(r[k]) == t.a))
                            return true;
                    return false;
                };
                for (size_t k = 1; k < r.size(); ++k) {
                    const compose::Segment s{ToP(r[k - 1]), ToP(r[k])};
                    std::vector<std::pair<double, Pt>> along;
                    for (const compose::Crossing& c : crossings)
                        for (auto [i, j] : {std::pair{c.i, c.j}, std::pair{c.j, c.i}}) {
                            const compose::Segment &u = all[size_t(i)], &t = all[size_t(j)];
                            if (((u.a == s.a && u.b == s.b) || (u.a == s.b && u.b == s.a)) &&
                                !walks(t))
                                along.push_back({compose::CrossingAlong(s, t), c.at});
                        }
                    for (const auto& [pixel, crossing] : compose::RightOfStretches(s, along))
                        if (surf.Pixel(pixel.x, pixel.y) == Black) return true;
                }
                return false;
            };
            auto own = [&](size_t from) {
                const std::vector<Rec> r = ring(from);
                if (!compose::IsOwnOutline(r.data(), r.size(), pos)) return false;
                for (int a2 = 1; a2 <= st.AreaCount; ++a2)
                    for (int k2 = 0; k2 < 10 && st.AreaPos(k2, a2).x > 0; ++k2)
                        if (a2 != a &&
                            surf.Pixel(st.AreaPos(k2, a2).x, st.AreaPos(k2, a2).y) == Navy)
                            return false;
                if (leaves(r)) return !(left = true);
                return true;
            };
            const size_t begin = stream.size();
            Outcome o = Outcome::NoDirection;
            std::vector<Rec> firstWalk;
            if (s.d != 0) {
                Walk w{st, surf, false, {}, {}};
                o = walk(s.s, s.n, s.d, w);
                if (o == Outcome::Lost) {
                    res.node = w.lostAt;
                    return fail(o);
                }
                if (o == Outcome::StepLimit) return fail(o);
                if (o == Outcome::Closed && own(begin)) {
                    surf.FloodFillSurface(px, py, Navy, Black);
                    continue;
                }
                firstWalk = ring(begin);
                stream.resize(begin);
            }
            // Every other start: the first one turned round, then each
            // bordering segment of the whole list, both ways; a directed
            // segment an earlier walk went along is skipped.
            std::vector<std::array<int32_t, 3>> order;
            if (s.d != 0) order.push_back({s.n, s.s, -s.d});
            for (int32_t i = 0; i < st.PointLast; ++i) {
                if (st.PointX(i) == 0 || st.PointX(i + 1) == 0) continue;
                Pt m{compose::HalfEvenMid(st.PointX(i), st.PointX(i + 1)),
                     compose::HalfEvenMid(st.PointY(i), st.PointY(i + 1))};
                if (!compose::ProbeNeighbours(surf, m, Navy)) continue;
                order.push_back({i, i + 1, +1});
                order.push_back({i + 1, i, -1});
            }
            std::vector<std::pair<Pt, Pt>> walked;
            auto remember = [&](const std::vector<Rec>& r) {
                for (size_t k = 1; k < r.size(); ++k)
                    if (r[k - 1].x > 0 && r[k].x > 0) walked.push_back({ToP(r[k - 1]), ToP(r[k])});
            };
            auto seen = [&](Pt a, Pt b) {
                for (auto [x, y] : walked)
                    if (x == a && y == b) return true;
                return false;
            };
            remember(firstWalk);
            int64_t budget = 4 * int64_t(st.PointLast) + 10000;
            bool found = false;
            for (auto [s0, n0, d0] : order) {
                if (budget <= 0) break;
                if (seen(P(st, s0), P(st, n0))) continue;
                walked.push_back({P(st, s0), P(st, n0)});
                Walk w{st, surf, false, {}, {}};
                const Outcome t = walk(s0, n0, d0, w);
                if (t == Outcome::Closed && own(begin)) {
                    found = true;
                    break;
                }
                for (auto it = w.painted.rbegin(); it != w.painted.rend(); ++it)
                    surf.SetPixel(it->first.x, it->first.y, it->second);
                budget -= int64_t(stream.size() - begin) / 2;
                remember(ring(begin));
                stream.resize(begin);
            }
            if (found) {
                surf.FloodFillSurface(px, py, Navy, Black);
                continue;
            }
            // Why not: another area's position in the region, the region at
            // the edge of the drawing, two lines crossing beside it, a dead
            // end, an undecided direction, or none of these.
            res.place = Pt{};
            for (int a2 = 1; a2 <= st.AreaCount; ++a2)
                for (int k2 = 0; k2 < 10 && st.AreaPos(k2, a2).x > 0; ++k2)
                    if (a2 != a && res.place.x == 0 &&
                        surf.Pixel(st.AreaPos(k2, a2).x, st.AreaPos(k2, a2).y) == Navy)
                        res.place = Pt{st.AreaPos(k2, a2).x, st.AreaPos(k2, a2).y};
            if (res.place.x != 0) {
                surf.FloodFillSurface(px, py, Navy, Red);
                return fail(Outcome::NotClosed);
            }
            const int W = st.MapWidth > 0 ? std::min<int>(st.MapWidth, surf.Width()) : surf.Width();
            const int H =
                st.MapHeight > 0 ? std::min<int>(st.MapHeight, surf.Height()) : surf.Height();
            bool edge = false;
            for (int y = 0; y < surf.Height(); ++y)
                for (int x = 0; x < surf.Width(); ++x)
                    if (surf.Pixel(x, y) == Navy)
                        edge = edge || x <= 0 || y <= 0 || x >= W - 1 || y >= H - 1;
            if (edge) {
                surf.FloodFillSurface(px, py, Navy, Red);
                return fail(Outcome::NotClosed);
            }
            if (left) {
                surf.FloodFillSurface(px, py, Navy, Red);
                return fail(Outcome::Astray);
            }
            for (const compose::Crossing& c : crossings) {
                bool touches = false;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        touches = touches || surf.Pixel(c.at.x + dx, c.at.y + dy) == Navy;
                if (touches) {
                    surf.FloodFillSurface(px, py, Navy, Red);
                    return fail(Outcome::Astray);
                }
            }
            if (o == Outcome::NotClosed) {
                surf.FloodFillSurface(px, py, Navy, Red);
                return fail(o);
            }
            if (o == Outcome::NoDirection) {
                surf.SetPixel(st.PointX(s.s), st.PointY(s.s), Red);
                return fail(o);
            }
            surf.FloodFillSurface(px, py, Navy, Red);
            return fail(Outcome::Astray);
        }
    }

    LiteralCut(st, stream);

    // Rebuild: outlines, then the tidied network, without repeated records.
    LiteralTidy(st);
    if (st.PointX(0) > 0) stream.insert(stream.end(), {0, 0});
    for (int32_t i = 0; i <= st.PointLast; ++i)
        stream.insert(stream.end(), {st.PointX(i), st.PointY(i)});
    st.PointLast = 0;
    int lx = -1, ly = -1;
    for (size_t k = 0; k + 1 < stream.size(); k += 2) {
        if (stream[k] == lx && stream[k + 1] == ly) continue;
        st.SetPoint(st.PointLast, int16_t(stream[k]), int16_t(stream[k + 1]));
        lx = stream[k];
        ly = stream[k + 1];
        ++st.PointLast;
    }
    --st.PointLast;
    if (st.PointX(st.PointLast) > 0) st.AppendPoint(0, 0);

    LiteralMergeKinds(st);
    return res;
}

void LiteralMergeKinds(Store& st) {
    auto firstGroup = [&](int32_t& first, int32_t& last, int16_t& kind, int32_t& header) {
        first = 0;
        for (int32_t i = 0; i < st.KindLast && first == 0; ++i) {
            if (st.KindX(i) == 0 && st.KindY(i) < 0 && st.KindX(i + 1) > 0) {
                header = i;
                kind = st.KindY(i);
                first = i + 1;
                last = first;
                while (last < st.KindLast && st.KindX(last + 1) > 0) ++last;
            }
        }
    };
    auto findJoining = [&](int32_t& pos, int16_t kind, int32_t& other, int32_t& header) {
        const Rec p = st.KindRec(pos);
        pos = 0;
        for (int32_t i = 0; pos == 0 && i < st.KindLast; ++i) {
            if (!(st.KindX(i) == 0 && st.KindY(i) == kind)) continue;
            const int32_t s = i + 1;
            if (st.KindX(s) <= 0) continue;  // a header without points
            int32_t e = s;
            while (e < st.KindLast && st.KindX(e + 1) > 0) ++e;
            if (st.KindRec(e) == p) pos = e, other = s, header = i;
            if (st.KindRec(s) == p) pos = s, other = e, header = i;
            i = e;
        }
    };
    std::vector<int16_t> out, rev;
    auto extend = [&](int32_t pos, int16_t kind, std::vector<int16_t>& to) {
        for (;;) {
            int32_t other = 0, header = 0;
            findJoining(pos, kind, other, header);
            if (pos == 0) return;
            if (pos < other)
                for (int32_t i = pos + 1; i <= other; ++i)
                    to.insert(to.end(), {st.KindX(i), st.KindY(i)});
            else
                for (int32_t i = pos - 1; i >= other; --i)
                    to.insert(to.end(), {st.KindX(i), st.KindY(i)});
            st.SetKind(header, -1, kind);
            pos = other;
        }
    };
    for (;;) {
        int32_t first, last, header;
        int16_t kind;
        firstGroup(first, last, kind, header);
        if (first == 0) break;
        out.insert(out.end(), {0, kind});
        rev.clear();
        for (int32_t i = last; i >= first; --i) rev.insert(rev.end(), {st.KindX(i), st.KindY(i)});
        st.SetKind(header, -1, kind);
        extend(first, kind, rev);
        for (size_t k = rev.size(); k >= 2; k -= 2) out.insert(out.end(), {rev[k - 2], rev[k - 1]});
        extend(last, kind, out);
    }
    st.KindLast = int32_t(out.size()) / 2 - 1;
    for (int32_t i = 0; i <= st.KindLast; ++i)
        st.SetKind(i, out[size_t(2 * i)], out[size_t(2 * i + 1)]);
}
