// Composition speed on generated maps of 300, 1,000 and 3,000 areas and on the
// world map: the indexed composition, the record-by-record one where it ends
// in reasonable time, and the whole menu command.
//
//   bench_compose --write-map CELLS OUT.vlm [SEED [gap|duplicate]]
//                                     writes a generated map (optionally damaged)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "compose/Composer.h"
// The record-by-record composition lives with the tests that check the fast
// one against it; it is compiled into this program as well.
#include "BenchMaps.h"
#include "compose/LiteralCompose.cpp"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"

namespace {

struct Prepared {
    Store st;
    Surface surf;
    GeneratedMap g;
};

void Prepare(int cells, Prepared& p) {
    p.g = GenerateMap(benchmaps::Generated(cells), p.st);
    p.surf.Resize(p.g.width, p.g.height);
    compose::PaintNetwork(p.st, p.surf);
}

void BM_ComposeFast(benchmark::State& state) {
    const int cells = int(state.range(0));
    int32_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Prepared>();
        Prepare(cells, *p);
        points = p->st.PointLast;
        state.ResumeTiming();
        auto failed = compose::ComposeMap(p->st, p->surf);
        if (failed) state.SkipWithError("composition failed");
        benchmark::DoNotOptimize(p->st.PointLast);
    }
    state.counters["points"] = points;
}
BENCHMARK(BM_ComposeFast)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_ComposeLiteral(benchmark::State& state) {
    const int cells = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Prepared>();
        Prepare(cells, *p);
        state.ResumeTiming();
        LiteralResult r = LiteralCompose(p->st, p->surf);
        if (!r.ok) state.SkipWithError("composition failed");
        benchmark::DoNotOptimize(p->st.PointLast);
    }
}
BENCHMARK(BM_ComposeLiteral)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole menu command: normalisation, composition view, node marks,
// tracing, rebuild, kind merge and the final redraw.
void BM_ReMakeLineClick(benchmark::State& state) {
    const int cells = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TestEditor>(8, 8);
        const GeneratedMap g = GenerateMap(benchmaps::Generated(cells), t->ed);
        t->ed.surf.Resize(g.width, g.height);
        state.ResumeTiming();
        t->ed.composer.ReMakeLineClick();
        if (!t->st().Completed) state.SkipWithError("composition failed");
    }
}
BENCHMARK(BM_ReMakeLineClick)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_WorldMap(benchmark::State& state) {
    const bool literal = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TestEditor>(7500, 3500);
        if (!t->ed.files.LoadWorkFile(QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm"))) {
            state.SkipWithError("cannot load the world map");
            return;
        }
        t->ed.composer.PrepareComposition();
        Store st = t->st();
        state.ResumeTiming();
        const bool ok = literal ? LiteralCompose(st, t->ed.surf).ok
                                : !compose::ComposeMap(st, t->ed.surf).has_value();
        if (!ok) state.SkipWithError("composition failed");
    }
}
BENCHMARK(BM_WorldMap)
    ->ArgName("literal")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && !std::strcmp(argv[1], "--write-map")) {
        Store st;
        MapRecipe recipe = benchmaps::Generated(std::atoi(argv[2]));
        if (argc >= 5) recipe.seed = uint32_t(std::strtoul(argv[4], nullptr, 10));
        if (argc >= 6 && !std::strcmp(argv[5], "gap")) recipe.damage = MapRecipe::Gap;
        if (argc >= 6 && !std::strcmp(argv[5], "duplicate"))
            recipe.damage = MapRecipe::DuplicateSegment;
        const GeneratedMap g = GenerateMap(recipe, st);
        QString error;
        if (!WriteWorkFileFor(st, QString::fromLocal8Bit(argv[3]), &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", argv[3], error.toUtf8().constData());
            return 1;
        }
        std::printf("%d cells, %d areas, %d positions, %d records, %d x %d pixels\n", g.cells,
                    g.areas, g.positions, st.PointLast + 1, g.width, g.height);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
