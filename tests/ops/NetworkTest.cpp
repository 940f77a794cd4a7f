#include <gtest/gtest.h>

#include <random>

#include "ops/Network.h"
#include "ops/Simplify.h"
#include "support/FakeUi.h"
#include "support/LiteralNetwork.h"

namespace {

Rec R(int x, int y) {
    return Rec{int16_t(x), int16_t(y)};
}
const Rec Sep{0, 0};

Store StoreWith(const std::vector<Rec>& v) {
    Store s;
    for (size_t i = 0; i < v.size(); ++i) s.SetPoint(int32_t(i), v[i]);
    s.PointLast = int32_t(v.size()) - 1;
    return s;
}

std::string Show(const std::vector<Rec>& v) {
    std::string t;
    for (Rec r : v) t += "(" + std::to_string(r.x) + "," + std::to_string(r.y) + ")";
    return t;
}

// Random networks of the shapes that stress the two operations: chains over a
// small grid (so points and segments recur), segments repeated forwards and
// backwards, closed rings sharing sides, doubled separators, lone points,
// points clicked twice, negative x, and lists ending in an open chain.
std::vector<Rec> RandomNetwork(std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const int grid = 2 + pick(6);
    auto point = [&] {
        int x = 1 + pick(grid), y = 1 + pick(grid);
        if (pick(40) == 0) x = -x;
        return R(x, y);
    };
    std::vector<Rec> v{Sep};
    const int chains = pick(9);
    for (int c = 0; c < chains; ++c) {
        switch (pick(7)) {
            case 0:  // a run of separators
                for (int k = 1 + pick(4); k > 0; --k) v.push_back(Sep);
                break;
            case 1:  // a lone point
                v.push_back(point());
                break;
            case 2: {  // repeat an earlier stretch, maybe reversed
                if (v.size() < 3) break;
                size_t a = size_t(pick(int(v.size()))), len = size_t(2 + pick(4));
                std::vector<Rec> part(v.begin() + long(a),
                                      v.begin() + long(std::min(v.size(), a + len)));
                if (pick(2)) std::reverse(part.begin(), part.end());
                v.insert(v.end(), part.begin(), part.end());
                break;
            }
            case 3: {  // a closed ring
                Rec first = point();
                v.push_back(first);
                for (int k = pick(4); k >= 0; --k) v.push_back(point());
                v.push_back(first);
                break;
            }
            default: {  // a plain chain, sometimes with a point clicked twice
                for (int k = 1 + pick(6); k > 0; --k) {
                    v.push_back(point());
                    if (pick(10) == 0) v.push_back(v.back());
                }
            }
        }
        if (c + 1 < chains || pick(3)) v.push_back(Sep);
    }
    return v;
}

}  // namespace

TEST(Tidy, RemovesLonePointsThenRepeats) {
    struct Case {
        const char* what;
        std::vector<Rec> in, out;
    } cases[] = {
        {"lone point and doubled separator",
         {Sep, R(5, 5), Sep, Sep, R(7, 7), R(8, 8)},
         {Sep, R(7, 7), R(8, 8)}},
        {"a lone point at the very end stays",
         {Sep, R(1, 1), R(2, 2), Sep, R(9, 9)},
         {Sep, R(1, 1), R(2, 2), Sep, R(9, 9)}},
        {"two equal points become a lone point and stay",
         {Sep, R(3, 3), R(3, 3), Sep},
         {Sep, R(3, 3), Sep}},
        {"a point clicked twice in place",
         {Sep, R(1, 1), R(2, 2), R(2, 2), R(3, 3), Sep},
         {Sep, R(1, 1), R(2, 2), R(3, 3), Sep}},
        {"a run of separators",
         {Sep, R(1, 1), R(2, 2), Sep, Sep, Sep, Sep, R(4, 4), R(5, 5)},
         {Sep, R(1, 1), R(2, 2), Sep, R(4, 4), R(5, 5)}},
        {"nothing to do", {Sep, R(1, 1), R(2, 2), Sep}, {Sep, R(1, 1), R(2, 2), Sep}},
        {"only record 0", {Sep}, {Sep}},
    };
    for (auto& c : cases) {
        std::vector<Rec> v = c.in;
        net::Tidy(v);
        EXPECT_EQ(v, c.out) << c.what << ": " << Show(v);
        Store s = StoreWith(c.in);
        literal::TidyPointList(s);
        EXPECT_EQ(s.PointsToVector(), c.out) << c.what << " (record by record)";
    }
}

TEST(RemoveRepeatedSegments, TwoSquaresSharingASideKeepItInTheLaterSquare) {
    const Rec a = R(10, 10), b = R(20, 10), c = R(20, 20), d = R(10, 20);
    const Rec e = R(30, 10), f = R(30, 20);
    // The later square runs the shared side the other way round.
    std::vector<Rec> v{Sep, a, b, c, d, a, Sep, b, e, f, c, b, Sep};
    net::RemoveRepeatedSegments(v);
    EXPECT_EQ(v, (std::vector<Rec>{Sep, a, b, Sep, c, d, a, Sep, b, e, f, c, b, Sep})) << Show(v);
}

TEST(RemoveRepeatedSegments, ComposedOutlinesReturnToANetwork) {
    // Three areas side by side, each stored as its own closed outline, as the
    // composition leaves them: every inner side occurs twice.
    auto ring = [](int x0) {
        return std::vector<Rec>{R(x0, 10), R(x0 + 10, 10), R(x0 + 10, 20), R(x0, 20), R(x0, 10)};
    };
    std::vector<Rec> v{Sep};
    for (int x0 : {10, 20, 30}) {
        auto r = ring(x0);
        v.insert(v.end(), r.begin(), r.end());
        v.push_back(Sep);
    }
    net::RemoveRepeatedSegments(v);
    // Each side of the grid once: 10 sides.
    int segments = 0;
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i].x != 0 && v[i - 1].x != 0) ++segments;
    EXPECT_EQ(segments, 10) << Show(v);
    // Running it again finds nothing more to drop.
    std::vector<Rec> again = v;
    net::RemoveRepeatedSegments(again);
    EXPECT_EQ(again, v);
}

TEST(RemoveRepeatedSegments, NetworkWithoutRepeatsIsOnlyTidied) {
    std::vector<Rec> v{Sep, R(1, 1), R(5, 1), R(5, 5), Sep, Sep, R(9, 9), Sep, R(5, 5), R(1, 5)};
    net::RemoveRepeatedSegments(v);
    EXPECT_EQ(v, (std::vector<Rec>{Sep, R(1, 1), R(5, 1), R(5, 5), Sep, R(5, 5), R(1, 5)}));
}

TEST(RemoveRepeatedSegments, EditorClearsCompositionFlags) {
    TestEditor t;
    t.Chain({{10, 10}, {20, 10}, {20, 20}, {10, 10}});
    t.Chain({{20, 10}, {10, 10}});
    EditMap(t.ed, [&](Store& s_) { s_.Completed = s_.Composed = true; });
    t.ed.upkeep.RemoveRepeatedSegments();
    EXPECT_FALSE(t.st().Completed);
    EXPECT_FALSE(t.st().Composed);
    EXPECT_EQ(t.Points(), (std::vector<Rec>{Sep, R(20, 10), R(20, 20), R(10, 10), Sep, R(20, 10),
                                            R(10, 10), Sep}));
    EXPECT_FALSE(t.ui.progressVisible);
}

// The fast forms against the record-by-record procedures, on many random
// networks: any difference in a corner (doubled separators, chains of equal
// points, a list that ends in an open chain) shows up here.
TEST(NetworkOperations, MatchTheRecordByRecordProceduresOnRandomNetworks) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 6000; ++round) {
        const std::vector<Rec> in = RandomNetwork(rng);

        std::vector<Rec> fast = in;
        net::Tidy(fast);
        Store s = StoreWith(in);
        literal::TidyPointList(s);
        ASSERT_EQ(fast, s.PointsToVector()) << "tidy of " << Show(in);

        fast = in;
        net::RemoveRepeatedSegments(fast);
        s = StoreWith(in);
        literal::RemoveRepeatedSegments(s);
        ASSERT_EQ(fast, s.PointsToVector()) << "repeats of " << Show(in);
    }
}

TEST(NetworkOperations, EditorMatchesTheProceduresAcrossPages) {
    // Large enough to span several store pages.
    std::mt19937 rng(7);
    std::vector<Rec> in{Sep};
    while (in.size() < 40000) {
        auto part = RandomNetwork(rng);
        in.insert(in.end(), part.begin() + 1, part.end());
    }
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) { s_.AssignPoints(in); });
    t.ed.upkeep.TidyPointList();
    Store s = StoreWith(in);
    literal::TidyPointList(s);
    EXPECT_EQ(t.Points(), s.PointsToVector());
}

TEST(Simplify, AnEdgeKeepsABumpThatHoldsOrPassesAPosition) {
    // A bump 3 px high is within 3.5 px of the straight line.
    const std::vector<QPoint> bump{{0, 0}, {5, 0}, {5, 3}, {10, 3}, {10, 0}, {15, 0}};
    std::vector<std::vector<QPoint>> edges{bump};
    ops::SimplifyPlanar(edges, 3.5);
    EXPECT_EQ(edges[0], (std::vector<QPoint>{{0, 0}, {15, 0}}));
    edges = {bump};
    ops::SimplifyPlanar(edges, 3.5, {{7, 1}, {30, 30}});
    EXPECT_EQ(edges[0], bump);
    // A point the straight line would pass right by, though on the same side.
    edges = {bump};
    ops::SimplifyPlanar(edges, 3.5, {{7, -1}});
    EXPECT_EQ(edges[0], bump);
}
