#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {

Rec R(int x, int y) {
    return Rec{int16_t(x), int16_t(y)};
}
const Rec Sep{0, 0};
using List = std::vector<Rec>;

// An editor in point-edit mode showing the given network.
struct EditFixture : TestEditor {
    EditFixture() { ed.doc.SetMode(Mode::Edit); }
    void Show() { ReDraw(ed.bench); }
    // A right press at (x, y) and then the popup item, as the user does it.
    void Popup(int x, int y, Cmd item) {
        ed.MouseDown(Qt::RightButton, x, y);
        ASSERT_EQ(ui.attached, ::Popup::RBtnEditMode) << "no popup at " << x << "," << y;
        ASSERT_TRUE(ui.Enabled(item)) << CmdName(item);
        ed.Command(item);
    }
};

}  // namespace

TEST(PointEdit, DragMovesAPointAndDropOnAnotherMakesANode) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Chain({{100, 10}, {100, 50}});
    t.Show();
    t.ed.MouseDown(Qt::LeftButton, 51, 10);
    EXPECT_EQ(t.ed.modes.tools->edit.GrabIndex, 0) << "one pixel beside grabs nothing";
    EXPECT_FALSE(t.st().Completed);
    t.ed.MouseUp(Qt::LeftButton, 60, 60);
    EXPECT_EQ(t.Points()[2], R(50, 10));

    t.ed.MouseDown(Qt::LeftButton, 50, 10);
    t.ed.MouseMove(70, 30);
    t.ed.MouseMove(100, 10);
    t.ed.MouseUp(Qt::LeftButton, 100, 10);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(100, 10), Sep, R(100, 10), R(100, 50), Sep}));
    EXPECT_EQ(t.ed.surf.Pixel(55, 10), Magenta);
}

TEST(PointEdit, RubberBandIsDrawnInXor) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}}, false);  // the dragged point is the last record
    t.Show();
    t.ed.MouseDown(Qt::LeftButton, 50, 10);
    t.ed.MouseMove(50, 50);
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Black) << "old segment XOR-ed away";
    EXPECT_EQ(t.ed.surf.Pixel(30, 30), Magenta) << "band to the predecessor";
    t.ed.MouseMove(10, 50);
    EXPECT_EQ(t.ed.surf.Pixel(30, 30), Black);
    EXPECT_EQ(t.ed.surf.Pixel(10, 30), Magenta);
    EXPECT_EQ(t.ed.surf.Pixel(50, 50), White) << "end points are set, not XOR-ed";
    EXPECT_EQ(t.ed.surf.CurrentRop(), Rop::Copy);
}

TEST(PointEdit, DropOffTheSurfaceKeepsThePoint) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Show();
    t.ed.MouseDown(Qt::LeftButton, 50, 10);
    t.ed.MouseUp(Qt::LeftButton, 0, 30);
    t.ed.MouseDown(Qt::LeftButton, 50, 10);
    t.ed.MouseUp(Qt::LeftButton, -40, 5000);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(50, 10), Sep}));
}

TEST(PointEdit, PopupIsEnabledByPixelColour) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Show();
    t.ed.MouseDown(Qt::RightButton, 10, 10);
    EXPECT_EQ(t.ui.attached, Popup::RBtnEditMode);
    EXPECT_TRUE(t.ui.Enabled(Cmd::AppendDot) && t.ui.Enabled(Cmd::DelPoint));
    EXPECT_FALSE(t.ui.Enabled(Cmd::CutDots) || t.ui.Enabled(Cmd::DelLine));
    t.ed.MouseDown(Qt::RightButton, 30, 10);
    EXPECT_FALSE(t.ui.Enabled(Cmd::AppendDot) || t.ui.Enabled(Cmd::DelPoint));
    EXPECT_TRUE(t.ui.Enabled(Cmd::CutDots) && t.ui.Enabled(Cmd::DelLine));
    t.ed.modes.tools->edit.OfferEditPopup(true, QPoint(7, 8));
    EXPECT_EQ(t.ui.shown, Popup::RBtnEditMode);
    EXPECT_EQ(t.ui.shownAt, QPoint(7, 8));
}

TEST(PointEdit, AppendDotSplitsTheLongerSegment) {
    {
        EditFixture t;
        t.Chain({{10, 10}, {20, 10}, {40, 10}});  // 10 then 20 pixels
        t.Show();
        t.Popup(20, 10, Cmd::AppendDot);
        EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(20, 10), R(30, 10), R(40, 10), Sep}));
    }
    {
        EditFixture t;
        t.Chain({{10, 10}, {21, 10}, {32, 10}});  // equal: the segment before
        t.Show();
        t.Popup(21, 10, Cmd::AppendDot);
        EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(15, 10), R(21, 10), R(32, 10), Sep}));
    }
    {
        EditFixture t;
        t.Chain({{10, 10}});
        t.Chain({{30, 10}, {41, 21}}, false);  // last record of the list
        t.Show();
        t.Popup(10, 10, Cmd::AppendDot);
        EXPECT_EQ(t.st().PointLast, 4) << "a lone point gets nothing";
        t.Popup(41, 21, Cmd::AppendDot);
        EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), Sep, R(30, 10), R(35, 15), R(41, 21)}));
    }
}

TEST(PointEdit, DelDotTakesTheFirstRecordAtThePixel) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Chain({{50, 10}, {50, 50}, {90, 50}});
    t.Show();
    t.Popup(50, 10, Cmd::DelPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), Sep, R(50, 10), R(50, 50), R(90, 50), Sep}));
    t.Popup(50, 50, Cmd::DelPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), Sep, R(50, 10), R(90, 50), Sep}));
    EXPECT_EQ(t.ed.surf.Pixel(70, 30), Magenta) << "neighbours joined directly";
}

TEST(PointEdit, PointCommandsNeverTakeSeparators) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Chain({{60, 10}, {90, 10}});
    t.ed.surf.SetPixel(0, 0, White);  // e.g. a white pixel of the under-drawing
    t.ed.SetClick(0, 0);
    t.ed.modes.tools->edit.OfferEditPopup(false, QPoint());
    ASSERT_EQ(t.ui.attached, Popup::RBtnEditMode);
    const List before = t.Points();
    t.ed.Command(Cmd::DelPoint);
    t.ed.Command(Cmd::AppendDot);
    t.ed.modes.tools->edit.GrabPoint(0, 0);
    EXPECT_EQ(t.ed.modes.tools->edit.GrabIndex, 0);
    EXPECT_EQ(t.Points(), before);
}

TEST(PointEdit, CutDotsCutsEveryChainThroughThePixel) {
    EditFixture t;
    t.Chain({{10, 50}, {90, 50}, {90, 90}});
    t.Chain({{50, 10}, {50, 90}});
    t.Show();
    t.Popup(50, 50, Cmd::CutDots);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 50), Sep, R(90, 50), R(90, 90), Sep, R(50, 10), Sep,
                                R(50, 90), Sep}));
    EXPECT_TRUE(t.st().Modified);
    EXPECT_EQ(t.ed.surf.Pixel(50, 50), Black);
    EXPECT_EQ(t.ed.surf.Pixel(90, 70), Magenta);
}

TEST(PointEdit, DelLineRemovesTheRunBetweenJunctions) {
    EditFixture t;
    t.Chain({{10, 50}, {30, 50}, {50, 50}, {60, 50}, {70, 50}, {90, 50}});
    t.Chain({{30, 10}, {30, 50}});
    t.Chain({{70, 50}, {70, 90}});
    t.Show();
    t.Popup(55, 50, Cmd::DelLine);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 50), R(30, 50), Sep, R(70, 50), R(90, 50), Sep,
                                R(30, 10), R(30, 50), Sep, R(70, 50), R(70, 90), Sep}));
    EXPECT_EQ(t.ed.surf.Pixel(40, 50), Black);
    EXPECT_EQ(t.ed.surf.Pixel(20, 50), Magenta);
}

TEST(PointEdit, DelLineOnAChainWithoutNodesRemovesIt) {
    EditFixture t;
    t.Chain({{10, 10}, {50, 10}, {50, 50}});
    t.Chain({{100, 100}, {120, 100}});
    t.Show();
    t.Popup(50, 30, Cmd::DelLine);
    EXPECT_EQ(t.Points(), (List{Sep, R(100, 100), R(120, 100), Sep}));
    t.Popup(110, 100, Cmd::DelLine);
    EXPECT_EQ(t.Points(), (List{Sep}));
}

TEST(PointEdit, SelectRunFindsTheLastCoveringSegmentAndWidens) {
    EditFixture t;
    // A closed ring: its first and last records share a coordinate (a node).
    t.Chain({{10, 10}, {50, 10}, {50, 50}, {10, 50}, {10, 10}});
    t.Chain({{50, 50}, {90, 90}});
    t.ed.SetClick(30, 10);
    int32_t s = -1, e = -1;
    t.ed.editing.SelectRun(s, e);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 3) << "stops at the node (50,50)";
    t.ed.SetClick(10, 30);
    t.ed.editing.SelectRun(s, e);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(e, 5);
    t.ed.bench.ClickX = 200;
    t.ed.editing.SelectRun(s, e);
    EXPECT_EQ(s, 0);
    EXPECT_FALSE(t.ui.busy);
}
