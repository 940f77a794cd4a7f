// Full redraw of a real-sized map: 200,000 points (and a dense 1,000,000) in
// chains of 50 on the built-in 2560 x 1920 surface, with and without an
// under-drawing.
#include <benchmark/benchmark.h>

#include <QImage>

#include "raster/BitmapFile.h"
#include "support/FakeUi.h"
#include "support/RandomWalks.h"

namespace {

void FillNetwork(TestEditor& t, int points) {
    EditMap(t.ed, [&](Store& s_) { s_.AssignPoints(RandomWalkNetwork(points, 2560, 1920, 7)); });
}

void BM_ReDraw(benchmark::State& state) {
    TestEditor t(2560, 1920);
    FillNetwork(t, int(state.range(0)));
    EditMap(t.ed, [&](Store& s_) {
        s_.LegendX = 100;
        s_.LegendY = 100;
    });
    for (auto _ : state) benchmark::DoNotOptimize(ReDraw(t.ed.bench));
    state.counters["points"] = t.st().PointLast;
}
BENCHMARK(BM_ReDraw)->ArgName("points")->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReDrawWithPicture(benchmark::State& state) {
    TestEditor t(2560, 1920);
    FillNetwork(t, 200000);
    QImage pic(2560, 1920, QImage::Format_RGB32);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            pic.setPixel(x, y, (x / 40 + y / 40) % 2 ? qRgb(0, 0, 0) : qRgb(200, 200, 200));
    QString err;
    if (!WriteBitmapFile(pic, t.ed.temps.picture, &err))
        state.SkipWithError(err.toStdString().c_str());
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    for (auto _ : state) benchmark::DoNotOptimize(ReDraw(t.ed.bench));
}
BENCHMARK(BM_ReDrawWithPicture)->Unit(benchmark::kMillisecond);

void BM_MarkVertices(benchmark::State& state) {
    TestEditor t(2560, 1920);
    FillNetwork(t, 200000);
    ReDraw(t.ed.bench);
    for (auto _ : state) t.ed.canvas.MarkVertices(White);
}
BENCHMARK(BM_MarkVertices)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
