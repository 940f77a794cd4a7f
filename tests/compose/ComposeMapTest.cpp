// The composition on hand-made maps: what comes out, in which order, and how
// each failure leaves the store and the surface.
#include <gtest/gtest.h>

#include <functional>

#include "ComposeSupport.h"
#include "compose/Composer.h"
#include "support/MapGenerator.h"

using namespace compose;
using namespace ctest;

namespace {
struct Map {
    Store st;
    Surface surf{200, 120};
    std::optional<Failure> Compose() {
        PaintNetwork(st, surf);
        return ComposeMap(st, surf);
    }
};
}  // namespace

TEST(ComposeMap, TwoRoomsGiveTwoClosedOutlinesAndNoLeftovers) {
    Map m;
    TwoRooms(m.st);
    AddArea(m.st, "左", {{35, 35}});
    AddArea(m.st, "右", {{85, 35}});
    ASSERT_FALSE(m.Compose());
    const auto v = m.st.PointsToVector();
    const auto chains = Chains(v);
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_TRUE(SameCycle(chains[0], kLeftRoom));
    EXPECT_TRUE(SameCycle(chains[1], kRightRoom));
    EXPECT_EQ(v.front(), Rec{});
    EXPECT_EQ(v.back(), Rec{});
    for (size_t i = 1; i < v.size(); ++i) EXPECT_FALSE(v[i] == v[i - 1]) << i;
    // The surface is clean again: every region was filled back to black.
    EXPECT_EQ(m.surf.Pixel(35, 35), Black);
    EXPECT_EQ(m.surf.Pixel(85, 35), Black);
}

TEST(ComposeMap, OutlinesComeInAreaThenSlotOrderAndUntracedLinesFollow) {
    Map m;
    TwoRooms(m.st);
    AddChain(m.st, {{150, 20}, {170, 40}});  // a line no outline uses
    const Chain box{{130, 60}, {190, 60}, {190, 110}, {130, 110}, {130, 60}};
    AddChain(m.st, {{130, 60}, {190, 60}, {190, 110}, {130, 110}, {130, 60}});
    AddArea(m.st, "一", {{85, 35}, {35, 35}});
    AddArea(m.st, "空", {});                              // no positions: skipped
    AddArea(m.st, "二", {{150, 80}, {-1, 5}, {90, 20}});  // stops at the first X <= 0
    ASSERT_FALSE(m.Compose());
    const auto chains = Chains(m.st.PointsToVector());
    ASSERT_EQ(chains.size(), 4u);
    EXPECT_TRUE(SameCycle(chains[0], kRightRoom));
    EXPECT_TRUE(SameCycle(chains[1], kLeftRoom));
    EXPECT_TRUE(SameCycle(chains[2], box));
    EXPECT_EQ(chains[3], (Chain{{150, 20}, {170, 40}}));
}

TEST(ComposeMap, AWallThatOnlyOneRoomUsesStaysAsALeftoverPiece) {
    // A ring cut by a wall, only the left room named: the right part of the
    // ring is left over, split where the left outline took its segments.
    Map m;
    TwoRooms(m.st);
    AddArea(m.st, "左", {{35, 35}});
    ASSERT_FALSE(m.Compose());
    const auto chains = Chains(m.st.PointsToVector());
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_TRUE(SameCycle(chains[0], kLeftRoom));
    EXPECT_EQ(chains[1], (Chain{{60, 10}, {110, 10}, {110, 60}, {60, 60}}));
}

TEST(ComposeMap, APositionOnALineFindsNoStartAndChangesNothing) {
    Map m;
    TwoRooms(m.st);
    AddArea(m.st, "左", {{35, 35}});
    AddArea(m.st, "線上", {{60, 20}});
    const auto before = m.st.PointsToVector();
    const auto failed = m.Compose();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->area, 2);
    EXPECT_EQ(failed->slot, 0);
    EXPECT_EQ(failed->result.outcome, Outcome::NoStart);
    EXPECT_EQ(m.st.PointsToVector(), before);
    EXPECT_EQ(FailureText(Outcome::NoStart, QStringLiteral("線上")),
              QStringLiteral("(赤の)領域「線上」の開始点がみつけられませんでした。"));
}

TEST(ComposeMap, ADeadEndIsNotClosedAndTheRegionTurnsRed) {
    // A ring with a gap: the walk runs off a chain end.
    Map m;
    AddChain(m.st, {{10, 15}, {10, 60}, {110, 60}, {110, 10}, {10, 10}});
    AddArea(m.st, "開", {{50, 35}});
    const auto failed = m.Compose();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->result.outcome, Outcome::NotClosed);
    EXPECT_EQ(m.surf.Pixel(50, 35), Red);
    EXPECT_EQ(m.surf.Pixel(150, 100), Red);  // the region leaks out through the gap
    EXPECT_EQ(FailureText(Outcome::NotClosed, QStringLiteral("開")),
              QStringLiteral("赤の区域(開)は閉じていません。"));
}

TEST(ComposeMap, TwoIdenticalSegmentsMakeTheWalkLoseItsWay) {
    // The same wall traced twice (what the normalisation would remove): at its
    // end the two copies turn exactly alike.
    Map m;
    TwoRooms(m.st);
    AddChain(m.st, {{60, 10}, {60, 35}, {60, 60}});
    AddArea(m.st, "左", {{35, 35}});
    std::vector<Pt> lost;
    PaintNetwork(m.st, m.surf);
    ComposeHooks hooks;
    hooks.lostWay = [&](Pt p) { lost.push_back(p); };
    const auto failed = ComposeMap(m.st, m.surf, hooks);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->result.outcome, Outcome::Lost);
    ASSERT_FALSE(lost.empty());
    EXPECT_EQ(failed->result.node, lost.back());
    EXPECT_EQ(m.surf.Pixel(lost.back().x, lost.back().y), Red);
}

TEST(ComposeMap, ARegionTouchingFewSegmentsStillFindsItsStart) {
    // A triangle of three long segments: the run never reaches four.
    Map m;
    AddChain(m.st, {{20, 20}, {100, 20}, {60, 100}, {20, 20}});
    AddArea(m.st, "三角", {{60, 40}});
    ASSERT_FALSE(m.Compose());
    const auto chains = Chains(m.st.PointsToVector());
    ASSERT_EQ(chains.size(), 1u);
    // Clockwise on the screen.
    EXPECT_TRUE(SameCycle(chains[0], (Chain{{20, 20}, {100, 20}, {60, 100}, {20, 20}})));
}

TEST(ComposeMap, AnAreaAroundAnotherIsTracedAlongItsOuterRing) {
    // A county around a city, the city's ring listed first: the first walk
    // goes round the city the other way, which is no outline of the county.
    Map m;
    AddChain(m.st, {{50, 40}, {70, 40}, {70, 60}, {50, 60}, {50, 40}});
    AddChain(m.st, {{10, 10}, {110, 10}, {110, 100}, {10, 100}, {10, 10}});
    AddArea(m.st, "郡", {{30, 50}});
    AddArea(m.st, "市", {{60, 50}});
    ASSERT_FALSE(m.Compose());
    const auto chains = Chains(m.st.PointsToVector());
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_TRUE(
        SameCycle(chains[0], (Chain{{10, 10}, {110, 10}, {110, 100}, {10, 100}, {10, 10}})));
    EXPECT_TRUE(SameCycle(chains[1], (Chain{{50, 40}, {70, 40}, {70, 60}, {50, 60}, {50, 40}})));
}

TEST(ComposeMap, AFailureSaysWhyAndWhere) {
    // Areas 右 and 左 in that order; the failing one's region turns red and
    // the store keeps its lines.
    struct Case {
        const char* what;
        std::function<void(Store&)> build;
        Pt right, left;
        int area;
        Outcome outcome;
        Reason reason;
        Pt place;
        const char* text;
    };
    const Case cases[] = {
        {"a bow tie: two lines crossing without a shared point",
         [](Store& st) {
             AddChain(st, {{10, 10}, {150, 110}, {150, 10}, {10, 40}, {10, 10}});
         },
         {85, 35},
         {18, 25},
         2,
         Outcome::Astray,
         Reason::Crossing,
         Pt{42, 33},
         "赤の区域(左)の境界線が(42,33)で点を共有せずに交差しています。"},
        {"a wall with a gap between the rooms",
         [](Store& st) {
             AddChain(st, {{10, 10}, {60, 10}, {110, 10}, {110, 60}, {60, 60}, {10, 60}, {10, 10}});
             AddChain(st, {{60, 10}, {60, 45}});
         },
         {85, 35},
         {35, 35},
         1,
         Outcome::NotClosed,
         Reason::SharedRegion,
         Pt{35, 35},
         "赤の区域(右)と区域(左)の位置(35,35)が同じ領域にあります。間の境界線が途切れています。"},
        {"an open box beside a closed one",
         [](Store& st) {
             AddChain(st, {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10}});
             AddChain(st, {{60, 10}, {110, 10}, {110, 60}, {70, 60}});
         },
         {85, 35},
         {35, 35},
         1,
         Outcome::NotClosed,
         Reason::Leaks,
         Pt{0, 0},
         "赤の区域(右)は閉じていません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map m;
        c.build(m.st);
        AddArea(m.st, "右", {{c.right.x, c.right.y}});
        AddArea(m.st, "左", {{c.left.x, c.left.y}});
        const auto before = m.st.PointsToVector();
        const auto failed = m.Compose();
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->area, c.area);
        EXPECT_EQ(failed->result.outcome, c.outcome);
        EXPECT_EQ(failed->result.reason, c.reason);
        EXPECT_EQ(ReportPlace(failed->result, failed->position), c.place);
        const bool right = c.area == 1;
        EXPECT_EQ(FailureText(failed->result, right ? QStringLiteral("右") : QStringLiteral("左"),
                              right ? QStringLiteral("左") : QStringLiteral("右")),
                  QString::fromUtf8(c.text));
        EXPECT_EQ(m.surf.Pixel(failed->position.x, failed->position.y), Red);
        EXPECT_EQ(m.st.PointsToVector(), before);
    }
}

TEST(ComposeMap, CheckTracesEveryPositionAndLeavesTheSurfaceAsItFoundIt) {
    Map m;
    // An open box first, so that the leaking region starts its walk there.
    AddChain(m.st, {{130, 20}, {180, 20}, {180, 80}, {130, 80}, {130, 30}});
    TwoRooms(m.st);
    AddArea(m.st, "左", {{35, 35}});
    AddArea(m.st, "線上", {{60, 20}});
    AddArea(m.st, "開", {{150, 50}, {85, 35}});
    PaintNetwork(m.st, m.surf);
    const Surface before = m.surf;
    const auto entries = CheckPositions(m.st, m.surf);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].result.outcome, Outcome::Closed);
    EXPECT_EQ(entries[0].result.points, 6);
    EXPECT_EQ(entries[1].result.outcome, Outcome::NoStart);
    EXPECT_EQ(entries[2].result.outcome, Outcome::NotClosed);
    EXPECT_EQ(entries[3].area, 3);
    EXPECT_EQ(entries[3].slot, 1);
    EXPECT_EQ(entries[3].result.outcome, Outcome::Closed);
    EXPECT_TRUE(std::equal(before.Data(), before.Data() + 200 * 120, m.surf.Data()));
}

TEST(ComposeMap, OutlinesThatWouldNotFitStopTheRunAndKeepTheStore) {
    Map m;
    TwoRooms(m.st);
    AddArea(m.st, "左", {{35, 35}, {36, 36}, {37, 37}});
    const auto before = m.st.PointsToVector();
    PaintNetwork(m.st, m.surf);
    const auto failed = ComposeMap(m.st, m.surf, {}, 16);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->slot, 2);
    EXPECT_EQ(failed->result.outcome, Outcome::TooLarge);
    EXPECT_EQ(m.st.PointsToVector(), before);
}

TEST(ComposeMap, AWalkThatGoesRoundTheNeighbourTurnsRound) {
    // A small triangle with a bent line bulging out beside one edge. The side
    // test at the start segment picks the sliver between them, and the first
    // walk goes round that; the outline must be the triangle that holds the
    // position.
    Map m;
    AddChain(m.st, {{13, 13}, {4, 7}, {8, 6}, {13, 13}});
    AddChain(m.st, {{13, 13}, {11, 10}, {8, 6}});
    AddArea(m.st, "片", {{11, 11}});
    ASSERT_FALSE(m.Compose());
    const auto chains = Chains(m.st.PointsToVector());
    ASSERT_FALSE(chains.empty());
    EXPECT_TRUE(SameCycle(chains[0], (Chain{{13, 13}, {4, 7}, {8, 6}, {13, 13}})));
    EXPECT_EQ(m.surf.Pixel(11, 11), Black);
}

TEST(ComposeMap, AnOutlineFoundInNeitherDirectionStopsTheRunWithTheRegionRed) {
    // A pocket of a few pixels at a sharp corner: neither walk from its start
    // segment goes round it with the position inside.
    Map m;
    AddChain(m.st, {{11, 13}, {2, 10}, {8, 5}, {11, 13}});
    AddChain(m.st, {{11, 13}, {11, 9}, {8, 5}});
    AddArea(m.st, "隙間", {{10, 12}});
    const auto before = m.st.PointsToVector();
    const auto failed = m.Compose();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->result.outcome, Outcome::Astray);
    EXPECT_EQ(m.st.PointsToVector(), before);
    EXPECT_EQ(m.surf.Pixel(10, 12), Red);
    for (Pt p : {Pt{11, 13}, Pt{2, 10}, Pt{8, 5}, Pt{11, 9}})
        EXPECT_NE(m.surf.Pixel(p.x, p.y), Red);
    EXPECT_EQ(FailureText(Outcome::Astray, QStringLiteral("隙間")),
              QStringLiteral("赤の区域(隙間)の境界線をたどれませんでした。"));

    // The check reports it too, and puts the surface back.
    Map c;
    AddChain(c.st, {{11, 13}, {2, 10}, {8, 5}, {11, 13}});
    AddChain(c.st, {{11, 13}, {11, 9}, {8, 5}});
    AddArea(c.st, "隙間", {{10, 12}});
    PaintNetwork(c.st, c.surf);
    const Surface painted = c.surf;
    const auto entries = CheckPositions(c.st, c.surf);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].result.outcome, Outcome::Astray);
    EXPECT_TRUE(std::equal(painted.Data(), painted.Data() + 200 * 120, c.surf.Data()));
}

TEST(ComposeMap, ABlankSurfaceGivesTheSameResultsAndIsPaintedOnlyForAFailure) {
    for (auto damage : {MapRecipe::None, MapRecipe::Gap, MapRecipe::DuplicateSegment}) {
        MapRecipe recipe;
        recipe.cells = 160;
        recipe.seed = 5;
        recipe.kinds = true;
        recipe.cellsPerArea = 2;
        recipe.damage = damage;
        Store painted, blank;
        const GeneratedMap g = GenerateMap(recipe, painted);
        GenerateMap(recipe, blank);
        // A margin beyond the map: regions reaching the surface edge leak.
        Surface s1(g.width + 7, g.height + 3), s2(g.width + 7, g.height + 3);
        PaintNetwork(painted, s1);
        const auto expected = ComposeMap(painted, s1);
        int paints = 0;
        ComposeHooks hooks;
        hooks.paint = [&] {
            ++paints;
            PaintNetwork(blank, s2);
        };
        const auto got = ComposeMap(blank, s2, hooks);
        SCOPED_TRACE(int(damage));
        ASSERT_EQ(got.has_value(), expected.has_value());
        EXPECT_EQ(paints, expected ? 1 : 0);
        if (expected) {
            EXPECT_EQ(got->area, expected->area);
            EXPECT_EQ(got->result.outcome, expected->result.outcome);
            EXPECT_TRUE(std::equal(s1.Data(), s1.Data() + size_t(s1.Width()) * size_t(s1.Height()),
                                   s2.Data()));
        }
        EXPECT_EQ(blank.PointsToVector(), painted.PointsToVector());
        EXPECT_EQ(blank.KindsToVector(), painted.KindsToVector());
    }
}

TEST(ComposeMap, ACheckOnABlankSurfacePaintsOnlyForAWalkJudgedByItsMarks) {
    for (auto damage : {MapRecipe::None, MapRecipe::Gap, MapRecipe::DuplicateSegment}) {
        MapRecipe recipe;
        recipe.cells = 160;
        recipe.seed = 5;
        recipe.cellsPerArea = 2;
        recipe.damage = damage;
        Store st;
        const GeneratedMap g = GenerateMap(recipe, st);
        Surface painted(g.width + 7, g.height + 3), blank(g.width + 7, g.height + 3);
        PaintNetwork(st, painted);
        const auto expected = CheckPositions(st, painted);
        int paints = 0;
        const auto got = CheckPositions(st, blank, {}, [&] {
            ++paints;
            PaintNetwork(st, blank);
        });
        SCOPED_TRACE(int(damage));
        auto key = [](const CheckEntry& e) {
            const TraceResult& r = e.result;
            return std::vector<int>{e.area,      e.slot,    int(r.outcome), int(r.reason),
                                    r.place.x,   r.place.y, r.place2.x,     r.place2.y,
                                    r.node.x,    r.node.y,  r.points,       r.otherArea,
                                    r.otherSlot, r.start.s, r.start.d};
        };
        ASSERT_EQ(got.size(), expected.size());
        bool marked = false;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(key(got[i]), key(expected[i])) << i;
            const Outcome o = expected[i].result.outcome;
            marked = marked || o == Outcome::Lost || o == Outcome::NoDirection;
        }
        EXPECT_EQ(marked, damage == MapRecipe::DuplicateSegment);
        EXPECT_EQ(paints, marked ? 1 : 0);
        EXPECT_EQ(blank.Blank(), !marked);
    }
}

TEST(ComposeMap, AWalkThroughACrossingIntoAnotherRegionIsNoOutline) {
    struct Case {
        const char* what;
        std::function<void(Store&)> build;
        std::vector<Pt> positions;
        std::vector<Reason> reasons;  // by position; None: closed
        Pt place;                     // where the first failing one left its region
    };
    const Case cases[] = {
        {"a line through a ring, crossing it twice: the ring bounds neither side",
         [](Store& st) {
             AddChain(st, {{10, 10}, {110, 10}, {110, 90}, {10, 90}, {10, 10}});
             AddChain(st, {{40, 2}, {80, 110}});
         },
         {{25, 50}, {100, 50}},
         {Reason::Crossing, Reason::Crossing},
         {43, 10}},
        {"an X: a diagonal crosses the wall between two rooms without a shared point",
         [](Store& st) {
             AddChain(st, {{10, 10}, {60, 10}, {110, 10}, {110, 50}, {110, 90}, {60, 90},
                           {10, 90}, {10, 20}, {10, 10}});
             AddChain(st, {{60, 10}, {60, 90}});
             AddChain(st, {{10, 20}, {110, 50}});
             AddChain(st, {{20, 30}, {30, 30}, {30, 40}, {20, 40}, {20, 30}});  // an enclave
         },
         {{25, 60}, {100, 80}, {25, 35}},
         {Reason::Crossing, Reason::Crossing, Reason::None},
         {60, 35}},
        {"a line poking into a ring ends inside: it divides nothing",
         [](Store& st) {
             AddChain(st, {{10, 10}, {110, 10}, {110, 90}, {10, 90}, {10, 10}});
             AddChain(st, {{40, 2}, {50, 40}});
         },
         {{25, 50}},
         {Reason::None},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map m;
        c.build(m.st);
        for (Pt p : c.positions) AddArea(m.st, "区", {{p.x, p.y}});
        for (bool blank : {false, true}) {
            Surface surf(200, 120);
            if (!blank) PaintNetwork(m.st, surf);
            const auto entries =
                CheckPositions(m.st, surf, {}, blank ? [&] { PaintNetwork(m.st, surf); }
                                                     : std::function<void()>());
            ASSERT_EQ(entries.size(), c.positions.size());
            for (size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(entries[i].result.reason, c.reasons[i]) << i;
                EXPECT_EQ(entries[i].result.outcome == Outcome::Closed,
                          c.reasons[i] == Reason::None)
                    << i;
            }
            if (c.reasons[0] != Reason::None) {
                EXPECT_EQ(entries[0].result.place, c.place);
            }
        }
    }
}
