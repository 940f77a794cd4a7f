#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "raster/BitmapFile.h"
#include "render/Render.h"
#include "support/FakeUi.h"

namespace {

int CountColour(const Surface& s, uint8_t c) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.Pixel(x, y) == c;
    return n;
}

}  // namespace

TEST(Render, EmptyListAndLegend) {
    TestEditor t(200, 150);
    t.ed.surf.Fill(Red);  // whatever was there before must go
    EXPECT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(CountColour(t.ed.surf, Black),
              200 * 150);  // no legend, no network, whole extent cleared

    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 0;
        s_.LegendY = 0;
    });
    EXPECT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.ed.surf.Pixel(0, 0), Silver);
    EXPECT_EQ(t.ed.surf.Pixel(99, 99), Silver);
    EXPECT_EQ(t.ed.surf.Pixel(50, 50), Black);
    EXPECT_EQ(t.ed.surf.Pixel(100, 50), Black);
    EXPECT_EQ(CountColour(t.ed.surf, Silver), 4 * 99);
    EXPECT_GT(t.ui.surfaceChanges, 0);
}

TEST(Render, ChainsSeparatorsAndOnePointChains) {
    TestEditor t(100, 100);
    t.Chain({{10, 10}, {20, 10}});
    EditMap(t.ed,
            [&](Store& s_) { s_.AppendPoint(0, 0); });  // double separator: nothing drawn between
    t.Chain({{50, 50}});                                // a chain of one point
    t.Chain({{60, 60}, {60, 70}});
    ASSERT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.ed.surf.Pixel(10, 10), White);
    EXPECT_EQ(t.ed.surf.Pixel(20, 10), White);
    for (int x = 11; x < 20; ++x) EXPECT_EQ(t.ed.surf.Pixel(x, 10), Magenta) << x;
    EXPECT_EQ(t.ed.surf.Pixel(50, 50), White);
    // Nothing joins (20,10) to (50,50) or the lone point to the next chain.
    EXPECT_EQ(CountColour(t.ed.surf, White), 5);
    EXPECT_EQ(CountColour(t.ed.surf, Magenta), 9 + 9);
    // Nothing is ever drawn at a separator's (0,0).
    EXPECT_EQ(t.ed.surf.Pixel(0, 0), Black);
}

TEST(Render, NegativeXGetsLinesButNoPoint) {
    TestEditor t(100, 100);
    render::DrawSegment(t.ed.surf, -5, 10, 5, 10);
    EXPECT_EQ(t.ed.surf.Pixel(5, 10), White);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(t.ed.surf.Pixel(x, 10), Magenta) << x;
    // x = 0 is a separator: no line, and no point pixel for it.
    t.ed.surf.Fill(Black);
    render::DrawSegment(t.ed.surf, 0, 30, 40, 30);
    EXPECT_EQ(t.ed.surf.Pixel(40, 30), White);
    EXPECT_EQ(CountColour(t.ed.surf, Magenta), 0);
    EXPECT_EQ(CountColour(t.ed.surf, White), 1);
}

TEST(Render, SegmentColoursAndRasterOperation) {
    TestEditor t(100, 100);
    render::DrawSegment(t.ed.surf, 10, 10, 10, 20, Yellow, Blue);
    EXPECT_EQ(t.ed.surf.Pixel(10, 10), Blue);
    EXPECT_EQ(t.ed.surf.Pixel(10, 15), Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(10, 20), Blue);
    // Under XOR the line toggles but the end points are painted directly:
    // drawing the same segment twice erases the line and keeps the points.
    t.ed.surf.Fill(Black);
    t.ed.surf.SetRop(Rop::Xor);
    render::DrawSegment(t.ed.surf, 30, 30, 40, 30);
    render::DrawSegment(t.ed.surf, 30, 30, 40, 30);
    t.ed.surf.SetRop(Rop::Copy);
    EXPECT_EQ(t.ed.surf.Pixel(35, 30), Black);
    EXPECT_EQ(t.ed.surf.Pixel(30, 30), White);
    EXPECT_EQ(t.ed.surf.Pixel(40, 30), White);
}

TEST(Render, KindListColoursPerGroup) {
    TestEditor t(100, 100);
    t.ed.doc.ReplaceKinds({{0, KindSecondBoundary},
                           {10, 10},
                           {20, 10},  //
                           {0, KindDivision},
                           {10, 30},
                           {20, 30},  //
                           {0, KindAuxiliary},
                           {10, 50},
                           {20, 50},  //
                           {0, 7},
                           {10, 70},
                           {20, 70}});  // unknown: keeps green
    t.ed.surf.SetRop(Rop::Xor);         // left over by a rubber band
    render::DrawKindList(t.ed.st, t.ed.surf);
    EXPECT_EQ(t.ed.surf.Pixel(15, 10), Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(15, 30), Aqua);
    EXPECT_EQ(t.ed.surf.Pixel(15, 50), Green);
    EXPECT_EQ(t.ed.surf.Pixel(15, 70), Green);
    EXPECT_EQ(t.ed.surf.Pixel(10, 30), White);
    // Headers break the line: nothing between (20,10) and (10,30).
    EXPECT_EQ(t.ed.surf.Pixel(15, 20), Black);
}

TEST(Render, ShowKindsDrawsKindsOverNetworkWithoutLegend) {
    TestEditor t(100, 100);
    t.Chain({{10, 10}, {50, 10}, {50, 50}});
    EditMap(t.ed, [&](Store& s_) {
        s_.AssignKinds({{0, KindSecondBoundary}, {10, 10}, {50, 10}});
        s_.LegendX = 60;
        s_.LegendY = 60;
        s_.Mode = Mode::LineKind;
    });
    t.ed.canvas.ShowKinds();
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(50, 30), Magenta);
    EXPECT_EQ(t.ed.surf.Pixel(60, 60), Black);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossKind);
    EXPECT_FALSE(t.ui.busy);
}

TEST(Render, MarkVerticesColoursNodesLime) {
    TestEditor t(100, 100);
    // A closed triangle (first point repeated) and a line sharing one corner.
    t.Chain({{10, 10}, {40, 10}, {40, 40}, {10, 10}});
    t.Chain({{40, 40}, {80, 80}});
    render::DrawPointList(t.ed.st, t.ed.surf, Yellow, Yellow);
    t.ed.canvas.MarkVertices(Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(10, 10), Lime);
    EXPECT_EQ(t.ed.surf.Pixel(40, 40), Lime);
    EXPECT_EQ(t.ed.surf.Pixel(40, 10), Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(80, 80), Yellow);
    EXPECT_FALSE(t.ui.progressVisible);
    EXPECT_EQ(t.ui.progressPos, 0);

    // White marking over a magenta network.
    ReDraw(t.ed.bench);
    t.ed.canvas.MarkVertices(White);
    EXPECT_EQ(t.ed.surf.Pixel(10, 10), Lime);
    EXPECT_EQ(t.ed.surf.Pixel(40, 10), White);
    EXPECT_EQ(t.ed.surf.Pixel(25, 10), Magenta);
}

TEST(Render, MouseReadout) {
    EXPECT_EQ(Canvas::MouseReadout(5, 7), QStringLiteral("   5:7"));
    EXPECT_EQ(Canvas::MouseReadout(12, 345), QStringLiteral("  12:345"));
    EXPECT_EQ(Canvas::MouseReadout(12345, 8), QStringLiteral("12345:8"));
    EXPECT_EQ(Canvas::MouseReadout(-3, -4), QStringLiteral("  -3:-4"));
}

TEST(Render, RedrawWithPictureShownHiddenAndUnreadable) {
    TestEditor t(100, 80);
    QImage pic(60, 40, QImage::Format_RGB32);
    pic.fill(qRgb(250, 250, 0));  // nearest is yellow
    pic.setPixel(5, 5, qRgb(0, 0, 255));
    QString err;
    ASSERT_TRUE(WriteBitmapFile(pic, t.ed.temps.picture, &err)) << err.toStdString();
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    t.Chain({{10, 20}, {30, 20}});
    ASSERT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.ed.surf.Pixel(50, 30), Yellow);
    EXPECT_EQ(t.ed.surf.Pixel(5, 5), Blue);
    EXPECT_EQ(t.ed.surf.Pixel(70, 30), Grey);  // outside the picture
    EXPECT_EQ(t.ed.surf.Pixel(20, 20), Magenta);
    EXPECT_EQ(t.st().MapWidth, 60);
    EXPECT_EQ(t.st().MapHeight, 40);

    // Hidden: a black field over the picture's extent; the rest stays as it was.
    EditMap(t.ed, [&](Store& s_) { s_.BasePicShown = false; });
    ASSERT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.ed.surf.Pixel(50, 30), Black);
    EXPECT_EQ(t.ed.surf.Pixel(59, 39), Black);
    EXPECT_EQ(t.ed.surf.Pixel(70, 30), Grey);
    EXPECT_EQ(t.st().MapWidth, 60);

    // A picture changed on disk is read again, not taken from the cache.
    QImage big(150, 90, QImage::Format_RGB32);
    big.fill(qRgb(0, 0, 120));  // navy
    ASSERT_TRUE(WriteBitmapFile(big, t.ed.temps.picture, &err));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicShown = true; });
    ASSERT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.ed.surf.Width(), 150);  // grown to hold the picture
    EXPECT_EQ(t.ed.surf.Pixel(140, 85), Navy);
    EXPECT_EQ(t.st().MapWidth, 150);

    // Unreadable: a message, false, and the network still drawn.
    QFile f(t.ed.temps.picture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a bitmap at all");
    f.close();
    t.ui.messages.clear();
    EXPECT_FALSE(ReDraw(t.ed.bench));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(t.ed.surf.Pixel(20, 20), Magenta);
    EXPECT_EQ(t.ed.surf.Pixel(100, 60), Grey);
    EXPECT_FALSE(t.ui.busy);
}

TEST(Render, RedrawInLineKindModeReturnsToPointInput) {
    TestEditor t(100, 100);
    t.Chain({{10, 10}, {50, 10}});
    EditMap(t.ed, [&](Store& s_) {
        s_.AssignKinds({{0, KindSecondBoundary}, {10, 10}, {50, 10}});
    });
    t.ed.modeCommands.LineKindModeClick();
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Yellow);
    EXPECT_TRUE(ReDraw(t.ed.bench));
    EXPECT_EQ(t.st().Mode, Mode::Input);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::CrossLine);
    EXPECT_TRUE(t.ui.Checked(Cmd::BuildMode));
    EXPECT_FALSE(t.ui.Checked(Cmd::LineKindMode));
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), Magenta);
}

TEST(Render, DisplayMapAndCentering) {
    TestEditor t(100, 100);
    t.Chain({{10, 10}, {50, 10}});
    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 60;
        s_.LegendY = 60;
    });
    t.ed.canvas.DisplayMap(White, White);
    EXPECT_EQ(t.ed.surf.Pixel(30, 10), White);
    EXPECT_EQ(t.ed.surf.Pixel(60, 60), Black);

    t.ui.clientSize = QSize(301, 200);
    t.ed.canvas.CenterViewOn(1000, 700);
    EXPECT_EQ(t.ui.scroll, QPoint(850, 600));
    t.ed.canvas.CenterViewOn(10, 10);
    EXPECT_EQ(t.ui.scroll, QPoint(0, 0));  // clamped by the view
}
