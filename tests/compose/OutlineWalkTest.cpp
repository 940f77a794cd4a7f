// Single walk steps at nodes, and whole compositions of random tangles
// against the record-by-record composition.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "ComposeSupport.h"
#include "LiteralCompose.h"
#include "compose/Composer.h"

using namespace compose;
using namespace ctest;

namespace {
struct Net {
    Store st;
    Surface surf{200, 120};
    std::unique_ptr<NetworkIndex> net;
    std::unique_ptr<OutlineTracer> tracer;
    void Build() {
        PaintNetwork(st, surf);
        net = std::make_unique<NetworkIndex>(st.PointsToVector());
        tracer = std::make_unique<OutlineTracer>(*net, surf);
    }
};
}  // namespace

TEST(OutlineWalk, ALaterWinningBranchSetsTheDirectionAgain) {
    // Coming east into (50,50): two branches go north alike, a third turns
    // right (south) and wins after the tie was reported.
    Net n;
    AddChain(n.st, {{10, 50}, {50, 50}});  // records 1, 2
    AddChain(n.st, {{50, 50}, {50, 40}});  // 4, 5
    AddChain(n.st, {{50, 50}, {50, 20}});  // 7, 8
    AddChain(n.st, {{50, 50}, {50, 80}});  // 10, 11
    n.Build();
    int lost = 0;
    n.tracer->onLost = [&](Pt p) {
        ++lost;
        EXPECT_EQ(p, (Pt{50, 50}));
    };
    int32_t cur = 1, next = 2;
    int dir = 1;
    n.tracer->NextOutlineStep(cur, next, dir);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(cur, 2);
    EXPECT_EQ(next, 11);
    EXPECT_EQ(dir, 1);
    for (Pt p : {Pt{10, 50}, Pt{50, 50}, Pt{50, 40}, Pt{50, 20}})
        EXPECT_EQ(n.surf.Pixel(p.x, p.y), Red);
    EXPECT_EQ(n.surf.Pixel(50, 80), Yellow);
}

TEST(OutlineWalk, EveryBranchOfABusyNodeIsConsidered) {
    // Twelve lines leave (100,60); the sharpest right turn is the last one.
    Net n;
    AddChain(n.st, {{60, 60}, {100, 60}});
    const int spokes[11][2] = {{10, -1}, {10, -3},  {10, -6},  {10, -10},  {6, -10}, {3, -10},
                               {0, -10}, {-3, -10}, {-6, -10}, {-10, -10}, {-10, -6}};
    for (auto [dx, dy] : spokes) AddChain(n.st, {{100, 60}, {100 + dx, 60 + dy}});
    AddChain(n.st, {{100, 60}, {90, 62}});
    n.Build();
    int32_t cur = 1, next = 2;
    int dir = 1;
    n.tracer->NextOutlineStep(cur, next, dir);
    EXPECT_EQ(n.st.Point(next), (Rec{90, 62}));
    EXPECT_EQ(dir, 1);
}

TEST(OutlineWalk, AnOrdinaryVertexNeverLooksForBranches) {
    // (50,50) is held twice, but its pixel is not lime: the walk goes straight on.
    Net n;
    AddChain(n.st, {{10, 50}, {50, 50}, {90, 50}});
    AddChain(n.st, {{50, 50}, {50, 90}});
    n.Build();
    n.surf.SetPixel(50, 50, Yellow);
    int32_t cur = 1, next = 2;
    int dir = 1;
    n.tracer->NextOutlineStep(cur, next, dir);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(dir, 1);
}

TEST(OutlineWalk, RandomTanglesComposeAsTheLiteralOneDoes) {
    // Crossing, overlapping and dangling lines over a small field, with
    // positions anywhere (on lines too): every kind of failure turns up, and
    // whichever it is, both compositions must end the same way.
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> cx(5, 75), cy(5, 55), len(2, 5), chains(3, 14);
    std::map<int, int> outcomes;
    for (int round = 0; round < 300; ++round) {
        Store a, b;
        for (Store* st : {&a, &b}) st->PointLast = 0;
        std::vector<std::vector<Rec>> lines;
        for (int c = chains(rng); c > 0; --c) {
            std::vector<Rec> l;
            for (int k = len(rng); k > 0; --k) {
                // Reuse earlier points often, so that nodes and rings form.
                if (!lines.empty() && k % 2 == 0) {
                    const auto& o = lines[size_t(rng() % lines.size())];
                    l.push_back(o[size_t(rng() % o.size())]);
                } else {
                    l.push_back(Rec{int16_t(cx(rng)), int16_t(cy(rng))});
                }
            }
            lines.push_back(l);
        }
        // Half the tangles lie in a frame, so that regions close.
        if (round % 2 == 0) lines.push_back({{3, 3}, {76, 3}, {76, 56}, {3, 56}, {3, 3}});
        for (Store* st : {&a, &b}) {
            for (const auto& l : lines) {
                for (Rec r : l) st->AppendPoint(r.x, r.y);
                st->AppendPoint(0, 0);
            }
            st->AreaCount = 0;
        }
        const int areas = 1 + int(rng() % 3);
        for (int ar = 1; ar <= areas; ++ar) {
            const int nslots = 1 + int(rng() % 2);
            for (Store* st : {&a, &b}) ++st->AreaCount;
            for (int k = 0; k < Store::Slots; ++k) {
                const Rec p = k < nslots ? Rec{int16_t(cx(rng)), int16_t(cy(rng))} : Rec{};
                a.AreaPos(k, ar) = p;
                b.AreaPos(k, ar) = p;
            }
        }
        Surface sa(80, 60), sb(80, 60);
        PaintNetwork(a, sa);
        PaintNetwork(b, sb);
        const auto fast = ComposeMap(a, sa);
        const LiteralResult lit = LiteralCompose(b, sb);
        ASSERT_EQ(fast.has_value(), !lit.ok) << round;
        outcomes[fast ? int(fast->result.outcome) : -1]++;
        if (fast) {
            ASSERT_EQ(fast->area, lit.area) << round;
            ASSERT_EQ(fast->slot, lit.slot) << round;
            ASSERT_EQ(fast->result.outcome, lit.outcome) << round;
        }
        ASSERT_EQ(a.PointsToVector(), b.PointsToVector()) << round;
        ASSERT_TRUE(std::equal(sa.Data(), sa.Data() + 80 * 60, sb.Data())) << round;
    }
    // The tangles did reach the interesting endings.
    EXPECT_GT(outcomes[-1], 0);
    EXPECT_GT(outcomes[int(Outcome::NotClosed)], 0);
    EXPECT_GT(outcomes[int(Outcome::NoStart)], 0);
    EXPECT_GT(outcomes[int(Outcome::Lost)], 0);
}
