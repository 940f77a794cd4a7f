// Keys over the drawing surface: the guard, the pointer steps and the edge
// scrolling, and the mouse actions they replay at the pointer.
#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {

struct Keys : ::testing::Test {
    TestEditor t{400, 300};
    Editor& ed = t.ed;
    const Store& st = t.st();
    FakeUi& ui = t.ui;

    void SetUp() override {
        ui.clientSize = {200, 150};
        ui.scroll = {0, 0};
        ed.modeCommands.BuildModeClick();
        ReDraw(ed.bench);
        Over(SurfaceCursor::CrossLine);
        PointAt(50, 50);
        ui.enabled.clear();
    }
    void Over(std::optional<SurfaceCursor> c) { ui.pointerOverSurface = c; }
    // Puts the pointer over surface point (x, y).
    void PointAt(int x, int y) { ui.pointer = ui.SurfaceToScreen({x, y}); }
    QPoint Surf() { return ui.ScreenToSurface(ui.pointer); }
    void Key(int k, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButtons b = Qt::NoButton) {
        ed.KeyDown(k, m, b);
    }
};

TEST_F(Keys, ShiftAloneStepsEightAnythingElseOne) {
    Key(vk::Right, Qt::ShiftModifier);
    EXPECT_EQ(Surf(), QPoint(58, 50));
    Key(vk::Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Surf(), QPoint(59, 50));
    Key(vk::Down, Qt::ShiftModifier, Qt::LeftButton);
    EXPECT_EQ(Surf(), QPoint(59, 51));
    Key(vk::Left, Qt::ShiftModifier | Qt::KeypadModifier);  // arrows of the number pad
    EXPECT_EQ(Surf(), QPoint(51, 51));
    Key(vk::Up);
    EXPECT_EQ(Surf(), QPoint(51, 50));
    Key(vk::Up, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(Surf(), QPoint(51, 49));
    EXPECT_EQ(ui.scroll, QPoint(0, 0));
    EXPECT_EQ(ed.bench.ClickX, 51);  // where the pointer was when the key came
    EXPECT_EQ(ed.bench.ClickY, 50);
}

TEST_F(Keys, NearTheEdgesTheViewScrollsInsteadWithTheTwoThresholds) {
    ui.scroll = {100, 100};
    // Left/top: within step + 1 of the visible edge.
    PointAt(102, 103);
    Key(vk::Left);
    EXPECT_EQ(ui.scroll, QPoint(99, 100));
    EXPECT_EQ(ui.pointer, ui.SurfaceToScreen({101, 103}));  // pointer stays on the screen
    PointAt(103, 103);
    Key(vk::Left);
    EXPECT_EQ(ui.scroll, QPoint(99, 100));
    Key(vk::Up);
    EXPECT_EQ(ui.scroll, QPoint(99, 100));  // 103 - 100 > 2
    PointAt(103, 102);
    Key(vk::Up);
    EXPECT_EQ(ui.scroll, QPoint(99, 99));

    // Right/bottom: within step of the far edge (client 200 x 150).
    ui.scroll = {100, 100};
    PointAt(291, 248);
    Key(vk::Right, Qt::ShiftModifier);
    EXPECT_EQ(ui.scroll, QPoint(100, 100));
    EXPECT_EQ(Surf(), QPoint(299, 248));
    PointAt(292, 248);
    Key(vk::Right, Qt::ShiftModifier);
    EXPECT_EQ(ui.scroll, QPoint(108, 100));
    PointAt(200, 249);
    Key(vk::Down);
    EXPECT_EQ(ui.scroll, QPoint(108, 101));
}

TEST_F(Keys, KeysDoNothingUnlessThePointerIsOverTheSurfaceInAnEditingMode) {
    for (std::optional<SurfaceCursor> c :
         {std::optional<SurfaceCursor>(), std::optional(SurfaceCursor::IndexPosition),
          std::optional(SurfaceCursor::Arrow)}) {
        Over(c);
        ed.bench.ClickX = 7;
        const QPoint p = ui.pointer;
        for (int k : {vk::Right, vk::Down, vk::Return, vk::A, vk::Space, vk::Z})
            Key(k, Qt::ShiftModifier);
        EXPECT_EQ(ui.pointer, p);
        EXPECT_EQ(ui.scroll, QPoint(0, 0));
        EXPECT_EQ(ed.bench.ClickX, 7);
        EXPECT_EQ(st.PointLast, 0);
        EXPECT_EQ(st.Mode, Mode::Input);
        EXPECT_EQ(ui.popupsShown, 0);
        EXPECT_TRUE(ui.enabled.empty());
    }
}

TEST_F(Keys, AHandledKeyEnablesTheCompositionUnlessItIsCurrent) {
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    Key(vk::Right);
    EXPECT_TRUE(ui.enabled.find(Cmd::ReMakeLine) == ui.enabled.end());
    EditMap(t.ed, [&](Store& s_) { s_.Completed = false; });
    Key(0x51);  // a key without an action still counts
    EXPECT_TRUE(ui.Enabled(Cmd::ReMakeLine));
    EXPECT_TRUE(ui.Enabled(Cmd::SpRemake));
    EXPECT_FALSE(st.Modified);
}

TEST_F(Keys, LetterCommandsIgnoreCtrlAltAndMetaButNotShift) {
    PointAt(30, 40);
    for (Qt::KeyboardModifiers m :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier),
          Qt::KeyboardModifiers(Qt::MetaModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        Key(vk::A, m);
        Key(vk::Z, m);
    }
    EXPECT_EQ(st.PointLast, 0);
    EXPECT_EQ(st.Mode, Mode::Input);
    EXPECT_TRUE(ui.enabled.empty());
    Key(vk::Return, Qt::ControlModifier);  // not a letter: still adds the point
    Key(vk::A, Qt::ShiftModifier);
    EXPECT_EQ(st.PointLast, 2);
    Key(vk::Z, Qt::ShiftModifier);
    EXPECT_EQ(st.Mode, Mode::Edit);
}

TEST_F(Keys, ZSwitchesBetweenInputAndEditOnly) {
    Key(vk::Z);
    EXPECT_EQ(st.Mode, Mode::Edit);
    Over(SurfaceCursor::CrossEdit);
    Key(vk::Z);
    EXPECT_EQ(st.Mode, Mode::Input);
    ed.modeCommands.CuttingModeClick();
    Over(SurfaceCursor::Cutter);
    Key(vk::Z);
    EXPECT_EQ(st.Mode, Mode::Trimming);
}

TEST_F(Keys, InTrimmingReturnAddsCornersAndSpaceOffersTheCuts) {
    ed.modeCommands.CuttingModeClick();
    Over(SurfaceCursor::Cutter);
    for (QPoint p : {QPoint(20, 20), QPoint(120, 20), QPoint(120, 100)}) {
        PointAt(p.x(), p.y());
        Key(vk::Return);
    }
    EXPECT_EQ(ed.modes.tools->trimming.TempPolyLast, 2);
    EXPECT_EQ(ed.modes.tools->trimming.TempPoly[2].x, 120);
    EXPECT_EQ(ed.modes.tools->trimming.TempPoly[2].y, 100);
    Key(vk::Space);
    EXPECT_EQ(ui.shown, Popup::RBtnCutting);
    EXPECT_EQ(ui.shownAt, ui.pointer);
    EXPECT_TRUE(ui.Enabled(Cmd::SweepCutting));

    // After the outline is used up the menu must not offer the cuts again.
    ed.trimming.CancelCuttingClick();
    Key(vk::Space);
    EXPECT_FALSE(ui.Enabled(Cmd::SweepCutting));
    EXPECT_FALSE(ui.Enabled(Cmd::HoleCutting));
}

TEST_F(Keys, InJigsawReturnLiftsAndTheNextReturnDrops) {
    t.Chain({{20, 20}, {60, 20}, {60, 60}, {20, 60}, {20, 20}});
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaCount = 1;
        s_.AreaPos(0, 1) = {40, 40};
        s_.Completed = true;
    });
    ed.modeCommands.PickUpModeClick();
    ReDraw(ed.bench);
    Over(SurfaceCursor::PickUp);
    PointAt(30, 30);
    Key(vk::Return);
    EXPECT_EQ(ed.modes.tools->jigsaw.PickFirst, 1);
    Key(vk::Right, Qt::ShiftModifier);
    Key(vk::A);
    EXPECT_EQ(ed.modes.tools->jigsaw.PickFirst, 0);
    EXPECT_EQ(st.Point(1), (Rec{28, 20}));
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{48, 40}));
}

TEST_F(Keys, InLineKindModeReturnAndSpaceOfferThePopupAndAIsIgnored) {
    t.Chain({{20, 50}, {100, 50}});
    ed.modeCommands.LineKindModeClick();
    Over(SurfaceCursor::CrossKind);
    PointAt(60, 50);
    Key(vk::A);
    EXPECT_EQ(ui.popupsShown, 0);
    const QPoint before = ui.pointer;
    Key(vk::Return);
    EXPECT_EQ(ui.shown, Popup::BtnLKindMode);
    EXPECT_EQ(ui.shownAt, before);
    Key(vk::Space);
    EXPECT_EQ(ui.popupsShown, 2);
    EXPECT_EQ(ed.bench.ClickX, 60);
}

TEST_F(Keys, ReturnInInputAppendsAndTwiceInEditMovesAPoint) {
    PointAt(30, 40);
    Key(vk::Return);
    PointAt(90, 40);
    Key(vk::A);
    ASSERT_EQ(st.PointLast, 2);
    EXPECT_EQ(st.Point(1), (Rec{30, 40}));
    EXPECT_EQ(st.Point(2), (Rec{90, 40}));
    EXPECT_EQ(ed.surf.Pixel(60, 40), Magenta);
    Key(vk::Space);
    EXPECT_EQ(ui.shown, Popup::RButtonMenu);

    Key(vk::Z);
    ASSERT_EQ(st.Mode, Mode::Edit);
    Over(SurfaceCursor::CrossEdit);
    PointAt(90, 40);
    Key(vk::Return);
    EXPECT_GT(ed.modes.tools->edit.GrabIndex, 0);
    for (int i = 0; i < 10; ++i) Key(vk::Down);
    Key(vk::Return);
    EXPECT_EQ(ed.modes.tools->edit.GrabIndex, 0);
    EXPECT_EQ(st.Point(2), (Rec{90, 50}));
    EXPECT_EQ(st.Point(1), (Rec{30, 40}));
}

TEST_F(Keys, BackspaceTakesBackTheOpenLinesLastPoint) {
    for (auto [x, y] : {std::pair{30, 40}, {90, 40}, {90, 90}}) {
        PointAt(x, y);
        Key(vk::Return);
    }
    Key(vk::Backspace);
    ASSERT_EQ(st.PointLast, 2);
    EXPECT_EQ(st.Point(2), (Rec{90, 40}));
    EXPECT_NE(ed.surf.Pixel(90, 60), ed.surf.Pixel(60, 40));  // its segment is gone

    Key(vk::Backspace);
    Key(vk::Backspace);  // the lone first point goes too
    ed.Command(Cmd::EditMode);
    EXPECT_EQ(st.PointLast, 0);
    Key(vk::Backspace);
    EXPECT_EQ(st.PointLast, 0);
}

TEST_F(Keys, ALineLeftOpenByAModeSwitchEndsBeforeTheNextPoint) {
    for (auto [x, y] : {std::pair{30, 40}, {90, 40}}) {
        PointAt(x, y);
        Key(vk::Return);
    }
    ed.Command(Cmd::EditMode);
    ed.Command(Cmd::BuildMode);
    EXPECT_EQ(st.PointLast, 2);  // the switch itself changes nothing
    Key(vk::Backspace);          // the line is finished: its points stay
    EXPECT_EQ(st.PointLast, 2);
    PointAt(90, 200);
    Key(vk::Return);
    ASSERT_EQ(st.PointLast, 4);
    EXPECT_EQ(st.PointX(3), 0);
    EXPECT_EQ(st.Point(4), (Rec{90, 200}));
    EXPECT_NE(ed.surf.Pixel(90, 120), ed.surf.Pixel(60, 40));  // no stray segment
    PointAt(150, 200);
    Key(vk::Return);  // the new line goes on as usual
    EXPECT_EQ(st.PointLast, 5);
    EXPECT_EQ(ed.surf.Pixel(120, 200), ed.surf.Pixel(60, 40));
}

}  // namespace
