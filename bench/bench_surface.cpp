// The drawing surface at the sizes the editor works with: flood fills of the
// built-in 2560 x 1920 surface, a million segments, and the bitmap file of
// a whole surface.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "raster/BitmapFile.h"
#include "raster/Surface.h"

namespace {
constexpr int W = 2560, H = 1920;

// A surface crossed by random white segments: a fill from the middle then
// has to find its way round many obstacles, as the composition's fills do.
Surface Network(int segments) {
    Surface s(W, H);
    s.SetPen(White);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(0, W - 1), y(0, H - 1), d(-60, 60);
    for (int i = 0; i < segments; ++i) {
        const int x1 = x(rng), y1 = y(rng);
        s.Line(x1, y1, x1 + d(rng), y1 + d(rng));
    }
    return s;
}

void BM_FloodFillWholeSurface(benchmark::State& state) {
    Surface s(W, H);
    uint8_t from = Black, to = Navy;
    for (auto _ : state) {
        s.FloodFillSurface(W / 2, H / 2, from, to);
        std::swap(from, to);
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_FloodFillWholeSurface)->Unit(benchmark::kMillisecond);

void BM_FloodFillAroundObstacles(benchmark::State& state) {
    Surface s = Network(int(state.range(0)));
    s.SetPixel(W / 2, H / 2, Black);
    uint8_t fill = Navy;
    for (auto _ : state) {
        s.FloodFillBorder(W / 2, H / 2, White, fill);
        fill = fill == Navy ? Aqua : Navy;
    }
    // How much of the surface the fill reached.
    state.counters["filled"] = double(std::count_if(
        s.Data(), s.Data() + size_t(W) * H, [](uint8_t c) { return c == Navy || c == Aqua; }));
}
BENCHMARK(BM_FloodFillAroundObstacles)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

// Segments with both ends anywhere on the surface (about 1000 pixels long on
// average) and short ones as in a traced map.
void BM_RandomSegments(benchmark::State& state) {
    const int maxLen = int(state.range(0));
    Surface s(W, H);
    s.SetPen(Magenta);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> x(0, W - 1), y(0, H - 1), d(-maxLen, maxLen);
    constexpr int kSegments = 1000000;
    std::vector<int> c(size_t(kSegments) * 4);
    for (int i = 0; i < kSegments; ++i) {
        c[size_t(i) * 4] = x(rng);
        c[size_t(i) * 4 + 1] = y(rng);
        c[size_t(i) * 4 + 2] = maxLen ? c[size_t(i) * 4] + d(rng) : x(rng);
        c[size_t(i) * 4 + 3] = maxLen ? c[size_t(i) * 4 + 1] + d(rng) : y(rng);
    }
    for (auto _ : state) {
        for (int i = 0; i < kSegments; ++i)
            s.Line(c[size_t(i) * 4], c[size_t(i) * 4 + 1], c[size_t(i) * 4 + 2],
                   c[size_t(i) * 4 + 3]);
        benchmark::DoNotOptimize(s.Data());
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_RandomSegments)->Arg(0)->Arg(12)->Unit(benchmark::kMillisecond);

void BM_ClearSurface(benchmark::State& state) {
    Surface s(W, H);
    s.SetPen(Black);
    s.SetBrush(Black);
    for (auto _ : state) {
        s.Rectangle(0, 0, W, H);
        benchmark::DoNotOptimize(s.Data());
    }
}
BENCHMARK(BM_ClearSurface)->Unit(benchmark::kMillisecond);

void BM_WriteAndReadSurfaceBitmap(benchmark::State& state) {
    Surface s = Network(20000);
    QTemporaryDir dir;
    const QString path = dir.filePath("s.bmp");
    Surface back(W, H);
    for (auto _ : state) {
        WriteSurfaceBitmap(s, path, nullptr);
        back.DrawImage(ReadBitmapFile(path, nullptr), 0, 0);
    }
}
BENCHMARK(BM_WriteAndReadSurfaceBitmap)->Unit(benchmark::kMillisecond);

// A scanned under-drawing: every pixel a slightly different true colour.
void BM_DrawTrueColourPicture(benchmark::State& state) {
    QImage pic(W, H, QImage::Format_RGB32);
    std::mt19937 rng(2);
    for (int y = 0; y < H; ++y) {
        auto* line = reinterpret_cast<QRgb*>(pic.scanLine(y));
        for (int x = 0; x < W; ++x) line[x] = 0xFF000000u | (rng() & 0xFFFFFFu);
    }
    if (state.range(0) == 24) pic = pic.convertToFormat(QImage::Format_RGB888);
    Surface s(W, H);
    for (auto _ : state) {
        s.DrawImage(pic, 0, 0);
        benchmark::DoNotOptimize(s.Data());
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_DrawTrueColourPicture)->Arg(32)->Arg(24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
