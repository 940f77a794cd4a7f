// The view's caches: the index of the network must find every record a
// rectangle shows, before and after the lists change under it (records
// shifted by inserts and deletes, separators, long segments, negative
// coordinates); the zoomed-out levels must follow the surface.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/NetworkIndex.h"
#include "app/ViewLayers.h"
#include "raster/Surface.h"

namespace {

// What a rectangle shows, by a pass over the whole list.
std::set<int32_t> Expected(const std::vector<Rec>& l, QRect r) {
    std::set<int32_t> want;
    for (size_t i = 0; i < l.size(); ++i) {
        const Rec c = l[i];
        if (c.x > 0 && r.contains(c.x, c.y)) want.insert(int32_t(i));
        if (i == 0) continue;
        const Rec p = l[i - 1];
        if (p.x != 0 && c.x != 0 && std::max(p.x, c.x) >= r.left() &&
            std::min(p.x, c.x) <= r.right() && std::max(p.y, c.y) >= r.top() &&
            std::min(p.y, c.y) <= r.bottom())
            want.insert(int32_t(i));
    }
    return want;
}

}  // namespace

TEST(NetworkIndex, FindsWhatARectangleShowsAfterEveryChange) {
    std::mt19937 rng(7);
    auto coord = [&](int lo, int hi) {
        return int16_t(std::uniform_int_distribution<int>(lo, hi)(rng));
    };
    auto record = [&] {
        const int kind = coord(0, 19);
        if (kind == 0) return Rec{0, 0};                                // separator
        if (kind == 1) return Rec{coord(-30, 4000), coord(-30, 3000)};  // anywhere, far jumps
        return Rec{coord(1, 1500), coord(-20, 1200)};
    };
    std::vector<Rec> points{{0, 0}}, kinds;
    for (int i = 0; i < 12000; ++i) points.push_back(record());
    for (int i = 0; i < 500; ++i) kinds.push_back(record());
    Store st;
    view::NetworkIndex index;
    std::vector<int32_t> near;
    std::vector<QPoint> focus;
    for (int round = 0; round < 13; ++round) {
        st.AssignPoints(points);
        st.AssignKinds(kinds);
        index.Invalidate();
        index.Sync(st);
        std::vector<QRect> rects;
        for (int q = 0; q < 40; ++q)
            rects.emplace_back(coord(-40, 1500), coord(-40, 1200), coord(1, q % 4 ? 300 : 4000),
                               coord(1, q % 4 ? 200 : 3000));
        // Small ones on the segments the last changes made.
        for (QPoint f : focus) rects.emplace_back(f - QPoint(2, 2), QSize(5, 5));
        focus.clear();
        for (const QRect& r : rects) {
            for (int which = 0; which < 2; ++which) {
                const std::vector<Rec>& l = which == 0 ? points : kinds;
                ASSERT_EQ(index.List(which), l);
                index.Near(which, r, near);
                ASSERT_TRUE(std::is_sorted(near.begin(), near.end()));
                ASSERT_TRUE(near.empty() || size_t(near.back()) < l.size());
                const std::set<int32_t> got(near.begin(), near.end());
                for (int32_t i : Expected(l, r))
                    ASSERT_TRUE(got.count(i))
                        << "round " << round << " list " << which << " record " << i;
            }
        }
        // Inserts and deletes all over the list shift every record after
        // them; a few points moved, or a tail added or cut, are the small
        // changes an edit or tracing makes.
        if (round % 3 == 0) {
            for (int k = 0; k < 20; ++k) {
                const auto at = points.begin() + coord(1, int16_t(points.size() - 1));
                if (k % 2)
                    points.insert(at, record());
                else
                    points.erase(at);
            }
        } else if (round % 3 == 1) {
            const size_t from = size_t(coord(1, int16_t(points.size() - 1002)));
            for (int k = 0; k < 10; ++k) {
                const size_t i = from + size_t(coord(0, 1000));
                points[i] = record();
                const Rec a = points[i], b = points[i + 1];
                if (a.x != 0 && b.x != 0) focus.emplace_back((a.x + b.x) / 2, (a.y + b.y) / 2);
            }
            kinds[size_t(coord(0, int16_t(kinds.size() - 1)))] = record();
        } else if (round % 2) {
            points.resize(points.size() - 30);
        } else {
            for (int k = 0; k < 30; ++k) points.push_back(record());
            kinds.push_back(record());
        }
    }
    // Nothing changed: the same lists stay indexed.
    index.Invalidate();
    index.Sync(st);
    EXPECT_EQ(index.List(0), st.PointsToVector());
}

// Told only that the surface changed, the zoomed-out view compares it with
// the copy it was made from; what it then shows must be what a view made
// afresh shows, with lines removed, moved and added.
TEST(ZoomedOut, ChangesFoundByComparingShowWhatAFreshViewShows) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(1, 598), y(0, 397), d(-30, 30);
    Surface s(600, 400);
    Store st;
    std::vector<Rec> points{{0, 0}};
    auto trace = [&] {
        for (int i = 0; i < 60; ++i) {
            const Rec a{int16_t(x(rng)), int16_t(y(rng))};
            points.push_back(a);
            points.push_back(Rec{int16_t(std::clamp(a.x + d(rng), 1, 599)), int16_t(a.y + d(rng))});
            points.push_back(Rec{0, 0});
        }
    };
    auto draw = [&] {
        s.Fill(0);
        s.SetPen(White);
        for (size_t i = 1; i < points.size(); ++i)
            if (points[i - 1].x != 0 && points[i].x != 0)
                s.Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        s.SetPixel(x(rng), y(rng), 4);  // something that is not the network
        st.AssignPoints(points);
    };
    trace();
    draw();
    view::NetworkIndex net;
    net.Sync(st);
    view::ZoomedOut kept;
    for (int exp : {-1, -2, -3}) kept.Part(s, net, ViewScale{exp}, QRect(0, 0, 300, 200));
    // Half the lines go, some move, more come.
    points.resize(points.size() / 2);
    points[5] = Rec{300, 200};
    trace();
    draw();
    net.Invalidate();
    net.Sync(st);
    kept.Invalidate();
    for (int exp : {-1, -2, -3}) {
        SCOPED_TRACE(exp);
        view::ZoomedOut fresh;
        const ViewScale sc{exp};
        const QRect all(0, 0, sc.WidgetLength(600), sc.WidgetLength(400));
        EXPECT_EQ(kept.Part(s, net, sc, all), fresh.Part(s, net, sc, all));
    }
}
