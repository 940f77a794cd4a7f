// Moving and scaling the whole map through the move/scale dialog.
#include <gtest/gtest.h>

#include "ops/MoveScale.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"

namespace {

struct MoveMap : ::testing::Test {
    TestEditor t{400, 300};
    Editor& ed = t.ed;
    const Store& st = t.st();
    MoveFields seen;

    void Answer(QString dx, QString dy, QString f, bool ok = true) {
        t.ui.onMoveMapDialog = [=, this](MoveFields& m) {
            seen = m;
            m.dx = dx;
            m.dy = dy;
            m.factor = f;
            return ok;
        };
    }
    // A picture whose column x has colour x % 16, kept as the under-drawing.
    void Picture(int w, int h) {
        Surface s(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s.SetPixel(x, y, uint8_t(x % 16));
        QString err;
        ASSERT_TRUE(WriteSurfaceBitmap(s, ed.temps.picture, &err)) << err.toStdString();
        EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    }
    void Sample() {
        t.Chain({{3, 5}, {100, 50}});
        EditMap(t.ed, [&](Store& s_) {
            s_.AssignKinds({{0, -1}, {3, 5}, {10, 20}});
            s_.AreaCount = 1;
            s_.AreaPos(0, 1) = {100, 50};
            s_.AreaPos(1, 1) = {0, 0};
        });
    }
};

TEST_F(MoveMap, ShiftThenScaleRoundsHalvesToEven) {
    Sample();
    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 1;
        s_.LegendY = 7;
    });
    Answer("20", "-10", "1.5");
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(seen.dx, "0");
    EXPECT_EQ(seen.dy, "0");
    EXPECT_EQ(seen.factor, "1.0");
    // (3+20)*1.5 = 34.5 -> 34, (5-10)*1.5 = -7.5 -> -8; (100,50) -> (180,60)
    EXPECT_EQ(st.Point(1), (Rec{34, -8}));
    EXPECT_EQ(st.Point(2), (Rec{180, 60}));
    EXPECT_EQ(st.Point(3), (Rec{0, 0}));
    EXPECT_EQ(st.KindRec(0), (Rec{0, -1}));  // the group header stays
    EXPECT_EQ(st.KindRec(2), (Rec{45, 15}));
    EXPECT_EQ(st.AreaPos(0, 1), (Rec{180, 60}));
    EXPECT_EQ(st.AreaPos(1, 1), (Rec{0, 0}));
    EXPECT_EQ(st.LegendX, 32);  // 31.5 -> 32
    EXPECT_EQ(st.LegendY, -4);  // -4.5 -> -4
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(MoveMap, HalvingAndTheLegendRule) {
    t.Chain({{3, 5}});
    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 0;
        s_.LegendY = 9;
    });
    Answer("0", "0", "0.5");
    t.ui.scroll = {40, 30};
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(st.Point(1), (Rec{2, 2}));  // 1.5 -> 2, 2.5 -> 2
    EXPECT_EQ(st.LegendX, 0);             // a legend at X 0 does not move
    EXPECT_EQ(st.LegendY, 9);
    EXPECT_EQ(t.ui.scroll, QPoint(0, 0));  // below 1.0 the view goes home

    t.ui.scroll = {40, 30};
    Answer("1", "0", "1");
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(st.Point(1), (Rec{3, 2}));
    EXPECT_EQ(t.ui.scroll, QPoint(40, 30));
}

TEST_F(MoveMap, NothingToDoMeansNoRedrawEither) {
    Sample();
    const auto before = t.Points();
    ed.surf.SetPixel(300, 200, Red);
    for (auto [dx, dy, f] :
         {std::tuple{"0", "0", "1.0"}, std::tuple{"5", "5", "0"}, std::tuple{"0", "0", "1"}}) {
        Answer(dx, dy, f);
        ed.mapCommands.MoveMapClick();
    }
    Answer("5", "5", "2", false);  // cancelled
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(t.Points(), before);
    EXPECT_EQ(ed.surf.Pixel(300, 200), Red);
    EXPECT_EQ(t.ui.surfaceChanges, 0);
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(MoveMap, BadValuesAndResultsThatDoNotFitAreRefusedWholesale) {
    Sample();
    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 10;
        s_.LegendY = 10;
    });
    const auto points = t.Points();
    const auto kinds = st.KindsToVector();
    ed.surf.SetPixel(300, 200, Red);
    const struct {
        const char *dx, *dy, *f, *says;
    } cases[] = {
        {"abc", "0", "1.0", "Ｘ方向"}, {"1.5", "0", "1.0", "整数"}, {"0", "", "1.0", "Ｙ方向"},
        {"0", "0", "x", "伸縮率"},     {"0", "0", "nan", "伸縮率"}, {"-3", "0", "1.0", "X 座標"},
        {"0", "0", "-1", "X 座標"},    {"0", "32730", "1", "範囲"}, {"0", "0", "400", "範囲"},
    };
    for (const auto& c : cases) {
        Answer(c.dx, c.dy, c.f);
        t.ui.messages.clear();
        ed.mapCommands.MoveMapClick();
        ASSERT_EQ(t.ui.messages.size(), 1u) << c.dx << " " << c.dy << " " << c.f;
        EXPECT_TRUE(t.ui.LastText().contains(QString::fromUtf8(c.says)))
            << t.ui.LastText().toStdString();
        EXPECT_EQ(t.Points(), points);
        EXPECT_EQ(st.KindsToVector(), kinds);
        EXPECT_EQ(st.AreaPos(0, 1), (Rec{100, 50}));
        EXPECT_EQ(st.LegendX, 10);
    }
    EXPECT_EQ(ed.surf.Pixel(300, 200), Red);
}

TEST_F(MoveMap, FullWidthDigitsAreRead) {
    t.Chain({{3, 5}});
    Answer("１０", " -2 ", "２");
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(st.Point(1), (Rec{26, 6}));
}

TEST_F(MoveMap, ThePictureIsShiftedAndScaled) {
    Picture(400, 300);
    t.Chain({{50, 40}});
    Answer("-10", "0", "1.0");
    ed.mapCommands.MoveMapClick();
    QString err;
    QImage pic = ReadBitmapFile(ed.temps.picture, &err);
    ASSERT_FALSE(pic.isNull()) << err.toStdString();
    EXPECT_EQ(pic.size(), QSize(390, 300));
    for (int x : {0, 1, 5, 389}) EXPECT_EQ(NearestColour(pic.pixel(x, 7)), (x + 10) % 16) << x;
    EXPECT_EQ(st.Point(1), (Rec{40, 40}));
    EXPECT_EQ(st.MapWidth, 390);  // the redraw takes the extent from the picture

    Answer("0", "0", "2");
    ed.mapCommands.MoveMapClick();
    pic = ReadBitmapFile(ed.temps.picture, &err);
    EXPECT_EQ(pic.size(), QSize(780, 600));
    EXPECT_EQ(NearestColour(pic.pixel(3, 0)), (1 + 10) % 16);
    EXPECT_EQ(st.Point(1), (Rec{80, 80}));
}

TEST_F(MoveMap, APositiveShiftAddsABlackStrip) {
    Picture(40, 30);
    Answer("5", "2", "1.0");
    ed.mapCommands.MoveMapClick();
    QString err;
    const QImage pic = ReadBitmapFile(ed.temps.picture, &err);
    EXPECT_EQ(pic.size(), QSize(45, 32));
    EXPECT_EQ(NearestColour(pic.pixel(4, 10)), Black);
    EXPECT_EQ(NearestColour(pic.pixel(1, 1)), Black);
    EXPECT_EQ(NearestColour(pic.pixel(6, 10)), 1);
}

TEST_F(MoveMap, AnUnreadableOrVanishingPictureChangesNothing) {
    t.Chain({{50, 40}});
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });  // but the file is missing
    Answer("5", "0", "1.0");
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(st.Point(1), (Rec{50, 40}));

    Picture(40, 30);
    t.ui.messages.clear();
    Answer("-45", "0", "1.0");  // no point would go below X 1, but the picture would be gone
    EditMap(t.ed, [&](Store& s_) { s_.SetPoint(1, 100, 40); });
    ed.mapCommands.MoveMapClick();
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(st.Point(1), (Rec{100, 40}));
    QString err;
    EXPECT_EQ(ReadBitmapFile(ed.temps.picture, &err).size(), QSize(40, 30));
}

}  // namespace
