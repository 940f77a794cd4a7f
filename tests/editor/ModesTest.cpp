#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "render/Render.h"
#include "support/FakeUi.h"

namespace {

const Cmd kModeItems[] = {Cmd::BuildMode, Cmd::EditMode, Cmd::LineKindMode, Cmd::CuttingMode,
                          Cmd::PickUpMode};

// Exactly one of the five mode items is checked, and it is `item`.
void ExpectOnlyChecked(const FakeUi& ui, Cmd item) {
    for (Cmd c : kModeItems) EXPECT_EQ(ui.Checked(c), c == item) << CmdName(c);
}

}  // namespace

TEST(Modes, EachModeCommandSetsCursorButtonsAndChecks) {
    TestEditor t;
    t.ed.modes.tools->trimming.TempPolyLast = 3;
    t.ed.modeCommands.EditModeClick();
    EXPECT_EQ(t.st().Mode, Mode::Edit);
    EXPECT_EQ(t.ed.modes.tools->trimming.TempPolyLast, -1);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossEdit);
    EXPECT_FALSE(t.ui.inputDown);
    EXPECT_TRUE(t.ui.editDown);
    ExpectOnlyChecked(t.ui, Cmd::EditMode);
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_TRUE(t.ui.Enabled(Cmd::SpRemake));

    t.ed.modeCommands.LineKindModeClick();
    EXPECT_EQ(t.st().Mode, Mode::LineKind);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossKind);
    EXPECT_FALSE(t.ui.inputDown || t.ui.editDown);
    ExpectOnlyChecked(t.ui, Cmd::LineKindMode);

    t.ed.modes.tools->trimming.TempPolyLast = 3;
    t.ed.modeCommands.CuttingModeClick();
    EXPECT_EQ(t.st().Mode, Mode::Trimming);
    EXPECT_EQ(t.ed.modes.tools->trimming.TempPolyLast, -1);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::Cutter);
    EXPECT_FALSE(t.ui.inputDown || t.ui.editDown);
    ExpectOnlyChecked(t.ui, Cmd::CuttingMode);

    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.modeCommands.PickUpModeClick();
    EXPECT_EQ(t.st().Mode, Mode::Jigsaw);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::PickUp);
    ExpectOnlyChecked(t.ui, Cmd::PickUpMode);

    t.ed.modeCommands.BuildModeClick();
    EXPECT_EQ(t.st().Mode, Mode::Input);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossLine);
    EXPECT_TRUE(t.ui.inputDown);
    EXPECT_FALSE(t.ui.editDown);
    ExpectOnlyChecked(t.ui, Cmd::BuildMode);
    EXPECT_TRUE(t.ui.messages.empty());

    // The tool-bar and menu commands reach the same handlers.
    t.ed.Command(Cmd::SpEditMode);
    EXPECT_EQ(t.st().Mode, Mode::Edit);
    t.ed.Command(Cmd::SpInputMode);
    EXPECT_EQ(t.st().Mode, Mode::Input);
}

TEST(Modes, EditAndLineKindModesInvalidateTheComposition) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.modeCommands.EditModeClick();
    EXPECT_FALSE(t.st().Completed);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.modeCommands.LineKindModeClick();
    EXPECT_FALSE(t.st().Completed);
    // Trimming and point input leave it alone.
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.modeCommands.CuttingModeClick();
    t.ed.modeCommands.BuildModeClick();
    EXPECT_TRUE(t.st().Completed);
}

TEST(Modes, LeavingLineKindModeRedrawsOnceWithoutKindColours) {
    TestEditor t(100, 100);
    t.Chain({{10, 10}, {50, 10}});
    EditMap(t.ed, [&](Store& s_) { s_.AssignKinds({{0, KindDivision}, {10, 10}, {50, 10}}); });
    t.ed.modeCommands.LineKindModeClick();
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Aqua);
    const int before = t.ui.surfaceChanges;
    t.ed.modeCommands.CuttingModeClick();
    EXPECT_EQ(t.ui.surfaceChanges - before, 1);
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Magenta);
    EXPECT_EQ(t.st().Mode, Mode::Trimming);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::Cutter);
}

TEST(Modes, LeavingTrimmingWipesTheOutline) {
    TestEditor t(100, 100);
    t.ed.modeCommands.CuttingModeClick();
    render::DrawSegment(t.ed.surf, 20, 20, 60, 20, Yellow, Yellow);  // a trimming corner pair
    t.ed.modeCommands.BuildModeClick();
    EXPECT_EQ(t.ed.surf.Pixel(40, 20), Black);
    EXPECT_EQ(t.ed.surf.Pixel(20, 20), Black);
}

TEST(Modes, PointInputAgainDoesNotRedraw) {
    TestEditor t(100, 100);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.surf.SetPixel(5, 5, Red);  // something drawn incrementally
    const int before = t.ui.surfaceChanges;
    t.ed.modeCommands.BuildModeClick();
    EXPECT_EQ(t.ui.surfaceChanges, before);
    EXPECT_EQ(t.ed.surf.Pixel(5, 5), Red);
    EXPECT_TRUE(t.st().Completed);
}

TEST(Modes, JigsawRefusedUntilTheCompositionIsCurrent) {
    TestEditor t;
    t.ed.modeCommands.EditModeClick();
    t.ed.Command(Cmd::PickUpMode);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::Info);
    EXPECT_EQ(t.ui.messages[0].text,
              QStringLiteral("その前に再度、完成－境界線最終編成を行ってください。"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("お願い"));
    EXPECT_EQ(t.st().Mode, Mode::Edit);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossEdit);
    ExpectOnlyChecked(t.ui, Cmd::EditMode);
}

TEST(Modes, RestoreCursorFollowsTheMode) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) { s_.Mode = Mode::Legend; });
    t.ui.busy = true;
    t.ed.canvas.RestoreCursor();
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::IndexPosition);
    EXPECT_FALSE(t.ui.busy);
    // The area-position view keeps whatever cursor it set.
    EditMap(t.ed, [&](Store& s_) { s_.Mode = Mode::AreaPosition; });
    t.ui.cursor = SurfaceCursor::Arrow;
    t.ed.canvas.RestoreCursor();
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::Arrow);
}

TEST(Modes, PictureMenuFollowsThePictureState) {
    TestEditor t;
    t.ed.states.CheckMainMenu();
    EXPECT_FALSE(t.ui.Enabled(Cmd::BMPclear));
    EXPECT_FALSE(t.ui.Enabled(Cmd::BMPshowhide));
    EXPECT_EQ(t.ui.captions[Cmd::BMPshowhide], QStringLiteral("下絵を隠す(&H)"));

    EditMap(t.ed, [&](Store& s_) {
        s_.BasePicLoaded = true;
        s_.BasePicShown = false;
    });
    t.ed.states.CheckMainMenu();
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPclear));
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPshowhide));
    EXPECT_EQ(t.ui.captions[Cmd::BMPshowhide], QStringLiteral("下絵の再表示(&H)"));

    t.ed.states.InitCommandStates();
    t.ed.states.EnablePictureCommands();
    for (Cmd c :
         {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::BMPclear, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        EXPECT_TRUE(t.ui.Enabled(c)) << CmdName(c);
    t.ed.states.DisablePictureCommands();
    for (Cmd c : {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        EXPECT_FALSE(t.ui.Enabled(c)) << CmdName(c);
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPclear));
}

TEST(Modes, HelpAndAbout) {
    TestEditor t;
    t.ed.Command(Cmd::HelpContents);
    t.ed.Command(Cmd::AboutVelmot);
    EXPECT_EQ(t.ui.helpShown, 1);
    EXPECT_EQ(t.ui.aboutShown, 1);
}

TEST(Modes, EditingTheComposedFormGetsThePlainNetworkBack) {
    TestEditor t(100, 100);
    // Two squares sharing the edge (20,10)-(20,20), each stored closed.
    t.Chain({{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}});
    t.Chain({{20, 10}, {30, 10}, {30, 20}, {20, 20}, {20, 10}});
    EditMap(t.ed, [&](Store& s_) {
        s_.Composed = true;
        s_.Completed = true;
    });
    t.ed.modeCommands.EditModeClick();
    EXPECT_FALSE(t.st().Composed);
    EXPECT_FALSE(t.st().Completed);
    EXPECT_EQ(t.st().Mode, Mode::Edit);
    EXPECT_FALSE(t.ui.busy);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossEdit);
    // The shared edge is stored once now.
    const std::vector<Rec> pts = t.Points();
    int shared = 0;
    for (size_t i = 1; i < pts.size(); ++i) {
        const Rec a = pts[i - 1], b = pts[i];
        if (a.x == 0 || b.x == 0) continue;
        const bool ab = a == Rec{20, 10} && b == Rec{20, 20};
        const bool ba = a == Rec{20, 20} && b == Rec{20, 10};
        shared += ab || ba;
    }
    EXPECT_EQ(shared, 1);
}
