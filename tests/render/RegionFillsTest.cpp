// The dialog's label-backed fills against the plain flood fill: random
// sequences of the dialog's own steps (fill, set one pixel, fill again) and of
// changes made behind its back, on surfaces with white borders; half of them
// with the paints held back (read through the fills, laid down now and then).
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "render/RegionFills.h"

TEST(RegionFills, SamePixelsAsFloodFillsThroughAnySequence) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const int w = 9 + int(seed % 7) * 5, h = 7 + int(seed % 5) * 4;
        Surface s(w, h);
        std::uniform_int_distribution<int> x(0, w - 1), y(0, h - 1), op(0, 9);
        s.SetPen(White);
        for (int i = 0; i < 6; ++i) s.Line(x(rng), y(rng), x(rng), y(rng));
        if (seed % 3 == 0) s.SetPixel(x(rng), y(rng), Navy);  // a stray pixel of a fill colour
        Surface ref = s;
        areas::RegionFills fills;
        const bool deferred = seed % 2 == 0;
        if (deferred) fills.Defer();
        for (int step = 0; step < 60; ++step) {
            const int px = x(rng), py = y(rng);
            const uint8_t colour = std::array<uint8_t, 4>{Navy, Aqua, Black, Red}[rng() % 4];
            switch (op(rng)) {
                case 0:  // drawn behind the dialog's back, borders included
                    fills.Flush(s);
                    if (deferred) fills.Defer();
                    s.SetPen(White);
                    s.Line(px, py, x(rng), y(rng));
                    ref = s;
                    break;
                case 1:
                case 2:
                    fills.SetPixel(s, px, py, step % 17 == 0 ? uint8_t(White) : colour);
                    ref.SetPixel(px, py, step % 17 == 0 ? uint8_t(White) : colour);
                    break;
                default:
                    fills.Fill(s, px, py, colour == Black ? uint8_t(Navy) : colour);
                    ref.FloodFillBorder(px, py, White, colour == Black ? uint8_t(Navy) : colour);
            }
            if (deferred && step % 7 != 6) {
                std::vector<uint8_t> seen;
                for (int py = 0; py < h; ++py)
                    for (int px = 0; px < w; ++px) seen.push_back(fills.Pixel(s, px, py));
                ASSERT_EQ(seen, std::vector<uint8_t>(ref.Data(), ref.Data() + w * h))
                    << "seed " << seed << " step " << step;
                continue;
            }
            fills.Flush(s);
            if (deferred) fills.Defer();
            ASSERT_EQ(std::vector<uint8_t>(s.Data(), s.Data() + w * h),
                      std::vector<uint8_t>(ref.Data(), ref.Data() + w * h))
                << "seed " << seed << " step " << step;
        }
    }
}
