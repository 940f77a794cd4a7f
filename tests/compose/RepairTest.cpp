// Repairs of a traced network: what each mends on a hand-made map, and on the
// world map broken the way hand tracing breaks it, that the check closes
// what it closed before, with the same outlines.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "ComposeSupport.h"
#include "compose/Composer.h"
#include "compose/Repair.h"
#include "ops/Network.h"
#include "usecases/CleanMap.h"
#include "usecases/WorkFiles.h"

using namespace compose;
using namespace ctest;

TEST(Repair, EachKindMendsItsOwnFaultAndLeavesTheRestAlone) {
    // A box whose right wall stops 2 px short of the floor (a gap), a wall
    // inside that runs 2 px past the ceiling (an overshoot), a line across
    // the box crossing that wall without a shared point, a short dead end,
    // and a segment traced twice.
    std::vector<Rec> v{Rec{}};
    auto chain = [&](std::initializer_list<std::pair<int, int>> pts) {
        for (auto [x, y] : pts) v.push_back(Rec{int16_t(x), int16_t(y)});
        v.push_back(Rec{});
    };
    chain({{100, 80}, {10, 80}, {10, 10}, {100, 10}, {100, 78}});
    chain({{50, 8}, {50, 80}});
    chain({{10, 40}, {100, 50}});
    chain({{10, 60}, {14, 60}});
    chain({{20, 10}, {30, 10}});  // lies on the ceiling, but ends on no point of it
    const std::vector<Rec> kinds{Rec{KindDivision, 0}, Rec{50, 8}, Rec{50, 80}};
    RepairOptions o;
    o.dangle = 5;
    const Repaired r = RepairNetwork(v, kinds, o);
    std::vector<std::string> got;
    for (const Repair& p : r.repairs) got.push_back(RepairKey(p.kind));
    EXPECT_EQ(got, (std::vector<std::string>{"gap", "crossing", "crossing", "dangle"}));
    // The gap joins the floor's corner. The wall's end past the ceiling is a
    // line of a kind, so it is not cut: the crossing there puts a point into
    // both, as the one with the line across does; the kind list follows.
    const auto chains = Chains(r.points);
    ASSERT_GE(chains.size(), 3u);
    EXPECT_EQ(chains[0].back(), (Rec{100, 80}));
    EXPECT_EQ(r.repairs[1].place, (Pt{50, 10}));
    EXPECT_EQ(r.repairs[2].place, (Pt{50, 44}));
    EXPECT_EQ(chains[1], (Chain{{50, 8}, {50, 10}, {50, 44}, {50, 80}}));
    EXPECT_EQ(chains[2], (Chain{{10, 40}, {50, 44}, {100, 50}}));
    EXPECT_EQ(r.kinds,
              (std::vector<Rec>{Rec{KindDivision, 0}, {50, 8}, {50, 10}, {50, 44}, {50, 80}}));
    // The dead end went, whole.
    for (const Chain& c : chains) EXPECT_NE(c.front(), (Rec{14, 60}));

    // Nothing to mend: the lists come back as they were.
    const Repaired again = RepairNetwork(r.points, r.kinds, {});
    EXPECT_FALSE(again.Changed());
    EXPECT_EQ(again.points, r.points);

    // Within a rectangle only what lies there.
    RepairOptions only;
    only.within = {QRect(90, 70, 20, 20)};
    const Repaired one = RepairNetwork(v, kinds, only);
    ASSERT_EQ(one.repairs.size(), 1u);
    EXPECT_EQ(one.repairs[0].kind, RepairKind::Gap);
}

namespace {

const QString kWorld = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm");

// Each position's outline traced on its own from the network alone: the
// signed area of its ring, 0 when it does not close; its points into rings.
std::vector<double> OutlineAreas(const Store& st, std::vector<std::vector<Rec>>* rings = nullptr) {
    std::vector<Rec> v = st.PointsToVector();
    net::RemoveRepeatedSegments(v);
    const NetworkIndex net(v);
    Surface blank(st.MapWidth + 4, st.MapHeight + 4);
    std::unique_ptr<OutlineTracer> tracer;
    std::vector<double> out;
    std::vector<Rec> stream;
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0, n = TracedSlots(st, a); k < n; ++k) {
            // A lost way stays with the tracer that met it.
            if (!tracer || tracer->NeedsSurface()) {
                tracer = std::make_unique<OutlineTracer>(net, blank);
                tracer->WithoutSurface();
            }
            stream.clear();
            const TraceResult r = tracer->TraceOutline(st.AreaPos(k, a).x, st.AreaPos(k, a).y,
                                                       stream, a);
            double area = 0;
            if (r.outcome == Outcome::Closed && !tracer->NeedsSurface())
                for (int32_t i = 1; i < r.points; ++i)
                    area += double(stream[size_t(i) - 1].x) * stream[size_t(i)].y -
                            double(stream[size_t(i)].x) * stream[size_t(i) - 1].y;
            out.push_back(area / 2);
            if (rings) rings->emplace_back(stream.begin(), stream.begin() + std::max(r.points, 0));
        }
    return out;
}

}  // namespace

TEST(Repair, AWorldMapBrokenAsHandTracingBreaksItClosesAgainWithTheSameOutlines) {
    Store world;
    Surface surf;
    usecase::OpenWork(world, surf, kWorld, usecase::ReadWork(kWorld), QString());
    std::vector<std::vector<Rec>> rings;
    const std::vector<double> before = OutlineAreas(world, &rings);

    // Every seventh chain end that lies on a node: missed by a pixel or two,
    // stopped 2 px short, or run 2 px past along its last segment.
    std::vector<Rec> v = world.PointsToVector();
    std::unordered_map<uint32_t, int> held;
    for (Rec r : v)
        if (r.x > 0) ++held[uint32_t(uint16_t(r.x)) << 16 | uint16_t(r.y)];
    // A node only two line ends hold (segments traced twice once dropped),
    // one of them moved: the two loose ends are alike, nothing tells which
    // one missed. The repair moves the later one onto the earlier (the last
    // click is the one that misses); where the earlier one was moved, the
    // node comes back a pixel or two away.
    std::vector<Rec> ready = v;
    net::RemoveRepeatedSegments(ready);
    std::unordered_map<uint32_t, int> holders;
    for (Rec r : ready)
        if (r.x > 0) ++holders[uint32_t(uint16_t(r.x)) << 16 | uint16_t(r.y)];
    std::unordered_set<uint32_t> alike;
    std::mt19937 rng(24);
    int ends = 0, broken = 0;
    std::unordered_set<uint32_t> missed;
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        const bool first = v[i - 1].x == 0 && v[i + 1].x > 0, last = v[i + 1].x == 0 && v[i - 1].x > 0;
        if (!(first || last) || held[uint32_t(uint16_t(v[i].x)) << 16 | uint16_t(v[i].y)] < 2)
            continue;
        const uint32_t node = uint32_t(uint16_t(v[i].x)) << 16 | uint16_t(v[i].y);
        if (++ends % 7 || !missed.insert(node).second) continue;  // one end a node
        const Rec from = v[first ? i + 1 : i - 1];
        const double dx = v[i].x - from.x, dy = v[i].y - from.y, len = std::hypot(dx, dy);
        Rec to = v[i];
        switch (len < 4 ? 0 : rng() % 3) {
            case 0:
                to.x = int16_t(to.x + int(rng() % 5) - 2);
                to.y = int16_t(to.y + int(rng() % 5) - 2);
                break;
            case 1:
            case 2: {
                const double s = (rng() % 2 ? 2.0 : -2.0) / len;
                to = Rec{int16_t(std::lround(v[i].x + s * dx)), int16_t(std::lround(v[i].y + s * dy))};
                break;
            }
        }
        // A miss lands on empty paper, not on another line's point.
        if (to == v[i] || held.count(uint32_t(uint16_t(to.x)) << 16 | uint16_t(to.y))) continue;
        if (holders[node] == 2) alike.insert(node);
        v[i] = to;
        ++broken;
    }
    ASSERT_GT(broken, 60);
    Store damaged = world;
    ASSERT_TRUE(damaged.AssignPoints(v));
    const std::vector<double> hurt = OutlineAreas(damaged);

    const usecase::CleanOutcome cleaned = usecase::CleanNetwork(damaged, {});
    ASSERT_TRUE(cleaned.result.ok);
    const std::vector<double> after = OutlineAreas(damaged);
    ASSERT_EQ(after.size(), before.size());
    int closedBefore = 0, closedHurt = 0, closedAfter = 0, differ = 0, moved = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        closedBefore += before[i] != 0;
        closedHurt += hurt[i] != 0;
        if (before[i] == 0 || after[i] == 0) continue;
        ++closedAfter;
        const double off = std::abs(after[i] - before[i]);
        if (off <= 0.01 * std::abs(before[i])) continue;
        bool atAlike = false;
        for (Rec r : rings[i])
            atAlike = atAlike || alike.count(uint32_t(uint16_t(r.x)) << 16 | uint16_t(r.y));
        if (atAlike && off <= 8)
            ++moved;
        else
            ++differ;
    }
    EXPECT_LT(closedHurt, closedBefore * 60 / 100);  // the breaking did break it
    EXPECT_GE(closedAfter * 100, closedBefore * 99);
    EXPECT_EQ(differ, 0);
    // Where the later end was moved the node comes back where it was.
    EXPECT_LE(moved * 20, int(alike.size()));
}
