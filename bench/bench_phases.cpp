// Where the composition's time goes, phase by phase, on the world map, on
// generated maps of 3,000 and 30,000 cells and on a large map the size of a
// real scanned one (8126 x 4758 pixels, 3,240 areas):
//   index    the coordinate and midpoint tables
//   labels   the regions of the composition view (from the painted surface,
//            and from the lines alone as the batch composition builds them)
//   start    every position's start segment
//   trace    every position's start search and walk
//   cut      the traced segments cut out of the network
//   rebuild  the tidied network and the new point list
//   whole    ComposeMap from start to end, on the painted surface and (batch)
//            on a blank one
// and the area-position dialog opening on the world map and the large map.
//
//   bench_phases --write-large OUT.vlm    writes the large map
//   bench_phases --write-map 3000|30000|gap|duplicate|large|sparse OUT.vlm
#include <benchmark/benchmark.h>

#include <QString>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "BenchMaps.h"
#include "compose/Composer.h"
#include "compose/NetworkIndex.h"
#include "compose/OutlineTracer.h"
#include "compose/Rebuild.h"
#include "raster/RegionLabels.h"
#include "render/Render.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"

namespace {

using benchmaps::Generated;
using benchmaps::GenerateLarge;

// Sparse6, 10 and 16: the 3,000 cells with a traced point every 6, 10 and 16
// pixels instead of 2, for how the batch path depends on records per pixel.
// Wide: few records on a large extent (6995 x 8255 px).
enum MapId { World, Gen3000, Gen30000, Large, Sparse6, Sparse10, Sparse16, Wide };

// Each map prepared once (the composition view painted); the phases run on copies.
struct Prepared {
    std::unique_ptr<TestEditor> t;
    std::vector<Rec> points;
};

Prepared Make(MapId id) {
    Prepared p;
    p.t = std::make_unique<TestEditor>(8, 8);
    if (id == World) {
        p.t->ed.files.LoadWorkFile(QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm"));
    } else {
        EditMap(p.t->ed, [&](Store& st) {
            if (id == Large)
                GenerateLarge(st);
            else if (id == Wide)
                benchmaps::GenerateSparse(st);
            else if (id >= Sparse6)
                GenerateMap(Generated(3000, id == Sparse6 ? 6 : id == Sparse10 ? 10 : 16), st);
            else
                GenerateMap(Generated(id == Gen3000 ? 3000 : 30000), st);
        });
    }
    const Store& st = p.t->st();
    p.t->ed.surf.Resize(st.MapWidth + 1, st.MapHeight + 1);
    p.t->ed.composer.PrepareComposition();
    p.points = st.PointsToVector();
    return p;
}

const Prepared& Map(MapId id) {
    static std::map<MapId, Prepared> cache;
    auto it = cache.find(id);
    if (it == cache.end()) it = cache.emplace(id, Make(id)).first;
    return it->second;
}

void Describe(benchmark::State& state, const Prepared& p) {
    state.counters["records"] = double(p.points.size());
    state.counters["records_per_mpixel"] =
        double(p.points.size()) * 1e6 / (double(p.t->ed.surf.Width()) * p.t->ed.surf.Height());
    state.counters["pixels"] = double(p.t->ed.surf.Width()) * p.t->ed.surf.Height();
}

void BM_Index(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    for (auto _ : state) {
        compose::NetworkIndex net(p.points);
        benchmark::DoNotOptimize(net.Last());
    }
    Describe(state, p);
}

void BM_Labels(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    RegionLabels labels;
    for (auto _ : state) {
        labels.Build(p.t->ed.surf, Black, RegionLabels::Match::Equal);
        benchmark::DoNotOptimize(labels.Count());
    }
    state.counters["regions"] = labels.Count();
}

// The batch composition's labels: from the network's lines, no surface.
void BM_LabelsFromLines(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    const Surface& surf = p.t->ed.surf;
    RegionLabels labels;
    for (auto _ : state) {
        labels.Build(compose::CoverOfNetwork(p.points, surf.Width(), surf.Height()));
        benchmark::DoNotOptimize(labels.Count());
    }
    state.counters["regions"] = labels.Count();
}

// The start segment of every position (the labels built before timing);
// the walk is what the trace takes beyond this and the labels.
void BM_StartSearch(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    const Store& st = p.t->st();
    Surface surf = p.t->ed.surf;
    const compose::NetworkIndex net(p.points);
    compose::OutlineTracer tracer(net, surf);
    tracer.FindStartAt(st.AreaPos(0, 1).x, st.AreaPos(0, 1).y);
    for (auto _ : state)
        for (int a = 1; a <= st.AreaCount; ++a)
            for (int k = 0, n = compose::TracedSlots(st, a); k < n; ++k)
                benchmark::DoNotOptimize(
                    tracer.FindStartAt(st.AreaPos(k, a).x, st.AreaPos(k, a).y));
}

// Every position traced as the composition traces it; the stream and the
// segments walked are kept for the phases after it.
struct Traced {
    std::vector<Rec> stream;
    std::vector<int32_t> walked;
};
Traced TraceAll(const Prepared& p, Surface& surf) {
    const Store& st = p.t->st();
    const compose::NetworkIndex net(p.points);
    compose::OutlineTracer tracer(net, surf);
    Traced t;
    t.stream.push_back(Rec{});
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0, n = compose::TracedSlots(st, a); k < n; ++k) {
            const Rec pos = st.AreaPos(k, a);
            tracer.TraceOutline(pos.x, pos.y, t.stream);
        }
    t.walked = tracer.WalkedSegments();
    return t;
}

void BM_Trace(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    Surface surf = p.t->ed.surf;
    size_t n = 0;
    for (auto _ : state) n = TraceAll(p, surf).stream.size();
    state.counters["stream"] = double(n);
}

// As the composition cuts: by the segments walked, over its own index.
void BM_Cut(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    Surface surf = p.t->ed.surf;
    const Traced t = TraceAll(p, surf);
    const compose::NetworkIndex net(p.points);
    for (auto _ : state)
        benchmark::DoNotOptimize(compose::CutTracedSegments(net, t.stream, t.walked));
}

void BM_Rebuild(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    Surface surf = p.t->ed.surf;
    const Traced t = TraceAll(p, surf);
    const std::vector<Rec> cut = compose::CutTracedSegments(p.points, t.stream);
    for (auto _ : state)
        benchmark::DoNotOptimize(compose::RebuildPointList(t.stream, compose::TidyRecords(cut)));
}

void BM_Whole(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Prepared p = Make(MapId(state.range(0)));
        Store st = p.t->st();
        state.ResumeTiming();
        if (compose::ComposeMap(st, p.t->ed.surf)) state.SkipWithError("composition failed");
    }
    Describe(state, Map(MapId(state.range(0))));
}

// The batch composition: the same store on a blank surface, nothing painted.
void BM_WholeBatch(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    compose::ComposeHooks hooks;
    hooks.paint = [] {};
    for (auto _ : state) {
        state.PauseTiming();
        Store st = p.t->st();
        Surface blank(p.t->ed.surf.Width(), p.t->ed.surf.Height());
        state.ResumeTiming();
        if (compose::ComposeMap(st, blank, hooks)) state.SkipWithError("composition failed");
    }
    Describe(state, p);
}

// The batch composition when it paints first: the same blank surface painted
// as the batch tool paints it, then composed on. Against WholeBatch this
// tells when labelling from the lines is worth it (records per pixel).
void BM_WholeBatchPainted(benchmark::State& state) {
    const Prepared& p = Map(MapId(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Store st = p.t->st();
        Surface blank(p.t->ed.surf.Width(), p.t->ed.surf.Height());
        state.ResumeTiming();
        render::CompositionView(st, blank, false);
        if (compose::ComposeMap(st, blank)) state.SkipWithError("composition failed");
    }
    Describe(state, p);
}

// Opening the area-position dialog (every position's region painted, the
// selected area's in its own colour), then choosing the next area in its list.
void BM_AreaDialog(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Prepared p = Make(MapId(state.range(0)));
        Editor& ed = p.t->ed;
        ed.areaPositions.ZpotOpen = false;
        state.ResumeTiming();
        ed.areaPositions.ZoneArrangeClick();
        if (state.range(1)) ed.areaPositions.ZpotListClick(1);
    }
}
BENCHMARK(BM_AreaDialog)
    ->ArgNames({"map", "then_select"})
    ->ArgsProduct({{World, Large}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void Maps(benchmark::internal::Benchmark* b) {
    b->ArgName("map")->Arg(World)->Arg(Gen3000)->Arg(Gen30000)->Arg(Large)->Arg(Wide);
    b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Index)->Apply(Maps);
BENCHMARK(BM_Labels)->Apply(Maps);
BENCHMARK(BM_LabelsFromLines)->Apply(Maps);
BENCHMARK(BM_StartSearch)->Apply(Maps);
BENCHMARK(BM_Trace)->Apply(Maps);
BENCHMARK(BM_Cut)->Apply(Maps);
BENCHMARK(BM_Rebuild)->Apply(Maps);
BENCHMARK(BM_Whole)->Apply(Maps);
BENCHMARK(BM_WholeBatch)->Apply(Maps)->Arg(Sparse6)->Arg(Sparse10)->Arg(Sparse16);
BENCHMARK(BM_WholeBatchPainted)->Apply(Maps)->Arg(Sparse6)->Arg(Sparse10)->Arg(Sparse16);

}  // namespace

int main(int argc, char** argv) {
    // --write-large OUT, or --write-map large|3000|30000|gap|duplicate|sparse OUT:
    // the maps as work files, for velmot-cli (the last two fail to compose).
    const bool large = argc == 3 && !std::strcmp(argv[1], "--write-large");
    if (large || (argc == 4 && !std::strcmp(argv[1], "--write-map"))) {
        const std::string name = large ? "large" : argv[2];
        const char* out = argv[argc - 1];
        Store st;
        if (name == "large") {
            GenerateLarge(st);
        } else if (name == "sparse") {
            benchmaps::GenerateSparse(st);
        } else if (name == "3000" || name == "30000") {
            GenerateMap(Generated(std::stoi(name)), st);
        } else if (name == "gap" || name == "duplicate") {
            MapRecipe r = Generated(3000);
            r.damage = name == "gap" ? MapRecipe::Gap : MapRecipe::DuplicateSegment;
            GenerateMap(r, st);
        } else {
            std::fprintf(stderr, "unknown map %s\n", name.c_str());
            return 2;
        }
        QString error;
        if (!WriteWorkFileFor(st, QString::fromLocal8Bit(out), &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", out, error.toUtf8().constData());
            return 1;
        }
        int positions = 0;
        for (int a = 1; a <= st.AreaCount; ++a) positions += compose::TracedSlots(st, a);
        std::printf("%d areas, %d positions, %d records, %d x %d pixels\n", st.AreaCount, positions,
                    st.PointLast + 1, st.MapWidth, st.MapHeight);
        return 0;
    }
    std::printf(
        "maps: 0 world, 1 generated 3,000 cells, 2 generated 30,000 cells, 3 large, 4 to 6 the "
        "3,000 cells with a point every 6, 10 and 16 pixels, 7 few records on a wide extent\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
