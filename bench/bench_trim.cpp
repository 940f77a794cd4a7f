// Trimming a large network: 500,000 point records in chains of 50 on the
// built-in 2560 x 1920 surface, with 3,000 area positions, cut down to an
// outline around the middle of the map. The whole command is measured (two
// redraws, the fill, both position passes and the tidy), and the point pass
// on its own.
#include <benchmark/benchmark.h>

#include <random>

#include "ops/Trimming.h"
#include "editor/tools/Tools.h"
#include "support/FakeUi.h"
#include "support/RandomWalks.h"

namespace {

constexpr int W = 2560, H = 1920;

std::vector<Rec> Network(int points) {
    return RandomWalkNetwork(points, W, H, 11);
}

void Prepare(TestEditor& t, const std::vector<Rec>& net) {
    EditMap(t.ed, [&](Store& s_) { s_.AssignPoints(net); });
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> px(1, W - 1), py(0, H - 1);
    EditMap(t.ed, [&](Store& s_) { s_.AreaCount = 3000; });
    for (int a = 1; a <= 3000; ++a) {
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaPos(0, a) = {int16_t(px(rng)), int16_t(py(rng))};
            s_.AreaPos(1, a) = {0, 0};
        });
    }
    t.ed.modeCommands.CuttingModeClick();
    ReDraw(t.ed.bench);
    // An irregular eight-cornered outline around the middle.
    for (auto [x, y] : {std::pair{600, 400},
                        {1300, 300},
                        {2000, 450},
                        {2100, 960},
                        {1900, 1500},
                        {1280, 1650},
                        {650, 1450},
                        {450, 950}})
        t.ed.modes.tools->trimming.TrimCornerClick(x, y);
}

void BM_SweepCutting(benchmark::State& state) {
    TestEditor t(W, H);
    const auto net = Network(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(t, net);
        state.ResumeTiming();
        t.ed.trimming.SweepCuttingClick();
    }
    state.counters["records"] = double(net.size());
    state.counters["kept"] = t.st().PointLast;
}
BENCHMARK(BM_SweepCutting)->Arg(500000)->Unit(benchmark::kMillisecond);

void BM_HoleCutting(benchmark::State& state) {
    TestEditor t(W, H);
    const auto net = Network(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(t, net);
        state.ResumeTiming();
        t.ed.trimming.HoleCuttingClick();
    }
    state.counters["kept"] = t.st().PointLast;
}
BENCHMARK(BM_HoleCutting)->Arg(500000)->Unit(benchmark::kMillisecond);

// The point pass alone, against a filled outline.
void BM_TrimPoints(benchmark::State& state) {
    Store st;
    const auto net = Network(int(state.range(0)));
    Surface s(W, H);
    s.Fill(Black);
    s.SetBrush(Yellow);
    s.SetPen(Yellow);
    s.Polygon({{600, 400}, {2000, 450}, {1900, 1500}, {650, 1450}});
    for (auto _ : state) {
        state.PauseTiming();
        st.AssignPoints(net);
        state.ResumeTiming();
        benchmark::DoNotOptimize(TrimPoints(st, s, TrimSide::Outside));
    }
}
BENCHMARK(BM_TrimPoints)->Arg(500000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
