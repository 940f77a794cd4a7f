// The pixel and angle primitives the start search and the walk decide by.
#include <gtest/gtest.h>

#include "compose/Geometry.h"

using namespace compose;

TEST(ComposeGeometry, HalfEvenMidRoundsHalvesToEven) {
    EXPECT_EQ(HalfEvenMid(10, 20), 15);
    EXPECT_EQ(HalfEvenMid(10, 11), 10);  // 10.5 -> 10
    EXPECT_EQ(HalfEvenMid(11, 12), 12);  // 11.5 -> 12
    EXPECT_EQ(HalfEvenMid(0, 1), 0);
    EXPECT_EQ(HalfEvenMid(-1, -2), -2);  // -1.5 -> -2
    EXPECT_EQ(HalfEvenMid(-1, 0), 0);    // -0.5 -> 0
}

TEST(ComposeGeometry, ProbeTakesTheFirstNeighbourInItsOrder) {
    Surface s(10, 10);
    s.SetPixel(4, 6, Navy);  // south-west of (5,5): number 6
    s.SetPixel(6, 6, Navy);  // south-east: number 8
    Pt p{5, 5};
    EXPECT_EQ(ProbeNeighbours(s, p, Navy), 6);
    EXPECT_EQ(p, (Pt{4, 6}));
    Pt q{0, 0};  // neighbours off the surface are never navy
    EXPECT_EQ(ProbeNeighbours(s, q, Navy), 0);
    EXPECT_EQ(q, (Pt{0, 0}));
}

TEST(ComposeGeometry, StepIntoRegionAimsAtTheMiddleOfTheNavySector) {
    Surface s(10, 10);
    Pt p{5, 5};
    StepIntoRegion(s, p);  // nothing navy: east
    EXPECT_EQ(p, (Pt{6, 5}));

    s.Fill(Navy);
    p = {5, 5};
    StepIntoRegion(s, p);  // all navy: north-west
    EXPECT_EQ(p, (Pt{4, 4}));

    // Navy below the pixel only (south-west, south, south-east): south.
    s.Fill(Black);
    for (int x = 4; x <= 6; ++x) s.SetPixel(x, 6, Navy);
    p = {5, 5};
    StepIntoRegion(s, p);
    EXPECT_EQ(p, (Pt{5, 6}));

    // Navy east, north-east and south-east: the sector wraps past east.
    s.Fill(Black);
    for (int y = 4; y <= 6; ++y) s.SetPixel(6, y, Navy);
    p = {5, 5};
    StepIntoRegion(s, p);
    EXPECT_EQ(p, (Pt{6, 5}));
}

TEST(ComposeGeometry, InteriorSideSeesTheScreenRightAsPlus) {
    // Walking east on the screen, south (larger y) is on the right.
    EXPECT_EQ(InteriorSide({10, 10}, {20, 10}, {15, 11}), 1);
    EXPECT_EQ(InteriorSide({10, 10}, {20, 10}, {15, 9}), -1);
    // Walking north, east is on the right.
    EXPECT_EQ(InteriorSide({10, 20}, {10, 10}, {11, 15}), 1);
    EXPECT_EQ(InteriorSide({10, 20}, {10, 10}, {9, 15}), -1);
    EXPECT_EQ(InteriorSide({10, 10}, {10, 10}, {11, 15}), 0);
    EXPECT_EQ(InteriorSide({10, 10}, {20, 10}, {10, 10}), 0);
}

TEST(ComposeGeometry, CompareTurnsPrefersTheSharperRightTurn) {
    // Coming east into (10,10): south is a right turn, north a left turn.
    const Pt P{0, 10}, Q{10, 10};
    EXPECT_EQ(CompareTurns(P, Q, {10, 0}, {10, 20}), 2);  // B (south) is further right
    EXPECT_EQ(CompareTurns(P, Q, {10, 20}, {10, 0}), 1);
    EXPECT_EQ(CompareTurns(P, Q, {20, 10}, {20, 10}), 0);  // same direction
    EXPECT_EQ(CompareTurns(P, Q, {20, 10}, {30, 10}), 0);  // collinear, equal angle
    EXPECT_EQ(CompareTurns(P, Q, {10, 10}, {20, 10}), 0);  // no length
    // Straight on is further right than a left turn.
    EXPECT_EQ(CompareTurns(P, Q, {10, 0}, {20, 10}), 2);
}

TEST(ComposeGeometry, APositionMustLieOnTheRightOfItsRing) {
    // Clockwise on the screen (y down): the inside is on the right.
    const Rec cw[] = {{10, 10}, {50, 10}, {50, 40}, {10, 40}, {10, 10}};
    EXPECT_TRUE(OnRightOfRing(cw, 5, {30, 20}));
    EXPECT_FALSE(OnRightOfRing(cw, 5, {60, 20}));
    // The same ring the other way round, as a walk goes round a hole or the
    // outside of an island: the outside is on the right.
    const Rec ccw[] = {{10, 10}, {10, 40}, {50, 40}, {50, 10}, {10, 10}};
    EXPECT_FALSE(OnRightOfRing(ccw, 5, {30, 20}));
    EXPECT_TRUE(OnRightOfRing(ccw, 5, {60, 20}));
    // On the ring, at a corner or along an edge: on neither side.
    for (Pt p : {Pt{10, 10}, Pt{30, 40}, Pt{50, 25}}) {
        EXPECT_FALSE(OnRightOfRing(cw, 5, p));
        EXPECT_FALSE(OnRightOfRing(ccw, 5, p));
    }
    // A concave ring: the notch is outside, level with a vertex is counted once.
    const Rec notch[] = {{0, 0}, {40, 0}, {40, 40}, {20, 10}, {0, 40}, {0, 0}};
    EXPECT_TRUE(OnRightOfRing(notch, 6, {5, 10}));
    EXPECT_TRUE(OnRightOfRing(notch, 6, {35, 10}));
    EXPECT_FALSE(OnRightOfRing(notch, 6, {20, 30}));
    // A walk out along a line and back encloses nothing.
    const Rec spur[] = {{10, 10}, {30, 10}, {10, 10}};
    EXPECT_TRUE(OnRightOfRing(spur, 3, {20, 20}));
}

TEST(ComposeGeometry, AnOutlineGoesOnceClockwiseRoundItsPosition) {
    const Pt in{30, 20};
    const Rec cw[] = {{10, 10}, {50, 10}, {50, 40}, {10, 40}, {10, 10}};
    EXPECT_TRUE(IsOwnOutline(cw, 5, in));
    EXPECT_FALSE(IsOwnOutline(cw, 5, {60, 20}));  // outside
    EXPECT_FALSE(IsOwnOutline(cw, 5, {30, 40}));  // on the ring
    const Rec ccw[] = {{10, 10}, {10, 40}, {50, 40}, {50, 10}, {10, 10}};
    EXPECT_FALSE(IsOwnOutline(ccw, 5, in));  // a hole's ring
    // Twice round: even-odd would call the position outside, winding 2.
    const Rec twice[] = {{10, 10}, {50, 10}, {50, 40}, {10, 40}, {10, 11},
                         {49, 11}, {49, 39}, {11, 39}, {11, 10}, {10, 10}};
    EXPECT_FALSE(IsOwnOutline(twice, 10, in));
    // A figure of eight, larger lobe clockwise: only its own lobe counts.
    const Rec eight[] = {{10, 10}, {10, 30}, {90, 10}, {90, 50}, {10, 10}};
    EXPECT_TRUE(IsOwnOutline(eight, 5, {80, 25}));
    EXPECT_FALSE(IsOwnOutline(eight, 5, {14, 19}));
    // Out to a lake along one line and back: real outlines do this.
    const Rec lake[] = {{10, 10}, {50, 10}, {50, 40}, {30, 40}, {30, 30},
                        {35, 30}, {30, 35}, {30, 40}, {10, 40}, {10, 10}};
    EXPECT_TRUE(IsOwnOutline(lake, 10, {20, 20}));
}

TEST(ComposeGeometry, CrossingsAreWhereLinesPassThroughEachOther) {
    const std::vector<Segment> segs{{{10, 10}, {90, 50}},   // 0
                                    {{10, 50}, {90, 10}},   // 1: crosses 0 at (50,30)
                                    {{50, 30}, {50, 60}},   // 2: starts where 0 and 1 cross
                                    {{15, 45}, {85, 45}},   // 3: crosses 0, 1 and 2
                                    {{90, 50}, {95, 60}}};  // 4: shares an end with 0
    const std::vector<Crossing> c = FindCrossings(segs);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].at, (Pt{50, 30}));
    EXPECT_EQ(c[0].i, 0);
    EXPECT_EQ(c[0].j, 1);
    EXPECT_EQ(c[1].at, (Pt{20, 45}));  // 1 with 3
    EXPECT_EQ(c[2].at, (Pt{50, 45}));  // 2 with 3
    EXPECT_EQ(c[3].at, (Pt{80, 45}));  // 0 with 3
}
