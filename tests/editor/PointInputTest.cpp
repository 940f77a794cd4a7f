#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {

Rec R(int x, int y) {
    return Rec{int16_t(x), int16_t(y)};
}
const Rec Sep{0, 0};
using List = std::vector<Rec>;

void Click(TestEditor& t, int x, int y) {
    t.ed.MouseDown(Qt::LeftButton, x, y);
}

}  // namespace

TEST(PointInput, LeftClicksTraceAChain) {
    TestEditor t;
    ReDraw(t.ed.bench);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    Click(t, 10, 20);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 20)}));
    EXPECT_EQ(t.ed.surf.Pixel(10, 20), White);
    EXPECT_TRUE(t.st().Completed) << "a chain's first point adds no segment";
    Click(t, 30, 20);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 20), R(30, 20)}));
    EXPECT_EQ(t.ed.surf.Pixel(20, 20), Magenta);
    EXPECT_EQ(t.ed.surf.Pixel(30, 20), White);
    EXPECT_FALSE(t.st().Completed);
    EXPECT_TRUE(t.st().Modified);
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_TRUE(t.ui.Enabled(Cmd::SpRemake));
}

TEST(PointInput, RightAndMiddlePressesAddNoPoint) {
    TestEditor t;
    t.ui.enabled[Cmd::ReMakeLine] = t.ui.enabled[Cmd::SpRemake] = false;
    t.ed.MouseDown(Qt::RightButton, 40, 50);
    EXPECT_EQ(t.st().PointLast, 0);
    EXPECT_EQ(t.ed.bench.ClickX, 40);
    EXPECT_EQ(t.ed.bench.ClickY, 50);
    EXPECT_EQ(t.ui.attached, Popup::RButtonMenu);
    EXPECT_TRUE(t.st().Modified);
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_TRUE(t.ui.Enabled(Cmd::SpRemake));

    EditMap(t.ed, [&](Store& s_) { s_.Modified = false; });
    t.ed.MouseDown(Qt::MiddleButton, 60, 70);
    EXPECT_EQ(t.st().PointLast, 0);
    EXPECT_EQ(t.ed.bench.ClickX, 40);
    EXPECT_TRUE(t.st().Modified);
}

TEST(PointInput, ClickInTheFirstColumnStoresNoSeparator) {
    TestEditor t;
    Click(t, 10, 10);
    Click(t, 0, 10);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10)}));
}

TEST(PointInput, MouseMoveWritesTheReadout) {
    TestEditor t;
    t.ed.MouseMove(12, 345);
    EXPECT_EQ(t.ui.mouseXY, QStringLiteral("  12:345"));
}

TEST(PointInput, ConnectStartPointNeedsThreePoints) {
    TestEditor t;
    ReDraw(t.ed.bench);
    Click(t, 10, 10);
    Click(t, 50, 10);
    t.ed.Command(Cmd::ConnectStartPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(50, 10)}));

    Click(t, 50, 50);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.Command(Cmd::ConnectStartPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(50, 10), R(50, 50), R(10, 10), Sep}));
    EXPECT_EQ(t.ed.surf.Pixel(30, 30), Magenta) << "closing segment drawn";
    EXPECT_FALSE(t.st().Completed);
}

TEST(PointInput, ConnectNearPoint) {
    {
        SCOPED_TRACE("only the open chain: joins its own first point");
        TestEditor t;
        t.Chain({{10, 10}, {50, 10}, {50, 50}}, false);
        t.ed.input.PopConnectNearPoint();
        EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(50, 10), R(50, 50), R(10, 10), Sep}));
    }
    {
        SCOPED_TRACE("every candidate 10,000 pixels away or more: nothing");
        TestEditor t;
        t.Chain({{10, 10}, {5000, 10}, {10010, 10}}, false);
        const List before = t.Points();
        t.ed.input.PopConnectNearPoint();
        EXPECT_EQ(t.Points(), before);
    }
    {
        SCOPED_TRACE("nearest wins, ties go to the lower index, same coordinates count");
        TestEditor t;
        t.Chain({{100, 100}, {104, 100}});
        t.Chain({{96, 100}, {300, 300}});
        t.Chain({{200, 200}, {150, 150}, {100, 100}}, false);
        t.ed.input.PopConnectNearPoint();
        EXPECT_EQ(t.Points().end()[-2], R(100, 100)) << "the point at L itself (d = 0)";
        TestEditor u;
        u.Chain({{104, 100}, {96, 100}});
        u.Chain({{200, 200}, {150, 150}, {100, 100}}, false);
        u.ed.input.PopConnectNearPoint();
        EXPECT_EQ(u.Points().end()[-2], R(104, 100));
    }
    {
        SCOPED_TRACE("two points are not enough");
        TestEditor t;
        t.Chain({{10, 10}});
        t.Chain({{50, 10}, {50, 50}}, false);
        const List before = t.Points();
        t.ed.input.PopConnectNearPoint();
        EXPECT_EQ(t.Points(), before);
    }
}

TEST(PointInput, NearPointStart) {
    TestEditor t;
    t.Chain({{10, 10}, {50, 10}});
    t.ed.SetClick(48, 14);
    t.ed.input.PopNearPointStart();
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(50, 10), Sep, R(50, 10)}))
        << "after a separator only the copy is appended";
    t.ed.input.AddPoint(50, 60);
    t.ed.SetClick(12, 12);
    t.ed.input.PopNearPointStart();
    EXPECT_EQ(t.Points(),
              (List{Sep, R(10, 10), R(50, 10), Sep, R(50, 10), R(50, 60), Sep, R(10, 10)}))
        << "an open chain is ended first";

    TestEditor empty;
    empty.ed.input.PopNearPointStart();
    EXPECT_EQ(empty.st().PointLast, 0);
}

TEST(PointInput, WrongPointLastPointAndCutLine) {
    TestEditor t;
    t.ed.Command(Cmd::WrongPoint);
    EXPECT_EQ(t.Points(), (List{Sep})) << "undo on an empty list";

    Click(t, 10, 10);
    Click(t, 20, 10);
    Click(t, 30, 10);
    t.ed.Command(Cmd::LastPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(20, 10), R(30, 10), Sep}));
    t.ed.Command(Cmd::WrongPoint);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(20, 10)})) << "separator and last point go";
    Click(t, 40, 10);
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Magenta) << "the chain is open again";

    t.ed.Command(Cmd::CutLine);
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), R(20, 10), Sep, R(40, 10)}));
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Black) << "redrawn without the cut segment";
    t.ed.Command(Cmd::LastPoint);
    EXPECT_EQ(t.st().PointLast, 4) << "one point after a separator: nothing to end";
}

TEST(PointInput, FullListRefusesNewPoints) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) {
        s_.SetPoint(Store::Capacity - 1, 5, 5);
        s_.PointLast = Store::Capacity - 1;
    });
    t.ed.input.AddPoint(10, 10);
    t.ed.input.PopCutLine();
    EXPECT_EQ(t.st().PointLast, Store::Capacity - 1);
    EXPECT_EQ(t.st().Point(Store::Capacity - 1), R(5, 5));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_TRUE(t.ui.LastText().contains(QStringLiteral("上限")));
}

TEST(PointInput, PressesReachTheOtherModes) {
    TestEditor t;
    t.Chain({{10, 10}, {50, 10}});
    ReDraw(t.ed.bench);
    EditMap(t.ed, [&](Store& s_) { s_.Mode = Mode::Edit; });
    t.ed.MouseDown(Qt::LeftButton, 50, 10);
    EXPECT_EQ(t.ed.modes.tools->edit.GrabIndex, 2);
    t.ed.MouseUp(Qt::LeftButton, 50, 30);
    EXPECT_EQ(t.ed.modes.tools->edit.GrabIndex, 0);
    EXPECT_EQ(t.Points()[2], R(50, 30));

    t.ed.MouseDown(Qt::RightButton, 30, 20);
    EXPECT_EQ(t.ui.attached, Popup::RBtnEditMode) << "a line pixel offers the edit popup";
    t.ed.MouseDown(Qt::RightButton, 200, 200);
    EXPECT_EQ(t.ui.attached, Popup::None) << "the background offers nothing";
}
