#include "compose/Geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace compose {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Neighbour codes 0..7 counter-clockwise on the screen, starting east.
constexpr int kDx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};

// Angle of a non-zero vector whose y already points up.
double Angle(int vx, int vy) {
    if (vx == 0) return vy > 0 ? kPi / 2 : -kPi / 2;
    return std::atan2(double(vy), double(vx));
}

}  // namespace

int ProbeNeighbours(const Surface& s, Pt& p, uint8_t colour) {
    for (int k = 0; k < 8; ++k) {
        const int x = p.x + kDx[k], y = p.y + kDy[k];
        if (s.Pixel(x, y) == colour) {
            p = {x, y};
            return k + 1;
        }
    }
    return 0;
}

void StepIntoRegion(const Surface& s, Pt& p) {
    StepIntoRegion([&](int x, int y) { return s.Pixel(x, y) == Navy; }, p);
}

void StepIntoRegion(const std::function<bool(int, int)>& inRegion, Pt& p) {
    auto navy = [&](int code) { return inRegion(p.x + kDx[code], p.y + kDy[code]); };
    int g;
    if (navy(0)) {
        int a = -1, b = -1;
        for (int k = 1; k <= 7; ++k)
            if (!navy(k)) {
                a = k;
                break;
            }
        for (int k = 7; k >= 1; --k)
            if (!navy(k)) {
                b = k;
                break;
            }
        a -= 1;
        b += 1;
        g = int(std::trunc((b + a + 8) * 0.5 + 0.5));
        if (g >= 8) g -= 8;
    } else {
        int a = -1, b = -1;
        for (int k = 1; k <= 7; ++k)
            if (navy(k)) {
                a = k;
                break;
            }
        for (int k = 7; k >= 1; --k)
            if (navy(k)) {
                b = k;
                break;
            }
        g = int(std::trunc((a + b) * 0.5 + 0.5));
    }
    p.x += kDx[g];
    p.y += kDy[g];
}

int InteriorSide(Pt S, Pt N, Pt M) {
    const int svx = N.x - S.x, svy = S.y - N.y;
    const int pvx = M.x - S.x, pvy = S.y - M.y;
    if ((svx == 0 && svy == 0) || (pvx == 0 && pvy == 0)) return 0;
    const double t1 = Angle(svx, svy);
    double t2 = Angle(pvx, pvy);
    if (t1 > t2) t2 += kTwoPi;
    return (t2 - t1 < kPi) ? -1 : 1;
}

int CompareTurns(Pt P, Pt Q, Pt A, Pt B) {
    const int vinx = Q.x - P.x, viny = P.y - Q.y;
    const int vax = A.x - Q.x, vay = Q.y - A.y;
    const int vbx = B.x - Q.x, vby = Q.y - B.y;
    if ((vinx == 0 && viny == 0) || (vax == 0 && vay == 0) || (vbx == 0 && vby == 0)) return 0;
    const double in = Angle(vinx, viny);
    double dA = Angle(vax, vay) - in;
    double dB = Angle(vbx, vby) - in;
    if (dA > kPi) dA -= kTwoPi;
    if (dA < -kPi) dA += kTwoPi;
    if (dB > kPi) dB -= kTwoPi;
    if (dB < -kPi) dB += kTwoPi;
    if (dA == dB) return 0;
    return dB > dA ? 1 : 2;
}

namespace {

// One walk round a ring as seen from p: twice its signed area (positive runs
// clockwise with y down), whether p is inside by the even-odd rule, and its
// winding number round p. The walk stops when p lies on the ring.
struct RingAround {
    int64_t area2 = 0;
    bool inside = false;
    int winding = 0;
    bool onRing = false;
};

RingAround WalkRing(const Rec* ring, size_t n, Pt p) {
    RingAround r;
    for (size_t i = 1; i < n; ++i) {
        const int64_t ax = ring[i - 1].x, ay = ring[i - 1].y, bx = ring[i].x, by = ring[i].y;
        r.area2 += ax * by - bx * ay;
        const int64_t cross = (bx - ax) * (p.y - ay) - (p.x - ax) * (by - ay);
        if (cross == 0 && std::min(ax, bx) <= p.x && p.x <= std::max(ax, bx) &&
            std::min(ay, by) <= p.y && p.y <= std::max(ay, by)) {
            r.onRing = true;
            return r;
        }
        if ((ay > p.y) != (by > p.y) && ((cross > 0) == (by > ay))) r.inside = !r.inside;
        // Downward on the screen with p on the edge's left as seen on the
        // screen counts +1; upward with p on its right, -1.
        if (ay <= p.y && p.y < by && cross > 0) ++r.winding;
        if (by <= p.y && p.y < ay && cross < 0) --r.winding;
    }
    return r;
}

}  // namespace

bool OnRightOfRing(const Rec* ring, size_t n, Pt p) {
    const RingAround r = WalkRing(ring, n, p);
    return !r.onRing && r.inside == (r.area2 > 0);
}

namespace {

int64_t Orient(Pt a, Pt b, Pt c) {
    return int64_t(b.x - a.x) * (c.y - a.y) - int64_t(b.y - a.y) * (c.x - a.x);
}

// Where s and t cross through each other's inside, if they do.
std::optional<Pt> ProperCrossing(const Segment& s, const Segment& t) {
    const int64_t o1 = Orient(s.a, s.b, t.a), o2 = Orient(s.a, s.b, t.b);
    const int64_t o3 = Orient(t.a, t.b, s.a), o4 = Orient(t.a, t.b, s.b);
    if (!(((o1 < 0 && o2 > 0) || (o1 > 0 && o2 < 0)) && ((o3 < 0 && o4 > 0) || (o3 > 0 && o4 < 0))))
        return std::nullopt;
    const double u = double(o3) / double(o3 - o4);  // along s
    return Pt{int(std::lround(s.a.x + u * (s.b.x - s.a.x))),
              int(std::lround(s.a.y + u * (s.b.y - s.a.y)))};
}

}  // namespace

double CrossingAlong(const Segment& s, const Segment& t) {
    const int64_t o3 = Orient(t.a, t.b, s.a), o4 = Orient(t.a, t.b, s.b);
    return o3 == o4 ? 0.5 : double(o3) / double(o3 - o4);
}

std::vector<std::pair<Pt, Pt>> RightOfStretches(const Segment& s,
                                                std::vector<std::pair<double, Pt>>& along) {
    std::vector<std::pair<Pt, Pt>> out;
    std::sort(along.begin(), along.end(),
              [](const auto& p, const auto& q) { return p.first < q.first; });
    along.erase(std::unique(along.begin(), along.end(),
                            [](const auto& p, const auto& q) { return p.first == q.first; }),
                along.end());
    const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len = std::hypot(dx, dy);
    if (len == 0) return out;
    for (size_t e = 0; e < along.size(); ++e) {
        const double to = e + 1 < along.size() ? along[e + 1].first : 1.0;
        const double mid = (along[e].first + to) / 2;
        // (-dy, dx) points right on a screen whose y runs down.
        out.push_back({Pt{int(std::lround(s.a.x + mid * dx - 1.5 * dy / len)),
                          int(std::lround(s.a.y + mid * dy + 1.5 * dx / len))},
                       along[e].second});
    }
    return out;
}

std::vector<Crossing> FindCrossings(const std::vector<Segment>& segs) {
    std::vector<Crossing> found;
    if (segs.size() < 2) return found;
    // A grid of about one cell per segment; each segment is listed in the
    // cells its bounding box covers, and only segments sharing a cell are
    // compared. A crossing lies in a cell both boxes cover, so a pair is
    // taken only from the cell that holds the crossing point's floor.
    int x0 = segs[0].a.x, y0 = segs[0].a.y, x1 = x0, y1 = y0;
    double extent = 0;
    for (const Segment& s : segs) {
        x0 = std::min({x0, s.a.x, s.b.x}), x1 = std::max({x1, s.a.x, s.b.x});
        y0 = std::min({y0, s.a.y, s.b.y}), y1 = std::max({y1, s.a.y, s.b.y});
        extent += std::max(std::abs(s.b.x - s.a.x), std::abs(s.b.y - s.a.y));
    }
    const double area = double(x1 - x0 + 1) * double(y1 - y0 + 1);
    // About one segment a cell; but where the segments are short and lie in
    // clusters (land on a world map, the sea empty), cells of a few segment
    // lengths keep each cell's list short. A cell's side is a power of two,
    // so that a coordinate's cell is a shift away.
    extent /= double(segs.size());
    const int want = std::max(
        4, std::min(int(std::sqrt(area / double(segs.size()))), int(4 * extent) + 1));
    // Rounded up: rounded down, a world map's grid took hundreds of pages more.
    const int shift = std::bit_width(unsigned(want) - 1);
    const int64_t cols = ((x1 - x0) >> shift) + 1, rows = ((y1 - y0) >> shift) + 1;
    auto cellRange = [&](const Segment& s, int& cx0, int& cx1, int& cy0, int& cy1) {
        cx0 = (std::min(s.a.x, s.b.x) - x0) >> shift, cx1 = (std::max(s.a.x, s.b.x) - x0) >> shift;
        cy0 = (std::min(s.a.y, s.b.y) - y0) >> shift, cy1 = (std::max(s.a.y, s.b.y) - y0) >> shift;
    };
    // Counting sort of (cell, segment) by cell.
    std::vector<int32_t> start(size_t(cols * rows) + 1, 0);
    for (const Segment& s : segs) {
        int cx0, cx1, cy0, cy1;
        cellRange(s, cx0, cx1, cy0, cy1);
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx) ++start[size_t(cy * cols + cx) + 1];
    }
    for (size_t c = 1; c < start.size(); ++c) start[c] += start[c - 1];
    std::vector<int32_t> listed(size_t(start.back()));
    std::vector<int32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < segs.size(); ++i) {
        int cx0, cx1, cy0, cy1;
        cellRange(segs[i], cx0, cx1, cy0, cy1);
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx)
                listed[size_t(fill[size_t(cy * cols + cx)]++)] = int32_t(i);
    }
    for (int64_t c = 0; c < cols * rows; ++c) {
        const int32_t b = start[size_t(c)], e = start[size_t(c) + 1];
        for (int32_t u = b; u < e; ++u)
            for (int32_t v = u + 1; v < e; ++v) {
                const int32_t i = listed[size_t(u)], j = listed[size_t(v)];
                const Segment &s = segs[size_t(i)], &t = segs[size_t(j)];
                // The next segment of a chain starts where s ends: a shared
                // end is no crossing. Most pairs in a cell are these.
                if (t.a == s.b) continue;
                // Boxes apart: no crossing, and no need to look closer.
                if (std::max(s.a.x, s.b.x) < std::min(t.a.x, t.b.x) ||
                    std::max(t.a.x, t.b.x) < std::min(s.a.x, s.b.x) ||
                    std::max(s.a.y, s.b.y) < std::min(t.a.y, t.b.y) ||
                    std::max(t.a.y, t.b.y) < std::min(s.a.y, s.b.y))
                    continue;
                const std::optional<Pt> at = ProperCrossing(s, t);
                if (!at) continue;
                // Count the pair in one cell only: the first both boxes share.
                int ax0, ax1, ay0, ay1, bx0, bx1, by0, by1;
                cellRange(s, ax0, ax1, ay0, ay1);
                cellRange(t, bx0, bx1, by0, by1);
                if (c != int64_t(std::max(ay0, by0)) * cols + std::max(ax0, bx0)) continue;
                found.push_back({*at, std::min(i, j), std::max(i, j)});
            }
    }
    std::sort(found.begin(), found.end(), [](const Crossing& p, const Crossing& q) {
        if (p.at.y != q.at.y) return p.at.y < q.at.y;
        if (p.at.x != q.at.x) return p.at.x < q.at.x;
        return p.i != q.i ? p.i < q.i : p.j < q.j;
    });
    return found;
}

bool IsOwnOutline(const Rec* ring, size_t n, Pt p) {
    if (n < 4 || !(ring[0] == ring[n - 1])) return false;
    const RingAround r = WalkRing(ring, n, p);
    return !r.onRing && r.area2 > 0 && r.winding == 1;
}

}  // namespace compose
