// The word-scanning span fill and the region labels, checked against a plain
// pixel-by-pixel flood fill on random surfaces: lines in every direction (so
// regions wind and touch only at corners) and scattered pixels of colours the
// fills must stop at or cross.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>
#include <set>

#include "raster/BlockRegions.h"
#include "raster/RegionLabels.h"

namespace {

Surface RandomSurface(uint32_t seed, int w, int h) {
    std::mt19937 rng(seed);
    Surface s(w, h);
    std::uniform_int_distribution<int> x(-5, w + 5), y(-5, h + 5), c(0, 15);
    for (int i = 0; i < 12; ++i) {
        s.SetPen(uint8_t(i % 3 == 0 ? White : c(rng)));
        s.Line(x(rng), y(rng), x(rng), y(rng));
    }
    for (int i = 0; i < w * h / 40; ++i) s.SetPixel(x(rng), y(rng), uint8_t(c(rng)));
    return s;
}

// Breadth-first, one pixel at a time: the obvious fill.
template <class Inside>
void ReferenceFill(Surface& s, int x0, int y0, uint8_t fill, Inside inside) {
    if (!s.Contains(x0, y0) || !inside(s.Pixel(x0, y0))) return;
    std::deque<std::pair<int, int>> q{{x0, y0}};
    s.SetPixel(x0, y0, fill);
    while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop_front();
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            if (s.Contains(x + dx, y + dy) && inside(s.Pixel(x + dx, y + dy))) {
                s.SetPixel(x + dx, y + dy, fill);
                q.emplace_back(x + dx, y + dy);
            }
    }
}

std::vector<uint8_t> Pixels(const Surface& s) {
    return {s.Data(), s.Data() + size_t(s.Width()) * size_t(s.Height())};
}

QRect BoxOf(const Surface& before, const Surface& after) {
    QRect box;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x)
            if (before.Pixel(x, y) != after.Pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST(FastFill, SamePixelsAndBoxAsAPixelByPixelFill) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        // Widths around the word size exercise the scans' tails.
        const int w = 5 + int(seed % 23) * 3, h = 4 + int(seed % 17) * 2;
        const Surface s = RandomSurface(seed, w, h);
        std::mt19937 rng(seed * 7);
        for (int probe = 0; probe < 6; ++probe) {
            const int x = int(rng() % uint32_t(w)), y = int(rng() % uint32_t(h));
            const uint8_t c = s.Pixel(x, y);
            // Surface style over the seed's own colour; border style with and
            // without the fill colour present, and filling the border colour.
            Surface fast = s, ref = s;
            const QRect box = fast.FloodFillSurface(x, y, c, Navy);
            if (c != Navy) ReferenceFill(ref, x, y, Navy, [&](uint8_t p) { return p == c; });
            ASSERT_EQ(Pixels(fast), Pixels(ref)) << "surface style, seed " << seed;
            EXPECT_EQ(box, BoxOf(s, fast)) << "seed " << seed;

            for (uint8_t fill : {uint8_t(Aqua), uint8_t(White)}) {
                Surface f = s, r = s;
                f.FloodFillBorder(x, y, White, fill);
                ReferenceFill(r, x, y, fill, [&](uint8_t p) { return p != White && p != fill; });
                ASSERT_EQ(Pixels(f), Pixels(r))
                    << "border style, fill " << int(fill) << ", seed " << seed;
            }
        }
    }
}

TEST(RegionLabels, EachRegionIsWhatAFloodFillFromItsPixelsCovers) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const int w = 3 + int(seed % 29) * 3, h = 2 + int(seed % 13) * 3;
        const Surface s = RandomSurface(seed, w, h);
        for (auto [colour, match] : {std::pair{uint8_t(Black), RegionLabels::Match::Equal},
                                     std::pair{uint8_t(White), RegionLabels::Match::NotEqual}}) {
            RegionLabels labels;
            labels.Build(s, colour, match);
            auto inside = [&](uint8_t p) {
                return match == RegionLabels::Match::Equal ? p == colour : p != colour;
            };
            std::vector<char> seen(size_t(labels.Count()), 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int r = labels.RegionAt(x, y);
                    ASSERT_EQ(r >= 0, inside(s.Pixel(x, y))) << x << "," << y;
                    if (r < 0 || seen[size_t(r)]) continue;
                    seen[size_t(r)] = 1;
                    // The first pixel met in raster order is the region's
                    // first: regions are numbered in that order.
                    ASSERT_EQ(r, std::count(seen.begin(), seen.end(), 1) - 1);
                    Surface painted = s, filled = s;
                    // A byte outside the palette, so the reference fill
                    // never meets its own colour.
                    constexpr uint8_t mark = 99;
                    labels.Paint(painted, r, mark);
                    ReferenceFill(filled, x, y, mark,
                                  [&](uint8_t p) { return p != mark && inside(p); });
                    ASSERT_EQ(Pixels(painted), Pixels(filled))
                        << "seed " << seed << " at " << x << "," << y;
                    EXPECT_EQ(labels.Bounds(r), BoxOf(s, filled));
                    // Its one colour, or none when it holds several.
                    std::vector<uint8_t> colours;
                    for (size_t i = 0; i < Pixels(s).size(); ++i)
                        if (filled.Data()[i] == mark) colours.push_back(s.Data()[i]);
                    const bool one = std::count(colours.begin(), colours.end(), colours[0]) ==
                                     ptrdiff_t(colours.size());
                    EXPECT_EQ(labels.UniformColour(r), one ? colours[0] : uint8_t(NoColour));
                }
            EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), labels.Count());
        }
    }
    RegionLabels labels;
    labels.Build(Surface(6, 4), Black, RegionLabels::Match::Equal);
    EXPECT_EQ(labels.Count(), 1);
    EXPECT_EQ(labels.PixelCount(0), 24);
    EXPECT_EQ(labels.RegionAt(-1, 0), -1);
    EXPECT_EQ(labels.RegionAt(6, 3), -1);
}

TEST(RegionLabels, LinesAloneGiveTheLabelsOfTheSurfaceTheyAreDrawnOn) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const int w = 3 + int(seed % 29) * 3, h = 2 + int(seed % 13) * 3;
        std::uniform_int_distribution<int> x(-5, w + 5), y(-5, h + 5), near(-2, 2);
        Surface s(w, h);
        s.SetPen(Yellow);
        LineCover cover(w, h, seed % 2 == 0);  // bits and spans alike
        for (int i = 0; i < 14; ++i) {
            const int x1 = x(rng), y1 = y(rng);
            // Short lines too, and some of a single pixel (drawing nothing).
            const int x2 = i % 2 ? x(rng) : x1 + near(rng), y2 = i % 2 ? y(rng) : y1 + near(rng);
            s.Line(x1, y1, x2, y2);
            cover.AddLine(x1, y1, x2, y2);
        }
        for (int i = 0; i < w * h / 30; ++i) {
            const int px = x(rng), py = y(rng);
            s.SetPixel(px, py, Lime);
            cover.AddPixel(px, py);
        }
        RegionLabels fromSurface, fromLines;
        fromSurface.Build(s, Black, RegionLabels::Match::Equal);
        fromLines.Build(cover);
        ASSERT_EQ(fromLines.Count(), fromSurface.Count()) << "seed " << seed;
        for (int r = 0; r < fromLines.Count(); ++r)
            EXPECT_EQ(fromLines.Bounds(r), fromSurface.Bounds(r));
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                ASSERT_EQ(cover.Covers(px, py), s.Pixel(px, py) != Black);
                ASSERT_EQ(fromLines.RegionAt(px, py), fromSurface.RegionAt(px, py))
                    << "seed " << seed << " at " << px << "," << py;
            }
    }
}

TEST(BlockRegions, EveryPixelIsInTheRegionTheWholeLabellingFinds) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const int w = 3 + int(seed % 29) * 3, h = 2 + int(seed % 13) * 3;
        std::uniform_int_distribution<int> x(-5, w + 5), y(-5, h + 5), near(-2, 2);
        LineCover cover(w, h, true);
        for (int i = 0; i < 14; ++i) {
            const int x1 = x(rng), y1 = y(rng);
            const int x2 = i % 2 ? x(rng) : x1 + near(rng), y2 = i % 2 ? y(rng) : y1 + near(rng);
            cover.AddLine(x1, y1, x2, y2);
        }
        for (int i = 0; i < w * h / 30; ++i) cover.AddPixel(x(rng), y(rng));
        RegionLabels labels;
        labels.Build(cover);
        BlockRegions regions;
        ASSERT_TRUE(regions.Build(cover));
        // The same partition, whatever the numbers: a region always stands
        // for one labelled region, with its bounds.
        std::map<int, int> same;
        for (int py = -1; py <= h; ++py)
            for (int px = -1; px <= w; ++px) {
                const int r = regions.RegionAt(px, py), l = labels.RegionAt(px, py);
                ASSERT_EQ(r < 0, l < 0) << "seed " << seed << " at " << px << "," << py;
                if (r < 0) continue;
                ASSERT_EQ(same.emplace(r, l).first->second, l) << "seed " << seed;
                EXPECT_EQ(regions.Bounds(r), labels.Bounds(l));
            }
        EXPECT_EQ(int(same.size()), labels.Count()) << "seed " << seed;
    }
    // More regions than a run's number can hold: the whole labelling
    // has to be asked instead.
    for (const int cells : {200, 300}) {
        LineCover grid(cells * 3, cells * 3, true);
        for (int k = 0; k < cells; ++k) {
            grid.AddLine(0, k * 3 + 2, cells * 3, k * 3 + 2);
            grid.AddLine(k * 3 + 2, 0, k * 3 + 2, cells * 3);
        }
        BlockRegions regions;
        EXPECT_EQ(regions.Build(grid), cells * cells < 0xFFFF) << cells;
    }
}

TEST(BlockRegions, ARunLeftOfAJoinGrowsTheJoinedRegionBelowIt) {
    // A region (numbered after the one on the right, since a wall stands
    // over it) is joined to that one by a run on row 3, after a run to the
    // left of that run took its number; the rows below that left run alone
    // must still grow the joined region's box.
    LineCover cover(8, 8, true);
    cover.AddLine(0, 1, 6, 1);
    cover.AddPixel(5, 2);
    cover.AddPixel(2, 3);
    for (int y = 4; y < 8; ++y) cover.AddLine(3, y, 8, y);
    BlockRegions regions;
    ASSERT_TRUE(regions.Build(cover));
    const int r = regions.RegionAt(0, 7);
    EXPECT_EQ(r, regions.RegionAt(7, 0));
    EXPECT_EQ(regions.Bounds(r), QRect(0, 0, 8, 8));
    // Thousands of regions joined on one row (a comb's teeth ending) would
    // cost the square of the row: the whole labelling is asked instead.
    LineCover comb(4000, 4, true);
    for (int x = 1; x < 4000; x += 2) comb.AddLine(x, 0, x, 2);
    EXPECT_FALSE(regions.Build(comb));
}
