// The indexed composition against the record-by-record one: the same point
// lists, kind lists and failures on generated maps and random networks.
#include <gtest/gtest.h>

#include <random>

#include "ComposeSupport.h"
#include "LiteralCompose.h"
#include "compose/Composer.h"
#include "compose/NetworkIndex.h"
#include "compose/Rebuild.h"
#include "support/MapGenerator.h"

using namespace compose;

namespace {

struct Both {
    std::optional<Failure> fast;
    LiteralResult literal;
    Store fastStore, literalStore;
};

void RunBoth(const MapRecipe& recipe, Both& b, GeneratedMap* info = nullptr) {
    const GeneratedMap g = GenerateMap(recipe, b.fastStore);
    GenerateMap(recipe, b.literalStore);
    if (info) *info = g;
    Surface s1(g.width, g.height), s2(g.width, g.height);
    PaintNetwork(b.fastStore, s1);
    PaintNetwork(b.literalStore, s2);
    b.fast = ComposeMap(b.fastStore, s1);
    b.literal = LiteralCompose(b.literalStore, s2);
    ASSERT_TRUE(std::equal(s1.Data(), s1.Data() + size_t(g.width) * size_t(g.height), s2.Data()));
}

void ExpectSame(const Both& b) {
    ASSERT_EQ(b.fast.has_value(), !b.literal.ok);
    if (b.fast) {
        EXPECT_EQ(b.fast->area, b.literal.area);
        EXPECT_EQ(b.fast->slot, b.literal.slot);
        EXPECT_EQ(b.fast->result.outcome, b.literal.outcome);
        EXPECT_EQ(b.fast->result.start.s, b.literal.start);
        if (b.literal.outcome == Outcome::Lost) {
            EXPECT_EQ(b.fast->result.node, b.literal.node);
        }
    }
    EXPECT_EQ(b.fastStore.PointsToVector(), b.literalStore.PointsToVector());
    EXPECT_EQ(b.fastStore.KindsToVector(), b.literalStore.KindsToVector());
}

}  // namespace

TEST(FastVsLiteral, GeneratedMapsComposeIdentically) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        MapRecipe recipe;
        recipe.cells = 150 + 50 * int(seed);
        recipe.seed = seed;
        recipe.kinds = true;
        recipe.cellsPerArea = 1 + int(seed % 3);
        recipe.extraPositionEvery = seed == 2 ? 5 : 0;
        Both b;
        GeneratedMap g;
        RunBoth(recipe, b, &g);
        SCOPED_TRACE(seed);
        ASSERT_FALSE(b.fast) << "area " << b.fast->area << " outcome "
                             << int(b.fast->result.outcome);
        ExpectSame(b);
        // One closed chain per position, followed by nothing.
        const auto chains = ctest::Chains(b.fastStore.PointsToVector());
        EXPECT_EQ(int(chains.size()), g.positions);
    }
}

TEST(FastVsLiteral, DamagedMapsFailAlike) {
    for (auto damage : {MapRecipe::Gap, MapRecipe::DuplicateSegment}) {
        MapRecipe recipe;
        recipe.cells = 120;
        recipe.seed = 11;
        recipe.damage = damage;
        Both b;
        GeneratedMap g;
        RunBoth(recipe, b, &g);
        ASSERT_TRUE(b.fast);
        EXPECT_EQ(b.fast->result.outcome,
                  damage == MapRecipe::Gap ? Outcome::NotClosed : Outcome::Lost);
        EXPECT_LE(b.fast->area, g.damagedArea + 1);
        ExpectSame(b);
    }
}

TEST(FastVsLiteral, CuttingAndTidyingAgreeOnRandomNetworks) {
    // Chains over a few coordinates, with repeats, lone points and runs of
    // separators; the "stream" walks random neighbours through them.
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(1, 4), len(1, 6), chains(1, 12), seps(1, 3);
    for (int round = 0; round < 500; ++round) {
        std::vector<Rec> pts{Rec{}};
        for (int c = chains(rng); c > 0; --c) {
            for (int k = len(rng); k > 0; --k)
                pts.push_back(Rec{int16_t(coord(rng)), int16_t(coord(rng))});
            for (int k = seps(rng); k > 0; --k) pts.push_back(Rec{});
        }
        std::vector<Rec> stream{Rec{}};
        std::vector<int> flat{0, 0};
        for (int k = std::uniform_int_distribution<int>(0, 30)(rng); k > 0; --k) {
            const Rec r =
                (k % 7 == 0)
                    ? Rec{}
                    : pts[size_t(std::uniform_int_distribution<int>(0, int(pts.size()) - 1)(rng))];
            stream.push_back(r);
            flat.insert(flat.end(), {r.x, r.y});
        }
        Store st;
        st.AssignPoints(pts);
        LiteralCut(st, flat);
        const std::vector<Rec> cut = CutTracedSegments(pts, stream);
        ASSERT_EQ(cut, st.PointsToVector()) << "round " << round;
        // Told which segment each pair was walked along (one of those joining
        // it, where any does), the cut must not miss a repeated one.
        std::vector<int32_t> walked(stream.size(), -1);
        for (size_t k = 1; k < stream.size(); ++k)
            for (size_t i = 0; i + 1 < pts.size(); ++i)
                if ((pts[i] == stream[k - 1] && pts[i + 1] == stream[k]) ||
                    (pts[i] == stream[k] && pts[i + 1] == stream[k - 1]))
                    walked[k] = int32_t(i);
        ASSERT_EQ(CutTracedSegments(NetworkIndex(pts), stream, walked), cut) << "round " << round;
        LiteralTidy(st);
        ASSERT_EQ(TidyRecords(cut), st.PointsToVector()) << "round " << round;
    }
}

TEST(NetworkIndex, SegmentsWithAMidpointInARectangleComeOnceInIndexOrder) {
    // Random chains with separators: small rectangles give a few segments,
    // large ones hundreds (taken in order another way than a few).
    std::mt19937 rng(24);
    std::vector<Rec> pts{Rec{}};
    for (int i = 0; i < 4000; ++i)
        pts.push_back(rng() % 40 == 0 ? Rec{} : Rec{int16_t(1 + rng() % 600), int16_t(rng() % 400)});
    const NetworkIndex index(pts);
    std::vector<int32_t> got, want;
    for (int round = 0; round < 40; ++round) {
        const int x = int(rng() % 600), y = int(rng() % 400);
        const QRect r(x, y, 1 + int(rng() % (round < 20 ? 40 : 600)), 1 + int(rng() % 400));
        index.SegmentsWithMidpointIn(r, got);
        want.clear();
        for (int32_t i = 0; i + 1 < int32_t(pts.size()); ++i) {
            const Rec a = pts[size_t(i)], b = pts[size_t(i) + 1];
            if (a.x != 0 && b.x != 0 && r.contains(HalfEvenMid(a.x, b.x), HalfEvenMid(a.y, b.y)))
                want.push_back(i);
        }
        ASSERT_EQ(got, want) << "round " << round;
    }
}
