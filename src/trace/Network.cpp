// From regions to the boundary network: the cracks between pixels of
// different regions, walked from node to node (a corner where three or more
// regions meet, or the page edge), then simplified.
#include <algorithm>
#include <cmath>

#include "ops/Simplify.h"
#include "trace/Inlets.h"
#include "trace/Regions.h"
#include "trace/SecondLook.h"
#include "trace/Trace.h"

namespace trace {

namespace {

struct Walker {
    const std::vector<int32_t>& label;
    const std::vector<uint8_t>& ink;
    int w, h;
    // Per corner (cx, cy), 0 <= cx <= w, 0 <= cy <= h: how many boundary
    // cracks meet there, whether the cracks to its right and below are
    // boundaries, and whether they have been walked.
    enum : uint8_t { Count = 7, Right = 8, Down = 16, RightDone = 32, DownDone = 64 };
    std::vector<uint8_t> corner;

    Walker(const std::vector<int32_t>& l, const std::vector<uint8_t>& i, int width, int height)
        : label(l), ink(i), w(width), h(height), corner(size_t(width + 1) * (height + 1), 0) {
        const size_t cw = size_t(w) + 1;
        for (int y = 0; y < h; ++y) {
            const int32_t* row = label.data() + size_t(y) * w;
            uint8_t* c = corner.data() + size_t(y) * cw;
            for (int x = 0; x + 1 < w; ++x)
                if (row[x] != row[x + 1]) {  // the crack from (x+1, y) down
                    c[x + 1] += 1 + Down;
                    c[cw + x + 1] += 1;
                }
            if (y + 1 < h)
                for (int x = 0; x < w; ++x)
                    if (row[x] != row[x + w]) {  // the crack from (x, y+1) right
                        c[cw + x] += 1 + Right;
                        c[cw + x + 1] += 1;
                    }
        }
    }

    uint8_t& At(int cx, int cy) { return corner[size_t(cy) * (w + 1) + cx]; }
    // The crack leaving corner (cx, cy) in direction d (0 right, 1 down,
    // 2 left, 3 up): whether it lies between two regions.
    bool Boundary(int cx, int cy, int d) {
        switch (d) {
            case 0:
                return At(cx, cy) & Right;
            case 1:
                return At(cx, cy) & Down;
            case 2:
                return cx > 0 && (At(cx - 1, cy) & Right);
            default:
                return cy > 0 && (At(cx, cy - 1) & Down);
        }
    }
    bool Done(int cx, int cy, int d) {
        switch (d) {
            case 0:
                return At(cx, cy) & RightDone;
            case 1:
                return At(cx, cy) & DownDone;
            case 2:
                return At(cx - 1, cy) & RightDone;
            default:
                return At(cx, cy - 1) & DownDone;
        }
    }
    void MarkDone(int cx, int cy, int d) {
        switch (d) {
            case 0:
                At(cx, cy) |= RightDone;
                return;
            case 1:
                At(cx, cy) |= DownDone;
                return;
            case 2:
                At(cx - 1, cy) |= RightDone;
                return;
            default:
                At(cx, cy - 1) |= DownDone;
                return;
        }
    }
    int Degree(int cx, int cy) { return At(cx, cy) & Count; }
    // The two pixels either side of a crack.
    void Sides(int cx, int cy, int d, size_t& a, size_t& b) const {
        switch (d) {
            case 0:
                a = size_t(cy - 1) * w + cx, b = size_t(cy) * w + cx;
                return;
            case 1:
                a = size_t(cy) * w + cx - 1, b = size_t(cy) * w + cx;
                return;
            case 2:
                Sides(cx - 1, cy, 0, a, b);
                return;
            default:
                Sides(cx, cy - 1, 1, a, b);
                return;
        }
    }

    struct Walked {
        std::vector<QPoint> points;
        int32_t left = 0, right = 0;
        int64_t cracks = 0, onInk = 0, coloured = 0, blob = 0;
        int64_t offInk = 0, longestOff = 0;  // the run off ink now, and the longest
    };
    Walked Walk(int cx, int cy, int d, bool ring) {
        static const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
        Walked out;
        const int sx = cx, sy = cy;
        out.points.push_back(QPoint(cx, cy));
        size_t a, b;
        Sides(cx, cy, d, a, b);
        out.left = label[a], out.right = label[b];
        while (true) {
            MarkDone(cx, cy, d);
            Sides(cx, cy, d, a, b);
            ++out.cracks;
            const uint8_t both = ink[a] | ink[b];
            out.offInk = both & kInk ? 0 : out.offInk + 1;
            out.longestOff = std::max(out.longestOff, out.offInk);
            if (both & kInk) {
                ++out.onInk;
                out.coloured += (both & kColoured) != 0;
                out.blob += (both & kBlob) != 0;
            }
            cx += dx[d], cy += dy[d];
            if ((ring && cx == sx && cy == sy) || (!ring && Degree(cx, cy) != 2)) {
                out.points.push_back(QPoint(cx, cy));
                return out;
            }
            int next = -1;
            for (int e = 0; e < 4; ++e)
                if (e != (d + 2) % 4 && Boundary(cx, cy, e)) next = e;
            if (next != d) out.points.push_back(QPoint(cx, cy));
            d = next;
        }
    }
};

}  // namespace

Network Split(const Page& page, const SplitOptions& options, bool keepLabels) {
    Network net;
    if (page.width <= 0) return net;
    net.gap = options.gap >= 0 ? options.gap : page.autoGap;
    net.minArea = options.minArea >= 0 ? options.minArea : page.autoMinArea;
    RegionSplit split = SplitRegions(page, net.gap, std::max(1, net.minArea), options.tick,
                                     options.minArea >= 0);
    if (split.cancelled) {
        net.cancelled = true;
        return net;
    }
    // A chosen radius is the person's to keep; the automatic one is a
    // guess for the whole page, and a single wider break escapes it.
    if (options.gap < 0) SplitWideBreaks(page, net.gap, std::max(1, net.minArea), split);
    // A chosen smallest size holds for islands too.
    if (options.minArea < 0) KeepIslands(page, std::max(1, net.minArea), split);
    FollowInlets(page, split);
    net.regions = std::move(split.regions);
    const int w = page.width, h = page.height;

    Walker walker(split.labels, page.ink, w, h);
    std::vector<Walker::Walked> walked;
    for (int cy = 0; cy <= h; ++cy)
        for (int cx = 0; cx <= w; ++cx) {
            const int deg = walker.Degree(cx, cy);
            if (deg == 0 || deg == 2) continue;
            for (int d = 0; d < 4; ++d)
                if (walker.Boundary(cx, cy, d) && !walker.Done(cx, cy, d))
                    walked.push_back(walker.Walk(cx, cy, d, false));
        }
    // What is left are rings round a region with no node on them.
    for (int cy = 1; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx)
            if ((walker.At(cx, cy) & (Walker::Right | Walker::RightDone)) == Walker::Right)
                walked.push_back(walker.Walk(cx, cy, 0, true));
    if (options.tick && !options.tick(85)) {
        net.cancelled = true;
        return net;
    }
    if (keepLabels) net.labels = std::move(split.labels);

    // An edge that ends at the page's edge ends one pixel in: no point at
    // X 0, which the point list cannot hold, and none beyond the picture.
    // Along the top an end on the edge covers the first row, which the
    // regions either side would otherwise share.
    auto onEdge = [&](QPoint q) {
        return q.x() == 0 || q.x() == w || q.y() == h;
    };
    std::vector<std::vector<QPoint>> lines;
    std::vector<size_t> from;
    for (size_t k = 0; k < walked.size(); ++k) {
        std::vector<QPoint>& p = walked[k].points;
        if (onEdge(p.front())) p.erase(p.begin());
        if (!p.empty() && onEdge(p.back())) p.pop_back();
        if (p.size() < 2) continue;
        lines.push_back(p);
        from.push_back(k);
    }
    // A small region's position is its pole: no simplified edge may come
    // over it, or the position would find no region.
    std::vector<QPoint> poles;
    for (const Region& g : net.regions)
        if (g.enclosed && g.area < 4 * std::max(1, net.minArea)) poles.push_back(g.pole);
    ops::SimplifyPlanar(lines, options.simplify, poles);

    // A region's perimeter, for the thin-region doubt.
    std::vector<int64_t> perimeter(net.regions.size() + 1, 0);
    for (const Walker::Walked& e : walked)
        perimeter[e.left] += e.cracks, perimeter[e.right] += e.cracks;
    auto doubtful = [&](int32_t r) {
        const Region& g = net.regions[r - 1];
        // The paper round the map is long and thin by nature.
        if (!g.enclosed) return false;
        const double round =
            4 * M_PI * double(g.area) / std::max(1.0, double(perimeter[r]) * perimeter[r]);
        return g.area < 4 * std::max(1, net.minArea) || round < 0.04;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const Walker::Walked& e = walked[from[i]];
        Edge edge;
        edge.points = std::move(lines[i]);
        edge.left = e.left, edge.right = e.right;
        edge.inkShare = double(e.onInk) / double(std::max<int64_t>(1, e.cracks));
        // Little ink along it, or one break longer than a dash's.
        if (edge.inkShare < 0.7 || e.longestOff > 2 * page.lineWidth + 3) edge.doubts |= Bridged;
        if (e.coloured * 2 > e.onInk) edge.doubts |= OtherInk;
        if (e.blob * 10 > e.onInk * 3) edge.doubts |= Lettering;
        if (doubtful(e.left) || doubtful(e.right)) edge.doubts |= SmallRegion;
        net.edges.push_back(std::move(edge));
    }
    if (options.tick) options.tick(100);
    return net;
}

std::vector<Rec> PointList(const Network& net) {
    std::vector<Rec> v{Rec{}};  // the list opens with a separator
    for (const Edge& e : net.edges) {
        for (const QPoint& p : e.points) v.push_back(Rec{int16_t(p.x()), int16_t(p.y())});
        v.push_back(Rec{});
    }
    return v;
}

std::vector<int> EnclosedOrder(const Network& net) {
    std::vector<int> order;
    for (size_t r = 0; r < net.regions.size(); ++r)
        if (net.regions[r].enclosed) order.push_back(int(r));
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const QPoint p = net.regions[a].pole, q = net.regions[b].pole;
        return p.y() != q.y() ? p.y() < q.y() : p.x() < q.x();
    });
    std::vector<int> number(net.regions.size(), 0);
    for (size_t k = 0; k < order.size(); ++k) number[order[k]] = int(k) + 1;
    return number;
}

}  // namespace trace
