// Trimming through the editor's commands, as the user drives it: corner
// clicks, the popup, the question, then the point list and positions.
#include <gtest/gtest.h>

#include "ops/Trimming.h"
#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {

std::vector<Rec> R(std::initializer_list<std::pair<int, int>> pts) {
    std::vector<Rec> v;
    for (auto [x, y] : pts) v.push_back({int16_t(x), int16_t(y)});
    return v;
}

struct Trim : ::testing::Test {
    TestEditor t{200, 150};
    Editor& ed = t.ed;
    const Store& st = t.st();
    TrimmingTool& trim = t.ed.modes.tools->trimming;

    void SetUp() override {
        ed.modeCommands.CuttingModeClick();
        EditMap(t.ed, [&](Store& s_) {
            s_.Modified = false;
            s_.Completed = true;
        });
    }
    void Corners(std::initializer_list<std::pair<int, int>> pts) {
        for (auto [x, y] : pts) ed.modes.tools->trimming.TrimCornerClick(x, y);
    }
    void Position(int a, int k, int x, int y) {
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaCount = int16_t(std::max<int>(s_.AreaCount, a));
            s_.AreaPos(k, a) = {int16_t(x), int16_t(y)};
            s_.AreaPos(k + 1, a) = {0, 0};
        });
    }
};

// A rectangle from (20, 20) to (120, 100) as the trimming outline.
constexpr std::initializer_list<std::pair<int, int>> kBox = {
    {20, 20}, {120, 20}, {120, 100}, {20, 100}};

TEST_F(Trim, CornersAreDrawnYellowAndThePopupNeedsThree) {
    ed.modes.tools->trimming.TrimCornerClick(20, 20);
    ed.modes.tools->trimming.TrimCornerClick(120, 20);
    EXPECT_EQ(trim.TempPolyLast, 1);
    EXPECT_EQ(ed.surf.Pixel(20, 20), Yellow);
    EXPECT_EQ(ed.surf.Pixel(70, 20), Yellow);

    ed.modes.tools->trimming.OfferTrimPopup(false, {});
    EXPECT_EQ(t.ui.attached, Popup::RBtnCutting);
    EXPECT_FALSE(t.ui.Enabled(Cmd::SweepCutting));
    EXPECT_FALSE(t.ui.Enabled(Cmd::HoleCutting));
    EXPECT_TRUE(t.ui.Enabled(Cmd::CancelCutting));

    ed.modes.tools->trimming.TrimCornerClick(120, 100);
    ed.modes.tools->trimming.OfferTrimPopup(true, {300, 200});
    EXPECT_EQ(t.ui.shown, Popup::RBtnCutting);
    EXPECT_EQ(t.ui.shownAt, QPoint(300, 200));
    EXPECT_TRUE(t.ui.Enabled(Cmd::SweepCutting));
    EXPECT_TRUE(t.ui.Enabled(Cmd::HoleCutting));
}

TEST_F(Trim, FiveHundredCornersAtMost) {
    for (int i = 0; i < 520; ++i) ed.modes.tools->trimming.TrimCornerClick(10 + i % 100, 10 + i / 100);
    EXPECT_EQ(trim.TempPolyLast, 499);
    EXPECT_EQ(trim.TempPoly[499].x, 10 + 499 % 100);
}

TEST_F(Trim, DeleteOutsideKeepsTheMiddleOfAChainAndTidies) {
    // Five points; the middle three lie inside, one of them on the outline.
    t.Chain({{10, 50}, {50, 50}, {120, 60}, {90, 80}, {150, 80}});
    t.Chain({{5, 5}, {150, 5}});  // wholly outside: vanishes
    Corners(kBox);
    t.ui.answers = {true};
    ed.trimming.SweepCuttingClick();

    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "指定の外を削除します。Ok ?");
    EXPECT_EQ(t.ui.messages[0].caption, "確認");
    EXPECT_EQ(t.Points(), R({{0, 0}, {50, 50}, {120, 60}, {90, 80}, {0, 0}}));
    EXPECT_TRUE(st.Modified);
    EXPECT_FALSE(st.Completed);
    EXPECT_EQ(trim.TempPolyLast, -1);
    EXPECT_EQ(st.Mode, Mode::Trimming);
    // Redrawn: the outline is gone, the kept chain shows.
    EXPECT_EQ(ed.surf.Pixel(20, 20), Black);
    EXPECT_EQ(ed.surf.Pixel(50, 50), White);
}

TEST_F(Trim, DeleteInsideCutsChainsWhereTheyEnter) {
    t.Chain({{10, 50}, {50, 50}, {90, 50}, {150, 50}, {160, 50}});
    Corners(kBox);
    t.ui.answers = {true};
    ed.trimming.HoleCuttingClick();
    EXPECT_EQ(t.ui.messages.at(0).text, "内側を削除します。Ok ?");
    // The lone (10,50) goes in the tidy; (150,50)-(160,50) stays a chain.
    EXPECT_EQ(t.Points(), R({{0, 0}, {150, 50}, {160, 50}, {0, 0}}));
}

TEST_F(Trim, AlreadyYellowPixelsCountAsInsideAndOffSurfacePointsAsOutside) {
    // A point on a yellow pixel outside the outline (e.g. a second boundary
    // line shown in yellow) survives a cut outside; one beyond the surface goes.
    t.Chain({{150, 120}, {160, 120}, {500, 120}});
    ReDraw(ed.bench);
    ed.surf.SetPixel(150, 120, Yellow);
    ed.surf.SetPixel(160, 120, Yellow);
    Corners(kBox);
    t.ui.answers = {true};
    ed.trimming.SweepCuttingClick();
    EXPECT_EQ(t.Points(), R({{0, 0}, {150, 120}, {160, 120}, {0, 0}}));
}

TEST_F(Trim, AnsweringNoChangesNothingAndEmptiesTheOutline) {
    t.Chain({{10, 50}, {50, 50}, {90, 50}});
    Position(1, 0, 5, 5);
    const auto before = t.Points();
    Corners(kBox);
    t.ui.answers = {false};
    ed.trimming.SweepCuttingClick();
    EXPECT_EQ(t.Points(), before);
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{5, 5}));
    EXPECT_FALSE(st.Modified);
    EXPECT_TRUE(st.Completed);
    EXPECT_EQ(trim.TempPolyLast, -1);
    EXPECT_EQ(ed.surf.Pixel(20, 20), Black);  // outline redrawn away
    EXPECT_FALSE(t.ui.busy);
}

TEST_F(Trim, AStaleMenuWithFewerThanThreeCornersCutsNothing) {
    t.Chain({{10, 50}, {50, 50}, {90, 50}});
    const auto before = t.Points();
    Corners({{20, 20}, {120, 20}});
    t.ui.answers = {true};
    ed.trimming.SweepCuttingClick();
    EXPECT_EQ(t.Points(), before);
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(Trim, PositionsOnTheDeletedSideOrLeftOpenAreRemoved) {
    // A closed square (40,30)-(100,90) inside the outline, and one line
    // crossing the outline's right edge.
    t.Chain({{40, 30}, {100, 30}, {100, 90}, {40, 90}, {40, 30}});
    t.Chain({{110, 40}, {140, 40}});
    EditMap(t.ed, [&](Store& s_) { s_.AreaCount = 3; });
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(0, 1) = {60, 60}; });  // enclosed: stays
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(1, 1) = {30, 50};
    });  // inside the outline but open: goes
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(2, 1) = {70, 70};
    });  // enclosed, second in the same region: stays
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(3, 1) = {0, 0}; });
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(0, 2) = {150, 140}; });  // outside the outline: goes
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(1, 2) = {0, 0}; });
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(0, 3) = {50, 40}; });  // enclosed
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(1, 3) = {0, 0};
        ASSERT_TRUE(s_.SetAreaName(2, "gone"));
    });
    Corners(kBox);
    t.ui.answers = {true};
    ed.trimming.SweepCuttingClick();

    EXPECT_EQ(st.AreaPos(0, 1), (Rec{60, 60}));
    EXPECT_EQ(st.AreaPos(1, 1), (Rec{70, 70}));
    EXPECT_EQ(st.AreaPos(2, 1).x, 0);
    EXPECT_EQ(st.AreaPos(0, 2).x, 0);
    EXPECT_EQ(st.AreaName(2), "gone");  // the name stays
    EXPECT_EQ(st.AreaPos(0, 3), (Rec{50, 40}));
    // The probe fills are gone after the final redraw.
    EXPECT_EQ(ed.surf.Pixel(60, 60), Black);
    EXPECT_EQ(ed.surf.Pixel(1, 1), Black);
}

TEST_F(Trim, NothingCountsAsOpenWhenTheCornerPixelIsCovered) {
    // A line through (1, 1) stops the probe from ever reaching it.
    t.Chain({{1, 1}, {10, 1}});
    Position(1, 0, 60, 60);
    Corners({{0, 0}, {199, 0}, {199, 149}, {0, 149}});
    t.ui.answers = {true};
    ed.trimming.SweepCuttingClick();
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{60, 60}));
}

TEST_F(Trim, CancelEmptiesTheOutlineAndStaysInTheMode) {
    Corners(kBox);
    ed.trimming.CancelCuttingClick();
    EXPECT_EQ(trim.TempPolyLast, -1);
    EXPECT_EQ(st.Mode, Mode::Trimming);
    EXPECT_EQ(ed.surf.Pixel(70, 20), Black);
}

TEST_F(Trim, TheMouseDrawsTheOutlineAndTheRightButtonOffersTheCuts) {
    t.Chain({{10, 50}, {50, 50}, {90, 50}});
    for (auto [x, y] : kBox) ed.MouseDown(Qt::LeftButton, x, y);
    EXPECT_EQ(trim.TempPolyLast, 3);
    ed.MouseDown(Qt::RightButton, 60, 60);
    EXPECT_EQ(t.ui.attached, Popup::RBtnCutting);
    EXPECT_TRUE(t.ui.Enabled(Cmd::SweepCutting));
    t.ui.answers = {true};
    ed.Command(Cmd::HoleCutting);
    EXPECT_EQ(t.Points(), R({{0, 0}}));
}

// ---- the position passes on their own ----

TEST(TrimPositions, RemovingASlotShiftsTheRestAndAFullListEnds) {
    Store st;
    st.AreaCount = 1;
    for (int k = 0; k < Store::Slots; ++k) st.AreaPos(k, 1) = {int16_t(10 + k), 10};
    RemovePositionSlot(st, 1, 3);
    EXPECT_EQ(st.AreaPos(3, 1), (Rec{14, 10}));
    EXPECT_EQ(st.AreaPos(9, 1), (Rec{20, 10}));
    EXPECT_EQ(st.AreaPos(10, 1), (Rec{0, 0}));

    // Every slot on the deleted side, all eleven in use: all go, and the pass ends.
    Surface s(64, 64);
    s.Fill(Black);
    for (int k = 0; k < Store::Slots; ++k) st.AreaPos(k, 1) = {int16_t(10 + k), 10};
    EXPECT_EQ(TrimPositions(st, s, TrimSide::Outside), Store::Slots);
    EXPECT_EQ(st.AreaPos(0, 1).x, 0);
}

TEST(TrimPositions, NegativeSlotsAreSkippedButKept) {
    Store st;
    st.AreaCount = 1;
    st.AreaPos(0, 1) = {-5, 3};
    st.AreaPos(1, 1) = {30, 30};
    st.AreaPos(2, 1) = {0, 0};
    Surface s(64, 64);
    s.Fill(Black);
    EXPECT_EQ(TrimPositions(st, s, TrimSide::Outside), 1);
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{-5, 3}));
    EXPECT_EQ(st.AreaPos(1, 1).x, 0);
}

}  // namespace
