#include "app/Snap.h"

#include <cstdint>
#include <limits>

#include "store/Store.h"

namespace {
// Distance from v to the span [lo, lo + len - 1].
int64_t Gap(int v, int lo, int len) {
    if (v < lo) return lo - v;
    if (v > lo + len - 1) return v - (lo + len - 1);
    return 0;
}
}  // namespace

std::optional<QPoint> SnapTarget(const Store& st, ViewScale sc, QPoint w, int tol,
                                 std::optional<QPoint> except) {
    if (tol < 0) return std::nullopt;
    const QPoint under = sc.ToSurface(w);
    const int64_t limit = int64_t(tol) * tol;
    int64_t best = std::numeric_limits<int64_t>::max(), bestSurface = best;
    std::optional<QPoint> found;
    const int cell = sc.Cell();
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x == 0) continue;  // chain separator
        const QPoint p(r.x, r.y);
        if (except && p == *except) continue;
        const int64_t gx = Gap(w.x(), sc.ToWidget(p.x()), cell);
        const int64_t gy = Gap(w.y(), sc.ToWidget(p.y()), cell);
        const int64_t d = gx * gx + gy * gy;
        if (d > limit || d > best) continue;
        const int64_t sx = int64_t(p.x()) - under.x(), sy = int64_t(p.y()) - under.y();
        const int64_t ds = sx * sx + sy * sy;
        if (d == best && ds >= bestSurface) continue;
        best = d;
        bestSurface = ds;
        found = p;
    }
    return found;
}
