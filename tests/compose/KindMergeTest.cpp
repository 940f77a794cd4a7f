// Joining line-kind groups end to end.
#include <gtest/gtest.h>

#include <random>

#include "LiteralCompose.h"
#include "compose/KindMerge.h"

using compose::MergeKindGroups;

namespace {
using L = std::vector<Rec>;
Rec H(int16_t kind) {
    return Rec{0, kind};
}
}  // namespace

TEST(KindMerge, EmptyOrGrouplessListsBecomeEmpty) {
    EXPECT_TRUE(MergeKindGroups({}).empty());
    EXPECT_TRUE(MergeKindGroups({Rec{0, 0}}).empty());
    EXPECT_TRUE(MergeKindGroups({H(-1), H(-9)}).empty());  // headers without points
}

TEST(KindMerge, GroupsMeetingEndToEndBecomeOneInEitherDirection) {
    // The second starts where the first ends.
    EXPECT_EQ(MergeKindGroups({H(-1), {1, 1}, {2, 2}, H(-1), {2, 2}, {3, 3}}),
              (L{H(-1), {1, 1}, {2, 2}, {3, 3}}));
    // The second ends where the first ends: taken in reverse.
    EXPECT_EQ(MergeKindGroups({H(-1), {1, 1}, {2, 2}, H(-1), {3, 3}, {2, 2}}),
              (L{H(-1), {1, 1}, {2, 2}, {3, 3}}));
    // Joined before the first point: the far end comes first.
    EXPECT_EQ(MergeKindGroups({H(-9), {2, 2}, {3, 3}, H(-9), {0 + 1, 1}, {2, 2}}),
              (L{H(-9), {1, 1}, {2, 2}, {3, 3}}));
}

TEST(KindMerge, KindsNeverMixAndEmptyGroupsAreDropped) {
    const L in{H(-1), {1, 1}, {2, 2}, H(-8), H(-9), {2, 2}, {3, 3}, H(-1), {5, 5}, {6, 6}};
    EXPECT_EQ(MergeKindGroups(in),
              (L{H(-1), {1, 1}, {2, 2}, H(-9), {2, 2}, {3, 3}, H(-1), {5, 5}, {6, 6}}));
}

TEST(KindMerge, ThreePiecesJoinWhicheverStandsFirst) {
    const L a{{1, 1}, {2, 2}}, b{{2, 2}, {3, 3}}, c{{3, 3}, {4, 4}};
    const L want{H(-1), {1, 1}, {2, 2}, {3, 3}, {4, 4}};
    auto list = [](std::initializer_list<L> groups) {
        L out;
        for (const L& g : groups) {
            out.push_back(H(-1));
            out.insert(out.end(), g.begin(), g.end());
        }
        return out;
    };
    EXPECT_EQ(MergeKindGroups(list({b, a, c})), want);
    EXPECT_EQ(MergeKindGroups(list({c, b, a})), want);
    EXPECT_EQ(MergeKindGroups(list({a, c, b})), want);
}

TEST(KindMerge, AgreesWithTheGroupByGroupMergeOnRandomLists) {
    // Short pieces over few points of two kinds, so joins, loops, branches
    // (three pieces at one point), single points and empty headers all occur.
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        std::uniform_int_distribution<int> pt(1, 6), len(0, 4), kind(0, 1), groups(0, 12);
        L in;
        const int n = groups(rng);
        for (int g = 0; g < n; ++g) {
            in.push_back(H(kind(rng) ? -1 : -9));
            for (int k = len(rng); k > 0; --k)
                in.push_back(Rec{int16_t(pt(rng)), int16_t(pt(rng) % 3)});
        }
        Store st;
        st.AssignKinds(in);
        LiteralMergeKinds(st);
        ASSERT_EQ(MergeKindGroups(in), st.KindsToVector()) << "round " << round;
    }
}
