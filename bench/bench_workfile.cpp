// Saving and loading a work file of a million points.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "formats/WorkFormat.h"

namespace {

constexpr int32_t Points = 1'000'000;

// Chains of 50 points with separators, a few hundred named areas, some kinds.
void Fill(Store& st) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(1, 30000);
    std::vector<Rec> pts;
    pts.reserve(Points + 1);
    pts.push_back({0, 0});
    while (pts.size() < size_t(Points) + 1)
        pts.push_back(pts.size() % 51 == 0 ? Rec{0, 0}
                                           : Rec{int16_t(coord(rng)), int16_t(coord(rng))});
    st.AssignPoints(pts);
    st.AreaCount = 500;
    for (int a = 1; a <= st.AreaCount; ++a) {
        st.SetAreaName(a, "area " + std::to_string(a));
        st.AreaPos(0, a) = Rec{int16_t(coord(rng)), int16_t(coord(rng))};
    }
    std::vector<Rec> kinds{{0, -1}};
    for (int i = 0; i < 10000; ++i) kinds.push_back(pts[size_t(i) + 1]);
    st.AssignKinds(kinds);
}

void BM_SaveWork(benchmark::State& state) {
    QTemporaryDir dir;
    static Store st;
    static bool filled = (Fill(st), true);
    (void)filled;
    const QString path = dir.filePath("big.vlm");
    for (auto _ : state) {
        QString error;
        if (!WriteWorkFile(path, st, "0", &error)) state.SkipWithError("write failed");
    }
    state.counters["bytes"] = double(QFile(path).size());
}
BENCHMARK(BM_SaveWork)->Unit(benchmark::kMillisecond);

void BM_LoadWork(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.vlm");
    {
        Store st;
        Fill(st);
        QString error;
        if (!WriteWorkFile(path, st, "0", &error)) state.SkipWithError("write failed");
    }
    static Store target;
    for (auto _ : state) {
        WorkData d;
        QString error;
        if (!ReadWorkFile(path, d, &error)) state.SkipWithError("read failed");
        ApplyWork(std::move(d), target);
        benchmark::DoNotOptimize(target.PointLast);
    }
}
BENCHMARK(BM_LoadWork)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
