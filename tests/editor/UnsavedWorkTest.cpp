// Every command that changes what a save would write leaves the work marked
// unsaved, so that quitting asks before the change is let go.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <functional>

#include "raster/BitmapFile.h"
#include "support/FakeUi.h"

namespace {

QImage Ink(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int i = 0; i < std::min(w, h); ++i) img.setPixel(i, i, qRgb(0, 0, 0));
    return img;
}

// A saved work file with a square, one named area, a division line over the
// square's top side, a legend and a picture.
struct SavedWork {
    QTemporaryDir dir;
    QString vlm = dir.filePath("work.vlm"), bmp = dir.filePath("other.bmp");
    SavedWork() {
        TestEditor t(200, 200);
        t.Chain({{20, 20}, {120, 20}, {120, 120}, {20, 120}, {20, 20}});
        EditMap(t.ed, [&](Store& s_) {
            s_.SetAreaName(1, "A");
            s_.AreaCount = 1;
            s_.AreaPos(0, 1) = Rec{60, 60};
            s_.KindLast = 2;
            s_.SetKind(0, 0, KindDivision);
            s_.SetKind(1, 20, 20);
            s_.SetKind(2, 120, 20);
            s_.LegendX = s_.LegendY = 150;
        });
        EXPECT_TRUE(WriteBitmapFile(Ink(200, 200), t.ed.temps.picture, nullptr));
        EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
        t.ui.files = {vlm};
        t.ed.files.SaveWorkClick();
        EXPECT_FALSE(t.st().Modified);
        EXPECT_TRUE(WriteBitmapFile(Ink(50, 40), bmp, nullptr));
    }
};

}  // namespace

TEST(UnsavedWork, QuittingAsksAfterEveryCommandThatChangesTheWork) {
    SavedWork saved;
    struct Case {
        const char* what;
        std::function<void(TestEditor&)> run;
    } cases[] = {
        {"move/scale",
         [](TestEditor& t) {
             t.ui.onMoveMapDialog = [](MoveFields& f) {
                 f.dx = "5";
                 return true;
             };
             t.ed.Command(Cmd::MoveMap);
         }},
        {"load picture, keeping the lines",
         [&](TestEditor& t) {
             t.ui.files = {saved.bmp};
             t.ui.answers = {false};
             t.ed.Command(Cmd::LoadBMP);
         }},
        {"paste picture",
         [](TestEditor& t) {
             t.ui.clipboard = Ink(30, 30);
             t.ed.Command(Cmd::BMPpaste);
         }},
        {"monochrome",
         [](TestEditor& t) {
             t.ui.color = qRgb(255, 0, 0);
             t.ed.Command(Cmd::BMPmonotone);
         }},
        {"enlarge", [](TestEditor& t) { t.ed.Command(Cmd::BMPexpand); }},
        {"clear picture", [](TestEditor& t) { t.ed.Command(Cmd::BMPclear); }},
        {"release a line kind from the keyboard",
         [](TestEditor& t) {
             t.ed.Command(Cmd::LineKindMode);
             t.ui.pointerOverSurface = SurfaceCursor::CrossKind;
             t.ui.pointer = t.ui.SurfaceToScreen({70, 20});
             t.ed.KeyDown(vk::Return, Qt::NoModifier, Qt::NoButton);
             ASSERT_TRUE(t.ui.Enabled(Cmd::RelAbsLine));
             t.ed.Command(Cmd::RelAbsLine);
             EXPECT_EQ(t.st().KindLast, -1);
         }},
        {"a point from the keyboard",
         [](TestEditor& t) {
             t.ui.pointerOverSurface = SurfaceCursor::CrossLine;
             t.ui.pointer = t.ui.SurfaceToScreen({160, 30});
             t.ed.KeyDown(vk::Return, Qt::NoModifier, Qt::NoButton);
         }},
        {"composition", [](TestEditor& t) { t.ed.Command(Cmd::ReMakeLine); }},
        {"area positions typed in the dialog",
         [](TestEditor& t) {
             t.ed.Command(Cmd::ZoneArrange);
             t.ui.zpotBoxes[0] = "70,70";
             ASSERT_TRUE(t.ed.areaPositions.ZpotClose());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestEditor t(200, 200);
        ASSERT_TRUE(t.ed.files.LoadWorkFile(saved.vlm));
        ASSERT_TRUE(t.st().BasePicLoaded);
        ASSERT_FALSE(t.st().Modified);
        c.run(t);
        t.ui.messages.clear();
        t.ui.answers = {false};
        EXPECT_FALSE(t.ed.CloseQuery());
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("Velmot 終了確認"));
    }

    // Looking without changing anything lets the program close at once.
    TestEditor t(200, 200);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(saved.vlm));
    t.ed.Command(Cmd::BMPshowhide);
    t.ed.Command(Cmd::EditMode);
    t.ed.Command(Cmd::BuildMode);
    t.ed.Command(Cmd::ZoneArrange);
    ASSERT_TRUE(t.ed.areaPositions.ZpotClose());
    t.ui.messages.clear();
    EXPECT_TRUE(t.ed.CloseQuery());
    EXPECT_TRUE(t.ui.messages.empty());
}
