// 全区域の点検 in the editor: the failures listed with reason and place, the
// chosen one's region red with the view centred on it, and the work as it was.
#include <gtest/gtest.h>

#include "compose/ComposeSupport.h"
#include "support/FakeUi.h"

using namespace ctest;

TEST(CheckAll, ListsEveryFailureAndMarksTheChosenRegionWithoutTouchingTheWork) {
    TestEditor t(200, 120);
    // Two rooms whose wall has a gap, an open box, and a closed box.
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{10, 10}, {60, 10}, {110, 10}, {110, 60}, {60, 60}, {10, 60}, {10, 10}});
        AddChain(s_, {{60, 10}, {60, 45}});
        AddChain(s_, {{130, 20}, {180, 20}, {180, 80}, {130, 80}, {130, 30}});
        AddChain(s_, {{20, 80}, {50, 80}, {50, 110}, {20, 110}, {20, 80}});
    });
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{50, 80}, {20, 80}});
    });  // traced twice: the check leaves it in
    EditMap(t.ed, [&](Store& s_) {
        AddArea(s_, "右", {{85, 35}});
        AddArea(s_, "左", {{35, 35}});
        AddArea(s_, "開", {{150, 50}});
        AddArea(s_, "閉", {{35, 95}});
    });
    ReDraw(t.ed.bench);
    t.ui.clientSize = QSize(40, 30);
    const Surface before = t.ed.surf;
    const std::vector<Rec> points = t.Points();
    auto sameView = [&] {
        return std::equal(before.Data(), before.Data() + 200 * 120, t.ed.surf.Data());
    };

    t.ed.Command(Cmd::CheckAreas);
    ASSERT_EQ(t.ui.checkRows.size(), 3u);
    EXPECT_TRUE(t.ui.checkListVisible);
    const CheckRow& right = t.ui.checkRows[0];
    EXPECT_EQ(right.area, 1);
    EXPECT_EQ(right.name, QStringLiteral("右"));
    EXPECT_EQ(right.reason, QStringLiteral("区域(左)と同じ領域"));
    EXPECT_EQ(right.place, QPoint(85, 35));  // its own position; the text names the other
    EXPECT_EQ(right.message,
              QStringLiteral("赤の区域(右)と区域(左)の位置(35,35)が同じ領域にあります。"
                             "間の境界線が途切れています。"));
    EXPECT_EQ(t.ui.checkRows[1].place, QPoint(35, 35));
    const CheckRow& open = t.ui.checkRows[2];
    EXPECT_EQ(open.area, 3);
    EXPECT_EQ(open.reason, QStringLiteral("閉じていない"));
    EXPECT_EQ(open.message, QStringLiteral("赤の区域(開)は閉じていません。"));
    // Checking changed nothing: not the view, the list, the flags or the history.
    EXPECT_TRUE(sameView());
    EXPECT_EQ(t.Points(), points);
    EXPECT_FALSE(t.st().Modified);
    EXPECT_FALSE(t.ui.progressVisible);
    EXPECT_FALSE(t.ui.busy);

    t.ed.problems.CheckListClick(2);  // the open box: its region runs out into the surroundings
    EXPECT_EQ(t.ed.surf.Pixel(150, 50), Red);
    EXPECT_EQ(t.ed.surf.Pixel(190, 110), Red);
    EXPECT_EQ(t.ed.surf.Pixel(35, 35), before.Pixel(35, 35));
    EXPECT_EQ(t.ed.surf.Pixel(35, 95), before.Pixel(35, 95));
    EXPECT_EQ(t.ed.surf.Pixel(130, 50), before.Pixel(130, 50));  // the lines stay
    EXPECT_EQ(t.ui.scroll,
              QPoint(std::max(0, open.place.x() - 20), std::max(0, open.place.y() - 15)));

    t.ed.problems.CheckListClick(0);  // the previous mark goes, the rooms turn red
    EXPECT_EQ(t.ed.surf.Pixel(150, 50), before.Pixel(150, 50));
    EXPECT_EQ(t.ed.surf.Pixel(190, 110), before.Pixel(190, 110));
    EXPECT_EQ(t.ed.surf.Pixel(35, 35), Red);
    EXPECT_EQ(t.ed.surf.Pixel(85, 50), Red);
    EXPECT_EQ(t.ui.scroll, QPoint(65, 20));  // about 右's own position

    t.ed.problems.CheckListClosed();
    EXPECT_TRUE(sameView());
    EXPECT_EQ(t.Points(), points);
    EXPECT_FALSE(t.st().Modified);
    EXPECT_FALSE(t.ed.doc.Steps().CanUndo());

    // A mark is never recorded: acting on the map takes it back first, and
    // undoing that act shows no mark.
    t.ed.Command(Cmd::CheckAreas);
    t.ed.problems.CheckListClick(0);
    t.ed.MouseDown(Qt::LeftButton, 150, 100);
    t.ed.MouseUp(Qt::LeftButton, 150, 100);
    EXPECT_EQ(t.ed.surf.Pixel(35, 35), before.Pixel(35, 35));
    ASSERT_TRUE(t.ed.doc.Steps().CanUndo());
    t.ed.Command(Cmd::Undo);
    EXPECT_TRUE(sameView());

    // A sound map says so plainly and shows no list.
    TestEditor s(200, 120);
    EditMap(s.ed, [&](Store& s_) {
        TwoRooms(s_);
        AddArea(s_, "左", {{35, 35}});
        AddArea(s_, "右", {{85, 35}});
    });
    s.ed.Command(Cmd::CheckAreas);
    EXPECT_FALSE(s.ui.checkListVisible);
    EXPECT_EQ(s.ui.LastText(),
              QStringLiteral("区域の位置 2 か所を点検しました。どの区域の境界線も閉じています。"));
}

TEST(CheckAll, RepairMendsTheChosenProblemOrEveryOneOfItsKindAsOneStep) {
    TestEditor t(260, 120);
    // Two pairs of rooms whose walls stop 2 px above the floor: four rows,
    // each pair sharing its region.
    EditMap(t.ed, [&](Store& s_) {
        for (int x0 : {10, 130}) {
            AddChain(s_, {{x0, 10}, {x0 + 50, 10}, {x0 + 100, 10}, {x0 + 100, 60}, {x0 + 50, 60},
                          {x0, 60}, {x0, 10}});
            AddChain(s_, {{x0 + 50, 10}, {x0 + 50, 58}});
        }
        AddArea(s_, "一", {{35, 35}});
        AddArea(s_, "二", {{85, 35}});
        AddArea(s_, "三", {{155, 35}});
        AddArea(s_, "四", {{205, 35}});
    });
    ReDraw(t.ed.bench);
    const std::vector<Rec> broken = t.Points();
    t.ed.Command(Cmd::CheckAreas);
    ASSERT_EQ(t.ui.checkRows.size(), 4u);

    t.ed.problems.CheckListRepair(0, false);  // the first pair only
    EXPECT_EQ(t.ui.checkRows.size(), 2u);
    EXPECT_EQ(t.ui.checkRows[0].area, 3);
    EXPECT_TRUE(t.st().Modified);
    ASSERT_TRUE(t.ed.doc.Steps().CanUndo());

    t.ed.problems.CheckListRepair(0, true);  // what is left of that kind
    EXPECT_TRUE(t.ui.checkRows.empty());
    EXPECT_EQ(t.ui.LastText(),
              QStringLiteral("区域の位置 4 か所を点検しました。どの区域の境界線も閉じています。"));
    t.ed.Command(Cmd::Undo);
    t.ed.Command(Cmd::Undo);
    EXPECT_EQ(t.Points(), broken);
}
