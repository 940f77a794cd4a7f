#include "compose/Geometry.h"

#include <algorithm>
#include <cmath>

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

int HalfEvenMid(int a, int b) {
    const int sum = a + b;
    const int lo = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);  // floor(sum / 2)
    if (sum - 2 * lo == 0) return lo;
    return (lo % 2 == 0) ? lo : lo + 1;
}

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
    auto navy = [&](int code) { return s.Pixel(p.x + kDx[code], p.y + kDy[code]) == Navy; };
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

bool OnRightOfRing(const Rec* ring, size_t n, Pt p) {
    bool inside = false;
    int64_t area2 = 0;  // twice the signed area; positive runs clockwise with y down
    for (size_t i = 1; i < n; ++i) {
        const int64_t ax = ring[i - 1].x, ay = ring[i - 1].y, bx = ring[i].x, by = ring[i].y;
        area2 += ax * by - bx * ay;
        const int64_t cross = (bx - ax) * (p.y - ay) - (p.x - ax) * (by - ay);
        if (cross == 0 && std::min(ax, bx) <= p.x && p.x <= std::max(ax, bx) &&
            std::min(ay, by) <= p.y && p.y <= std::max(ay, by))
            return false;  // on the ring
        if ((ay > p.y) != (by > p.y) && ((cross > 0) == (by > ay))) inside = !inside;
    }
    return inside == (area2 > 0);
}

}  // namespace compose
