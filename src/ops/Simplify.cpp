#include "ops/Simplify.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace ops {

namespace {

int64_t Orient(QPoint a, QPoint b, QPoint c) {
    return int64_t(b.x() - a.x()) * (c.y() - a.y()) - int64_t(b.y() - a.y()) * (c.x() - a.x());
}
int Sign(int64_t v) {
    return (v > 0) - (v < 0);
}
bool OnSegment(QPoint a, QPoint b, QPoint p) {
    return std::min(a.x(), b.x()) <= p.x() && p.x() <= std::max(a.x(), b.x()) &&
           std::min(a.y(), b.y()) <= p.y() && p.y() <= std::max(a.y(), b.y());
}

double DistanceToChord(QPoint p, QPoint a, QPoint b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0) return std::hypot(p.x() - a.x(), p.y() - a.y());
    double t = ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy));
}

void Keep(const std::vector<QPoint>& line, size_t from, size_t to, double tol,
          std::vector<char>& kept) {
    std::vector<std::pair<size_t, size_t>> todo{{from, to}};
    while (!todo.empty()) {
        auto [i, j] = todo.back();
        todo.pop_back();
        double worst = -1;
        size_t at = i;
        for (size_t k = i + 1; k < j; ++k) {
            const double d = DistanceToChord(line[k], line[i], line[j]);
            if (d > worst) worst = d, at = k;
        }
        if (worst > tol) {
            kept[at] = 1;
            todo.push_back({i, at});
            todo.push_back({at, j});
        }
    }
}

double DistanceToLine(QPoint p, const std::vector<QPoint>& l) {
    double best = HUGE_VAL;
    for (size_t k = 0; k + 1 < l.size(); ++k)
        best = std::min(best, DistanceToChord(p, l[k], l[k + 1]));
    return best;
}

// Whether p lies between the old and the new course of an edge: inside the
// ring the two make together (even-odd).
bool Between(QPoint p, const std::vector<QPoint>& was, const std::vector<QPoint>& now) {
    bool inside = false;
    auto edge = [&](QPoint a, QPoint b) {
        if ((a.y() > p.y()) == (b.y() > p.y())) return;
        const double x = a.x() + double(p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
        if (p.x() < x) inside = !inside;
    };
    for (size_t k = 0; k + 1 < was.size(); ++k) edge(was[k], was[k + 1]);
    for (size_t k = now.size() - 1; k > 0; --k) edge(now[k], now[k - 1]);
    return inside;
}

}  // namespace

bool SegmentsConflict(QPoint a, QPoint b, QPoint c, QPoint d) {
    const bool ac = a == c, ad = a == d, bc = b == c, bd = b == d;
    if ((ac && bd) || (ad && bc)) return true;  // the same segment twice
    if (ac || ad || bc || bd) {
        const QPoint p = ac || ad ? a : b;
        const QPoint q = p == a ? b : a;
        const QPoint r = (ac || bc) ? d : c;
        // Apart from the shared end they meet only when they run on together.
        if (Orient(p, q, r) != 0) return false;
        return int64_t(q.x() - p.x()) * (r.x() - p.x()) + int64_t(q.y() - p.y()) * (r.y() - p.y()) >
               0;
    }
    const int o1 = Sign(Orient(a, b, c)), o2 = Sign(Orient(a, b, d));
    const int o3 = Sign(Orient(c, d, a)), o4 = Sign(Orient(c, d, b));
    if (o1 != o2 && o3 != o4 && o1 && o2 && o3 && o4) return true;
    return (!o1 && OnSegment(a, b, c)) || (!o2 && OnSegment(a, b, d)) ||
           (!o3 && OnSegment(c, d, a)) || (!o4 && OnSegment(c, d, b));
}

std::vector<QPoint> DouglasPeucker(const std::vector<QPoint>& line, double tolerance) {
    if (line.size() <= 2 || tolerance <= 0) return line;
    std::vector<char> kept(line.size(), 0);
    kept.front() = kept.back() = 1;
    const bool ring = line.front() == line.back();
    if (ring) {
        // A ring is cut at the point farthest from its start.
        size_t far = 1;
        int64_t best = -1;
        for (size_t k = 1; k + 1 < line.size(); ++k) {
            const int64_t dx = line[k].x() - line[0].x(), dy = line[k].y() - line[0].y();
            if (dx * dx + dy * dy > best) best = dx * dx + dy * dy, far = k;
        }
        kept[far] = 1;
        Keep(line, 0, far, tolerance, kept);
        Keep(line, far, line.size() - 1, tolerance, kept);
    } else {
        Keep(line, 0, line.size() - 1, tolerance, kept);
    }
    std::vector<QPoint> out;
    for (size_t k = 0; k < line.size(); ++k)
        if (kept[k]) out.push_back(line[k]);
    if (ring && out.size() < 4) return line;
    return out;
}

void SimplifyPlanar(std::vector<std::vector<QPoint>>& edges, double tolerance,
                    const std::vector<QPoint>& keep) {
    if (tolerance <= 0) return;
    struct Seg {
        QPoint a, b;
        int edge, version;
    };
    constexpr int kCell = 32;
    std::vector<Seg> segs;
    std::unordered_map<int64_t, std::vector<int32_t>> grid;
    std::vector<int> version(edges.size(), 0);
    auto cells = [](QPoint a, QPoint b, auto visit) {
        const int x0 = std::min(a.x(), b.x()) / kCell, x1 = std::max(a.x(), b.x()) / kCell;
        const int y0 = std::min(a.y(), b.y()) / kCell, y1 = std::max(a.y(), b.y()) / kCell;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) visit((int64_t(y) << 32) | uint32_t(x));
    };
    auto insert = [&](int e) {
        const std::vector<QPoint>& l = edges[e];
        for (size_t k = 0; k + 1 < l.size(); ++k) {
            segs.push_back({l[k], l[k + 1], e, version[e]});
            cells(l[k], l[k + 1], [&](int64_t c) { grid[c].push_back(int32_t(segs.size() - 1)); });
        }
    };
    for (size_t e = 0; e < edges.size(); ++e) insert(int(e));
    std::unordered_map<int64_t, std::vector<QPoint>> kept;
    for (QPoint p : keep) cells(p, p, [&](int64_t c) { kept[c].push_back(p); });
    constexpr double kClear = 2.0;
    // Whether the new course s of edge e leaves every point of keep where it was.
    auto keepsPoints = [&](const std::vector<QPoint>& was, const std::vector<QPoint>& s) {
        if (kept.empty()) return true;
        QRect box;
        for (QPoint q : was) box |= QRect(q, QSize(1, 1));
        box.adjust(-3, -3, 3, 3);
        bool fine = true;
        cells(box.topLeft(), box.bottomRight(), [&](int64_t c) {
            if (!fine) return;
            auto it = kept.find(c);
            if (it == kept.end()) return;
            for (QPoint p : it->second) {
                if (!box.contains(p)) continue;
                const double now = DistanceToLine(p, s);
                if (Between(p, was, s) || (now < kClear && now < DistanceToLine(p, was))) {
                    fine = false;
                    return;
                }
            }
        });
        return fine;
    };
    for (size_t e = 0; e < edges.size(); ++e) {
        std::vector<QPoint> s = DouglasPeucker(edges[e], tolerance);
        if (s.size() == edges[e].size()) continue;
        bool clash = false;
        for (size_t i = 0; i + 1 < s.size() && !clash; ++i) clash = s[i] == s[i + 1];
        // Against itself (neighbours along it may only meet at their end).
        const size_t m = s.size() - 1;
        for (size_t i = 0; i < m && !clash; ++i)
            for (size_t j = i + 1; j < m && !clash; ++j)
                clash = SegmentsConflict(s[i], s[i + 1], s[j], s[j + 1]);
        // Against every other edge as it stands now.
        for (size_t i = 0; i < m && !clash; ++i)
            cells(s[i], s[i + 1], [&](int64_t c) {
                if (clash) return;
                auto it = grid.find(c);
                if (it == grid.end()) return;
                for (int32_t t : it->second) {
                    const Seg& o = segs[t];
                    if (o.edge == int(e) || o.version != version[o.edge]) continue;
                    if (SegmentsConflict(s[i], s[i + 1], o.a, o.b)) {
                        clash = true;
                        return;
                    }
                }
            });
        if (clash || !keepsPoints(edges[e], s)) continue;
        ++version[e];
        edges[e] = std::move(s);
        insert(int(e));
    }
}

}  // namespace ops
