#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "raster/LinePixels.h"
#include "raster/Surface.h"

namespace {
using Pixels = std::set<std::pair<int, int>>;

Pixels Lit(const Surface& s, uint8_t background = Black) {
    Pixels out;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.Pixel(x, y) != background) out.insert({x, y});
    return out;
}

Pixels LinePixels(int x1, int y1, int x2, int y2) {
    Surface s(40, 40);
    s.SetPen(White);
    s.Line(x1, y1, x2, y2);
    return Lit(s);
}

size_t Count(const Surface& s, uint8_t c) {
    return size_t(std::count(s.Data(), s.Data() + size_t(s.Width()) * size_t(s.Height()), c));
}
}  // namespace

TEST(SurfaceLine, ShortLinesInEveryOctantLeaveOutTheFinalPixel) {
    struct Case {
        int x2, y2;
        Pixels want;
    };
    const Case cases[] = {
        // flat lines: the half-way row goes to the right-hand end's row
        {14, 11, {{10, 10}, {11, 10}, {12, 11}, {13, 11}}},
        {14, 9, {{10, 10}, {11, 10}, {12, 9}, {13, 9}}},
        {6, 11, {{7, 11}, {8, 10}, {9, 10}, {10, 10}}},
        {6, 9, {{7, 9}, {8, 10}, {9, 10}, {10, 10}}},
        // steep lines: the half-way column goes to the lower end's column
        {11, 14, {{10, 10}, {10, 11}, {11, 12}, {11, 13}}},
        {9, 14, {{10, 10}, {10, 11}, {9, 12}, {9, 13}}},
        {11, 6, {{11, 7}, {10, 8}, {10, 9}, {10, 10}}},
        {9, 6, {{9, 7}, {10, 8}, {10, 9}, {10, 10}}},
        // axes and diagonals
        {13, 10, {{10, 10}, {11, 10}, {12, 10}}},
        {7, 10, {{8, 10}, {9, 10}, {10, 10}}},
        {10, 7, {{10, 8}, {10, 9}, {10, 10}}},
        {13, 13, {{10, 10}, {11, 11}, {12, 12}}},
        {7, 13, {{8, 12}, {9, 11}, {10, 10}}},
        {11, 10, {{10, 10}}},
        {10, 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinePixels(10, 10, c.x2, c.y2), c.want) << "to " << c.x2 << "," << c.y2;
}

TEST(SurfaceLine, PixelSetIsTheSameInBothDirections) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> d(0, 39);
    for (int n = 0; n < 2000; ++n) {
        const int x1 = d(rng), y1 = d(rng), x2 = d(rng), y2 = d(rng);
        Pixels ab = LinePixels(x1, y1, x2, y2), ba = LinePixels(x2, y2, x1, y1);
        const size_t steps = size_t(std::max(std::abs(x2 - x1), std::abs(y2 - y1)));
        ASSERT_EQ(ab.size(), steps);
        ASSERT_EQ(ab.count({x2, y2}), 0u);
        if (steps) {
            ASSERT_EQ(ab.count({x1, y1}), 1u);
        }
        ab.insert({x2, y2});
        ba.insert({x1, y1});
        ASSERT_EQ(ab, ba) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}

TEST(SurfaceLine, RowSpansAreThePixelsOfEachRow) {
    // Lines from a small box in every direction and length: the row
    // spans the labels sweep reads are the drawn pixels, row by row.
    for (int x1 = 14; x1 < 20; ++x1)
        for (int y1 = 14; y1 < 20; ++y1)
            for (int x2 = 0; x2 < 40; x2 += 3)
                for (int y2 = 0; y2 < 40; ++y2) {
                    Pixels want = LinePixels(x1, y1, x2, y2), got;
                    linepixels::ForEachRow(x1, y1, x2, y2, [&](int64_t y, int64_t from, int64_t to) {
                        for (int64_t x = from; x <= to; ++x) got.insert({int(x), int(y)});
                    });
                    ASSERT_EQ(got, want) << x1 << "," << y1 << " " << x2 << "," << y2;
                }
    // Long flat lines, whose rows are counted at once, against the trace.
    std::mt19937 rng(11);
    for (int k = 0; k < 400; ++k) {
        const int x1 = int(rng() % 3000) - 500, y1 = int(rng() % 3000) - 500;
        const int x2 = int(rng() % 3000) - 500, y2 = y1 + int(rng() % 600) - 300;
        Pixels want, got;
        linepixels::ForEach(x1, y1, x2, y2, [&](int64_t x, int64_t y) { want.insert({int(x), int(y)}); });
        linepixels::ForEachRow(x1, y1, x2, y2, [&](int64_t y, int64_t from, int64_t to) {
            for (int64_t x = from; x <= to; ++x) ASSERT_TRUE(got.insert({int(x), int(y)}).second);
        });
        ASSERT_EQ(got, want) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}

TEST(SurfaceLine, XorTwiceRestoresAndReverseBandErases) {
    Surface s(64, 48);
    std::mt19937 rng(3);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) s.SetPixel(x, y, uint8_t(rng() % 16));
    const std::vector<uint8_t> before(s.Data(), s.Data() + 64 * 48);

    s.SetRop(Rop::Xor);
    s.SetPen(Magenta);
    s.Line(3, 40, 60, 5);
    s.Line(-10, 20, 70, 22);  // runs off both sides
    s.Rectangle(5, 5, 30, 20);
    s.Line(-10, 20, 70, 22);
    s.Line(3, 40, 60, 5);
    s.Rectangle(5, 5, 30, 20);
    EXPECT_EQ(std::vector<uint8_t>(s.Data(), s.Data() + 64 * 48), before);

    // A segment XOR-ed from the other end cancels all but its two end pixels,
    // which the editor repaints anyway.
    Surface t(64, 48);
    t.SetRop(Rop::Xor);
    t.SetPen(Magenta);
    t.Line(2, 3, 50, 31);
    t.Line(50, 31, 2, 3);
    EXPECT_EQ(Lit(t), (Pixels{{2, 3}, {50, 31}}));
}

TEST(SurfaceLine, RasterOpsWorkOnPaletteIndices) {
    struct Case {
        Rop rop;
        uint8_t want;
    };
    // yellow 1011 against a magenta 1101 pen
    const Case cases[] = {
        {Rop::Copy, Magenta}, {Rop::Xor, Teal}, {Rop::NotXor, Red}, {Rop::Black, Black}};
    for (const Case& c : cases) {
        Surface s(3, 1);
        s.Fill(Yellow);
        s.SetPen(Magenta);
        s.SetRop(c.rop);
        s.Line(0, 0, 2, 0);
        EXPECT_EQ(s.Pixel(0, 0), c.want);
        EXPECT_EQ(s.Pixel(1, 0), c.want);
        EXPECT_EQ(s.Pixel(2, 0), Yellow) << "final pixel left out";
    }
    // Not-XOR with a black pen complements each index.
    Surface s(16, 2);
    for (int x = 0; x < 16; ++x) s.SetPixel(x, 0, uint8_t(x));
    s.SetPen(Black);
    s.SetRop(Rop::NotXor);
    s.Line(0, 0, 16, 0);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(s.Pixel(x, 0), 15 - x);
}

TEST(SurfaceShapes, RectangleLeavesOutRightAndBottomEdges) {
    Surface s(10, 10);
    s.SetPen(White);
    s.SetBrush(Navy);
    s.Rectangle(6, 7, 2, 3);  // corners in either order
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool in = x >= 2 && x <= 5 && y >= 3 && y <= 6;
            const bool edge = x == 2 || x == 5 || y == 3 || y == 6;
            EXPECT_EQ(s.Pixel(x, y), in ? (edge ? White : Navy) : Black) << x << "," << y;
        }
    // (0,0)-(w,h) covers the whole surface; parts outside are clipped.
    Surface t(5, 4);
    t.SetPen(Grey);
    t.SetBrush(Grey);
    t.Rectangle(-3, -3, 5, 4);
    EXPECT_EQ(Count(t, Grey), 20u);
    t.SetPen(Red);
    t.Rectangle(1, 1, 1, 3);  // no width: nothing
    EXPECT_EQ(Count(t, Red), 0u);
}

TEST(SurfaceShapes, PolygonFillsByTheEvenOddRule) {
    Surface s(101, 101);
    std::vector<QPoint> star;
    for (int k = 0; k < 5; ++k) {
        const double a = (-90.0 + k * 144.0) * M_PI / 180.0;
        star.emplace_back(int(std::lround(50 + 45 * std::cos(a))),
                          int(std::lround(50 + 45 * std::sin(a))));
    }
    s.SetPen(White);
    s.SetBrush(Navy);
    s.Polygon(star);
    EXPECT_EQ(s.Pixel(50, 50), Black) << "the centre is crossed twice: outside";
    EXPECT_EQ(s.Pixel(50, 15), Navy) << "inside the top point";
    EXPECT_EQ(s.Pixel(star[0].x(), star[0].y()), White) << "outline reaches the vertices";
    EXPECT_EQ(s.Pixel(5, 5), Black);

    Surface q(12, 12);
    q.SetPen(White);
    q.SetBrush(Aqua);
    q.Polygon({{2, 2}, {8, 2}, {8, 8}, {2, 8}});
    EXPECT_EQ(q.Pixel(5, 5), Aqua);
    EXPECT_EQ(q.Pixel(8, 8), White);
    EXPECT_EQ(q.Pixel(2, 5), White);
    EXPECT_EQ(q.Pixel(9, 5), Black);
    EXPECT_EQ(Count(q, Aqua), 25u) << "interior 3..7 x 3..7";
    EXPECT_EQ(Count(q, White), 24u);
}

TEST(SurfaceFill, FourConnectedFillDoesNotCrossADiagonal) {
    Surface s(21, 21);
    s.SetPen(White);
    s.Line(0, 0, 21, 21);
    for (bool border : {true, false}) {
        Surface t = s;
        if (border)
            t.FloodFillBorder(15, 2, White, Navy);
        else
            t.FloodFillSurface(15, 2, Black, Navy);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x) {
                const uint8_t want = x == y ? White : (x > y ? Navy : Black);
                ASSERT_EQ(t.Pixel(x, y), want)
                    << x << "," << y << (border ? " border" : " surface");
            }
    }
}

TEST(SurfaceFill, BorderStyleCrossesOtherColoursSurfaceStyleDoesNot) {
    Surface s(20, 20);
    s.SetPen(White);
    s.SetBrush(Black);
    s.Rectangle(2, 2, 18, 18);  // white ring, black inside
    s.SetPixel(10, 10, Red);
    s.SetPixel(11, 10, Yellow);

    Surface b = s;
    b.FloodFillBorder(5, 5, White, Aqua);
    EXPECT_EQ(Count(b, Aqua), 14u * 14u);
    EXPECT_EQ(b.Pixel(0, 0), Black) << "outside the ring";

    Surface f = s;
    f.FloodFillSurface(5, 5, Black, Aqua);
    EXPECT_EQ(Count(f, Aqua), 14u * 14u - 2u);
    EXPECT_EQ(f.Pixel(10, 10), Red);
    EXPECT_EQ(f.Pixel(0, 0), Black);

    // Starting on the border colour, on another colour, or outside does nothing.
    Surface n = s;
    n.FloodFillBorder(2, 2, White, Aqua);
    n.FloodFillSurface(10, 10, Black, Aqua);
    n.FloodFillBorder(-1, 5, White, Aqua);
    n.FloodFillSurface(5, 20, Black, Aqua);
    EXPECT_EQ(Count(n, Aqua), 0u);

    // Filling back over the probe colour undoes a probe fill.
    f.FloodFillSurface(5, 5, Aqua, Black);
    EXPECT_EQ(std::vector<uint8_t>(f.Data(), f.Data() + 400),
              std::vector<uint8_t>(s.Data(), s.Data() + 400));
}

TEST(SurfaceFill, HugeRegionsAndWindingCorridors) {
    Surface s(8000, 5000);  // 40 million pixels in one region
    s.FloodFillBorder(4000, 2500, White, Navy);
    EXPECT_EQ(Count(s, Navy), 40000000u);

    // A serpentine: one-pixel walls with gaps alternately at the top and bottom.
    Surface z(2001, 1000);
    for (int x = 1; x < 2001; x += 2)
        for (int y = 0; y < 1000; ++y)
            if (!((x % 4 == 1 && y == 0) || (x % 4 == 3 && y == 999))) z.SetPixel(x, y, White);
    z.FloodFillSurface(0, 500, Black, Green);
    EXPECT_EQ(Count(z, Black), 0u);
    EXPECT_EQ(z.Pixel(2000, 0), Green);
}

TEST(SurfacePixels, OutsideReadsNoColourAndWritesNothing) {
    Surface s(4, 3);
    s.SetPixel(-1, 0, White);
    s.SetPixel(4, 0, White);
    s.SetPixel(0, 3, White);
    EXPECT_EQ(Count(s, White), 0u);
    EXPECT_EQ(s.Pixel(-1, 0), NoColour);
    EXPECT_EQ(s.Pixel(0, -1), NoColour);
    EXPECT_EQ(s.Pixel(4, 2), NoColour);
    EXPECT_EQ(s.Pixel(3, 3), NoColour);
    EXPECT_EQ(s.Pixel(3, 2), Black);
    EXPECT_EQ(Surface().Pixel(0, 0), NoColour);
}

TEST(SurfacePixels, ResizeKeepsWhatStays) {
    Surface s(4, 3);
    s.SetPixel(1, 1, Red);
    s.SetPixel(3, 2, Blue);
    ASSERT_TRUE(s.Resize(6, 2));
    EXPECT_EQ(s.Pixel(1, 1), Red);
    EXPECT_EQ(s.Pixel(5, 1), Black);
    EXPECT_EQ(s.Pixel(3, 2), NoColour);
    EXPECT_FALSE(s.Resize(-1, 5));
    EXPECT_EQ(s.Width(), 6);
    // A surface nothing was drawn on says so, and stays blank as it grows.
    Surface b(4, 3);
    EXPECT_TRUE(b.Blank());
    ASSERT_TRUE(b.Resize(9, 9));
    EXPECT_TRUE(b.Blank());
    EXPECT_EQ(b.Pixel(8, 8), Black);
    b.SetPixel(1, 1, Red);
    EXPECT_FALSE(b.Blank());
    b.Fill(Black);
    EXPECT_TRUE(b.Blank());
    EXPECT_FALSE(s.Blank());
}

TEST(SurfaceColours, NearestColourReduction) {
    for (uint8_t i = 0; i < 16; ++i) EXPECT_EQ(NearestColour(PaletteRgb(i)), i);
    EXPECT_EQ(NearestColour(qRgb(10, 200, 30)), Lime);
    EXPECT_EQ(NearestColour(qRgb(10, 150, 30)), Green);
    EXPECT_EQ(NearestColour(qRgb(100, 100, 100)), Grey);
    EXPECT_EQ(NearestColour(qRgb(170, 170, 170)), Silver);
    EXPECT_EQ(NearestColour(qRgb(200, 0, 0)), Red);
    EXPECT_EQ(NearestColour(qRgb(0, 0, 100)), Navy);
    EXPECT_EQ(NearestColour(qRgb(250, 240, 250)), White);
    EXPECT_EQ(NearestColour(PaletteRgb(Magenta)), Magenta);
    EXPECT_EQ(PaletteRgb(Magenta), qRgb(255, 0, 255));
    EXPECT_EQ(PaletteRgb(Navy), qRgb(0, 0, 128));
}

TEST(SurfaceColours, NearestColourAgreesWithAPlainSearchEverywhere) {
    // The squared-distance search written out, ties to the lower index.
    auto search = [](int r, int g, int b) {
        int best = 0, bestD = 1 << 30;
        for (int i = 0; i < 16; ++i) {
            const QRgb p = PaletteRgb(uint8_t(i));
            const int d = (r - qRed(p)) * (r - qRed(p)) + (g - qGreen(p)) * (g - qGreen(p)) +
                          (b - qBlue(p)) * (b - qBlue(p));
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        return best;
    };
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b)
                if (NearestColour(qRgb(r, g, b)) != search(r, g, b))
                    FAIL() << r << "," << g << "," << b << ": " << int(NearestColour(qRgb(r, g, b)))
                           << " instead of " << search(r, g, b);
}

TEST(SurfaceColours, PicturesAreReducedAndClipped) {
    QImage rgb(3, 2, QImage::Format_RGB32);
    rgb.setPixel(0, 0, qRgb(10, 200, 30));
    rgb.setPixel(1, 0, qRgb(250, 250, 250));
    rgb.setPixel(2, 0, qRgb(0, 0, 130));
    rgb.setPixel(0, 1, qRgb(200, 0, 0));
    rgb.setPixel(1, 1, qRgb(0, 0, 0));
    rgb.setPixel(2, 1, qRgb(120, 120, 0));
    for (QImage::Format f :
         {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        Surface s(4, 2);
        s.Fill(Grey);
        s.DrawImage(rgb.convertToFormat(f), 1, 0);
        EXPECT_EQ(s.Pixel(0, 0), Grey);
        EXPECT_EQ(s.Pixel(1, 0), Lime);
        EXPECT_EQ(s.Pixel(2, 0), White);
        EXPECT_EQ(s.Pixel(3, 0), Navy);
        EXPECT_EQ(s.Pixel(1, 1), Red);
        EXPECT_EQ(s.Pixel(3, 1), Olive);
    }
    Surface c(2, 2);
    c.DrawImage(rgb, -1, 1);  // only (1..2, 0) of the picture lands, on row 1
    EXPECT_EQ(c.Pixel(0, 1), White);
    EXPECT_EQ(c.Pixel(1, 1), Navy);
    EXPECT_EQ(c.Pixel(0, 0), Black);

    // Nearest-neighbour stretch doubles each pixel.
    Surface st(7, 4);
    st.StretchImage(rgb, QRect(0, 0, 6, 4));
    EXPECT_EQ(st.Pixel(0, 0), Lime);
    EXPECT_EQ(st.Pixel(1, 1), Lime);
    EXPECT_EQ(st.Pixel(2, 0), White);
    EXPECT_EQ(st.Pixel(5, 3), Olive);
    EXPECT_EQ(st.Pixel(6, 3), Black);
}

TEST(SurfaceColours, ViewSharesTheBufferAtAnyWidth) {
    Surface s(5, 3);  // rows not a multiple of four bytes
    s.SetPixel(4, 2, Aqua);
    s.SetPixel(0, 1, Maroon);
    QImage v = s.View();
    EXPECT_EQ(v.constBits(), s.Data());
    EXPECT_EQ(v.pixel(4, 2), PaletteRgb(Aqua));
    EXPECT_EQ(v.pixel(0, 1), PaletteRgb(Maroon));
    s.SetPixel(2, 2, Yellow);
    EXPECT_EQ(v.pixel(2, 2), PaletteRgb(Yellow));
    const QImage rgb = v.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(rgb.pixel(4, 2), PaletteRgb(Aqua));
    EXPECT_EQ(s.ToImage().pixel(4, 2), PaletteRgb(Aqua));
}
