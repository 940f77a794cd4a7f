// Jigsaw mode on a composed point list built by hand: closed outlines in
// area-then-slot order of the positions, as the composition leaves them.
#include <gtest/gtest.h>

#include "ops/Jigsaw.h"
#include "editor/tools/Tools.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"

namespace {

struct Jigsaw : ::testing::Test {
    TestEditor t{200, 160};
    Editor& ed = t.ed;
    const Store& st = t.st();
    JigsawTool& jig = t.ed.modes.tools->jigsaw;

    // Closed square outline with its top-left corner at (x, y).
    void Square(int x, int y, int size) {
        t.Chain({{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}, {x, y}});
    }
    void SetUp() override {
        Square(20, 20, 40);   // area 1 slot 0: records 1..5
        Square(60, 20, 40);   // area 2 slot 0: records 7..11, shares an edge
        Square(20, 80, 40);   // area 2 slot 1: records 13..17
        Square(120, 80, 30);  // a leftover closed line without a position
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaCount = 2;
            s_.AreaPos(0, 1) = {40, 40};
            s_.AreaPos(0, 2) = {80, 40};
            s_.AreaPos(1, 2) = {40, 100};
            s_.AreaPos(2, 2) = {0, 0};
            s_.Completed = true;
        });
        ed.modeCommands.PickUpModeClick();
        ASSERT_EQ(st.Mode, Mode::Jigsaw);
        ReDraw(ed.bench);
    }
    std::vector<uint8_t> Pixels() const {
        return {ed.surf.Data(),
                ed.surf.Data() + size_t(ed.surf.Width()) * size_t(ed.surf.Height())};
    }
};

TEST_F(Jigsaw, DraggingAPieceMovesItsChainAndItsOnePosition) {
    const auto before = t.Points();
    const auto pixels = Pixels();
    ed.modes.tools->jigsaw.PickUpPiece(85, 45);
    EXPECT_EQ(Pixels(), pixels);  // the probe is undone
    EXPECT_EQ(jig.PickArea, 2);
    EXPECT_EQ(jig.PickSlot, 0);
    EXPECT_EQ(jig.PickFirst, 7);
    EXPECT_EQ(jig.PickLast, 11);
    EXPECT_EQ(jig.TempPolyLast, 4);
    EXPECT_EQ(jig.TempPoly[1].x, 100);

    ed.modes.tools->jigsaw.DragPiece(100, 50);
    ed.modes.tools->jigsaw.DragPiece(115, 55);
    ed.modes.tools->jigsaw.DropPiece(115, 55);

    const auto after = t.Points();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        if (i >= 7 && i <= 11)
            EXPECT_EQ(after[i], (Rec{int16_t(before[i].x + 30), int16_t(before[i].y + 10)})) << i;
        else
            EXPECT_EQ(after[i], before[i]) << i;
    }
    EXPECT_EQ(st.AreaPos(0, 2), (Rec{110, 50}));
    EXPECT_EQ(st.AreaPos(1, 2), (Rec{40, 100}));
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{40, 40}));
    EXPECT_EQ(jig.PickFirst, 0);
    EXPECT_TRUE(st.Completed);
    // Redrawn at the new place.
    EXPECT_EQ(ed.surf.Pixel(130, 30), White);
}

TEST_F(Jigsaw, ThePositionsRankPicksTheChain) {
    ed.modes.tools->jigsaw.PickUpPiece(30, 110);  // area 2 slot 1: third position, third chain
    EXPECT_EQ(jig.PickArea, 2);
    EXPECT_EQ(jig.PickSlot, 1);
    EXPECT_EQ(jig.PickFirst, 13);
    EXPECT_EQ(jig.PickLast, 17);
}

TEST_F(Jigsaw, PressesThatFindNoPieceLiftNothingAndLeaveTheSurface) {
    const auto pixels = Pixels();
    for (QPoint p : {QPoint(5, 5), QPoint(60, 40), QPoint(135, 95)}) {  // open, line, no position
        ed.modes.tools->jigsaw.PickUpPiece(p.x(), p.y());
        EXPECT_EQ(jig.PickFirst, 0) << p.x();
        EXPECT_EQ(Pixels(), pixels) << p.x();
    }
    // Release and moves without a lifted piece do nothing.
    ed.modes.tools->jigsaw.DragPiece(50, 50);
    ed.modes.tools->jigsaw.DropPiece(50, 50);
    EXPECT_EQ(Pixels(), pixels);
}

TEST_F(Jigsaw, APositionWithoutItsChainLiftsNothing) {
    EditMap(t.ed, [&](Store& s_) { s_.AreaCount = 3; });
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(0, 3) = {135, 95};
    });  // fourth position, but only three outlines precede the leftover
    EditMap(t.ed, [&](Store& s_) { s_.PointLast = 17; });  // drop the leftover chain
    ReDraw(ed.bench);
    ed.modes.tools->jigsaw.PickUpPiece(140, 100);
    EXPECT_EQ(jig.PickFirst, 0);
}

TEST_F(Jigsaw, TheDragOutlineIsDrawnInXorAndTakenAwayExactly) {
    const auto pixels = Pixels();
    ed.modes.tools->jigsaw.PickUpPiece(85, 45);
    ed.modes.tools->jigsaw.DragPiece(95, 45);
    EXPECT_NE(Pixels(), pixels);
    EXPECT_NE(ed.surf.Pixel(70, 50), Black);  // the left edge of the outline at its new place
    ed.modes.tools->jigsaw.DragPiece(85, 45);       // back where it started: both outlines cancel
    EXPECT_EQ(Pixels(), pixels);
    EXPECT_EQ(ed.surf.CurrentRop(), Rop::Copy);
}

TEST_F(Jigsaw, APressAndReleaseInPlaceMovesNothing) {
    const auto before = t.Points();
    ed.modes.tools->jigsaw.PickUpPiece(85, 45);
    ed.modes.tools->jigsaw.DropPiece(85, 45);
    EXPECT_EQ(t.Points(), before);
    EXPECT_EQ(st.AreaPos(0, 2), (Rec{80, 40}));
}

TEST_F(Jigsaw, ADropIsLimitedSoNoPointBecomesASeparator) {
    ed.modes.tools->jigsaw.PickUpPiece(30, 30);  // area 1: its left edge is at X 20
    ed.modes.tools->jigsaw.DropPiece(0, 30);     // 30 pixels left would put it at X -10
    EXPECT_EQ(st.PointX(1), 1);
    EXPECT_EQ(st.PointX(4), 1);
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{21, 40}));
    for (int32_t i = 1; i <= 5; ++i) EXPECT_GT(st.PointX(i), 0);
}

TEST_F(Jigsaw, TheMouseLiftsDragsAndDropsAPiece) {
    ed.MouseDown(Qt::LeftButton, 30, 30);
    ASSERT_EQ(jig.PickFirst, 1);
    ed.MouseMove(45, 35);
    ed.MouseMove(60, 40);
    ed.MouseUp(Qt::LeftButton, 60, 40);
    EXPECT_EQ(jig.PickFirst, 0);
    EXPECT_EQ(st.Point(1), (Rec{50, 30}));
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{70, 50}));
    EXPECT_TRUE(st.Modified);
}

TEST_F(Jigsaw, MarksOfAShownUnderDrawingDoNotHideThePiece) {
    // A town dot under the position and a river across the piece.
    Surface pic(200, 160);
    pic.Fill(Black);
    pic.SetPixel(80, 40, White);
    for (int y = 0; y < 160; ++y) pic.SetPixel(90, y, Grey);
    QString err;
    ASSERT_TRUE(WriteSurfaceBitmap(pic, ed.temps.picture, &err));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    ReDraw(ed.bench);
    const auto pixels = Pixels();
    ed.modes.tools->jigsaw.PickUpPiece(95, 50);
    EXPECT_EQ(jig.PickArea, 2);
    EXPECT_EQ(jig.PickFirst, 7);
    EXPECT_EQ(Pixels(), pixels);
}

TEST(JigsawChains, ChainByRankCountsChainStartsAndFindsTheUnendedLast) {
    Store st;
    for (Rec r :
         {Rec{5, 5}, Rec{6, 6}, Rec{0, 0}, Rec{0, 0}, Rec{7, 7}, Rec{0, 0}, Rec{8, 8}, Rec{9, 9}}) {
        st.AppendPoint(r.x, r.y);
    }
    int32_t f = 0, l = 0;
    ASSERT_TRUE(ChainByRank(st, 2, f, l));
    EXPECT_EQ(f, 5);
    EXPECT_EQ(l, 5);
    ASSERT_TRUE(ChainByRank(st, 3, f, l));
    EXPECT_EQ(f, 7);
    EXPECT_EQ(l, 8);
    EXPECT_FALSE(ChainByRank(st, 4, f, l));
    EXPECT_FALSE(ChainByRank(st, 0, f, l));
}

// Thousands of small pieces, so the chosen chain lies far beyond index 32,767,
// and one piece with more points than the drag outline can show.
TEST(JigsawLarge, PiecesBeyondSixteenBitIndicesAndLongChainsMoveWhole) {
    constexpr int cols = 80, rows = 72, cell = 8;  // 5760 squares, 6 records each
    TestEditor t(cols * cell + 20, rows * cell + 120);
    const Store& st = t.st();
    JigsawTool& jig = t.ed.modes.tools->jigsaw;
    int area = 1, slot = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int x = 4 + c * cell, y = 4 + r * cell;
            t.Chain({{x, y}, {x + 6, y}, {x + 6, y + 6}, {x, y + 6}, {x, y}});
            EditMap(t.ed, [&](Store& s_) {
                s_.AreaPos(slot, area) = {int16_t(x + 3), int16_t(y + 3)};
            });
            if (++slot == 10) {
                EditMap(t.ed, [&](Store& s_) { s_.AreaPos(10, area) = {0, 0}; });
                slot = 0;
                ++area;
            }
        }
    }
    // One long outline (700 records) along the bottom, with the last position.
    const int top = 4 + rows * cell + 10;
    EditMap(t.ed, [&](Store& s_) {
        for (int x = 4; x < 354; ++x) s_.AppendPoint(int16_t(x), int16_t(top));
        for (int x = 353; x >= 4; --x) s_.AppendPoint(int16_t(x), int16_t(top + 40));
        s_.AppendPoint(4, int16_t(top));
        s_.AppendPoint(0, 0);
        s_.AreaPos(slot, area) = {100, int16_t(top + 20)};
        s_.AreaPos(slot + 1, area) = {0, 0};
        s_.AreaCount = int16_t(area);
    });
    ASSERT_GT(st.PointLast, 32767);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.modeCommands.PickUpModeClick();
    ReDraw(t.ed.bench);

    const int lastX = 4 + (cols - 1) * cell, lastY = 4 + (rows - 1) * cell;
    t.ed.modes.tools->jigsaw.PickUpPiece(lastX + 3, lastY + 3);
    ASSERT_EQ(jig.PickFirst, (cols * rows - 1) * 6 + 1);
    EXPECT_GT(jig.PickFirst, 32767);
    t.ed.modes.tools->jigsaw.DropPiece(lastX + 3 + 1, lastY + 3 + 2);
    EXPECT_EQ(st.PointX((cols * rows - 1) * 6 + 1), lastX + 1);
    EXPECT_EQ(st.PointY((cols * rows - 1) * 6 + 3), lastY + 6 + 2);

    t.ed.modes.tools->jigsaw.PickUpPiece(200, top + 20);
    ASSERT_GT(jig.PickFirst, 0);
    EXPECT_EQ(jig.PickLast - jig.PickFirst + 1, 701);
    EXPECT_EQ(jig.TempPolyLast, 500);
    const int32_t first = jig.PickFirst, last = jig.PickLast;
    t.ed.modes.tools->jigsaw.DropPiece(205, top + 20);
    EXPECT_EQ(st.PointX(first), 9);
    EXPECT_EQ(st.PointX(last - 1), 9);
    EXPECT_EQ(st.PointX(last), 9);
}

}  // namespace

namespace {

// The real world map, composed by the editor: every position lifts the outline
// the composition wrote for it, far beyond record 32,767 too.
TEST(JigsawWorld, EveryPositionLiftsItsOwnComposedOutline) {
    TestEditor t;
    ASSERT_TRUE(t.ed.files.LoadWorkFile(QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm")));
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed);
    t.ed.modeCommands.PickUpModeClick();
    ASSERT_EQ(t.st().Mode, Mode::Jigsaw);
    ReDraw(t.ed.bench);
    const Store& st = t.st();
    JigsawTool& jig = t.ed.modes.tools->jigsaw;
    int64_t rank = 0, beyond = 0;
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x > 0; ++k) {
            ++rank;
            const Rec p = st.AreaPos(k, a);
            t.ed.modes.tools->jigsaw.PickUpPiece(p.x, p.y);
            ASSERT_GT(jig.PickFirst, 0) << a << "/" << k;
            EXPECT_EQ(jig.PickArea, a);
            EXPECT_EQ(jig.PickSlot, k);
            int32_t f = 0, l = 0;
            ASSERT_TRUE(ChainByRank(st, rank, f, l));
            EXPECT_EQ(jig.PickFirst, f);
            EXPECT_EQ(st.Point(jig.PickFirst), st.Point(jig.PickLast));  // a closed outline
            if (jig.PickFirst > 32767) ++beyond;
            jig.PickFirst = 0;
        }
    }
    EXPECT_GT(beyond, 0);
    // Moving the last piece moves exactly its chain and position.
    const auto before = t.Points();
    const Rec p = st.AreaPos(0, st.AreaCount);
    t.ed.modes.tools->jigsaw.PickUpPiece(p.x, p.y);
    const int32_t f = jig.PickFirst, l = jig.PickLast;
    t.ed.modes.tools->jigsaw.DropPiece(p.x + 5, p.y + 3);
    const auto after = t.Points();
    for (size_t i = 0; i < after.size(); ++i) {
        const bool moved = int32_t(i) >= f && int32_t(i) <= l;
        const Rec want =
            moved ? Rec{int16_t(before[i].x + 5), int16_t(before[i].y + 3)} : before[i];
        ASSERT_EQ(after[i], want) << i;
    }
    EXPECT_EQ(st.AreaPos(0, st.AreaCount), (Rec{int16_t(p.x + 5), int16_t(p.y + 3)}));
}

}  // namespace
