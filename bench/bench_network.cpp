// Removing repeated segments and tidying a composed map: the one-pass forms
// on 500,000 records against the record-by-record procedures, which are
// quadratic and therefore run on 20,000 records only (compare per record, or
// extrapolate by the square of the size ratio).
#include <benchmark/benchmark.h>

#include "ops/Network.h"
#include "support/LiteralNetwork.h"

namespace {

// A map as the composition leaves it: a grid of square areas, each stored as
// its own closed outline with its sides subdivided, so every inner side is
// stored twice. About `records` records.
std::vector<Rec> ComposedGrid(int records) {
    constexpr int Sub = 4, Cell = 8;  // points per side, pixels per cell
    const int perRing = 4 * Sub + 2;  // closed ring plus separator
    int side = 1;
    while ((side + 1) * (side + 1) * perRing <= records) ++side;
    std::vector<Rec> v{{0, 0}};
    v.reserve(size_t(side) * size_t(side) * size_t(perRing) + 1);
    auto at = [](int x, int y) { return Rec{int16_t(1 + x), int16_t(y)}; };
    for (int cy = 0; cy < side; ++cy) {
        for (int cx = 0; cx < side; ++cx) {
            const int x0 = cx * Cell, y0 = cy * Cell, d = Cell / Sub;
            for (int k = 0; k < Sub; ++k) v.push_back(at(x0 + k * d, y0));
            for (int k = 0; k < Sub; ++k) v.push_back(at(x0 + Cell, y0 + k * d));
            for (int k = 0; k < Sub; ++k) v.push_back(at(x0 + Cell - k * d, y0 + Cell));
            for (int k = 0; k < Sub; ++k) v.push_back(at(x0, y0 + Cell - k * d));
            v.push_back(at(x0, y0));
            v.push_back({0, 0});
        }
    }
    return v;
}

// A network that needs tidying: cut chains as the removal of repeated
// segments leaves them, plus a lone point after every fourth chain and a
// doubled separator after every third.
std::vector<Rec> UntidiedNetwork(int records) {
    std::vector<Rec> cut = ComposedGrid(records);
    net::DropRepeatedSegments(cut);
    std::vector<Rec> v;
    v.reserve(cut.size() + cut.size() / 4);
    int chains = 0;
    for (size_t i = 0; i < cut.size(); ++i) {
        v.push_back(cut[i]);
        if (cut[i].x != 0 || i == 0) continue;
        ++chains;
        if (chains % 4 == 0) v.insert(v.end(), {Rec{5, 5}, Rec{0, 0}});
        if (chains % 3 == 0) v.push_back(Rec{0, 0});
    }
    return v;
}

void Load(Store& s, const std::vector<Rec>& v) {
    for (size_t i = 0; i < v.size(); ++i) s.SetPoint(int32_t(i), v[i]);
    s.PointLast = int32_t(v.size()) - 1;
}

void BM_RemoveRepeated_Fast(benchmark::State& state) {
    const std::vector<Rec> in = ComposedGrid(int(state.range(0)));
    for (auto _ : state) {
        std::vector<Rec> v = in;
        net::RemoveRepeatedSegments(v);
        benchmark::DoNotOptimize(v.data());
    }
    state.counters["records"] = double(in.size());
}
BENCHMARK(BM_RemoveRepeated_Fast)->Arg(20000)->Arg(500000)->Unit(benchmark::kMillisecond);

void BM_RemoveRepeated_RecordByRecord(benchmark::State& state) {
    const std::vector<Rec> in = ComposedGrid(int(state.range(0)));
    Store s;
    for (auto _ : state) {
        state.PauseTiming();
        Load(s, in);
        state.ResumeTiming();
        literal::RemoveRepeatedSegments(s);
        benchmark::DoNotOptimize(s.PointLast);
    }
    state.counters["records"] = double(in.size());
}
BENCHMARK(BM_RemoveRepeated_RecordByRecord)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_Tidy_Fast(benchmark::State& state) {
    const std::vector<Rec> in = UntidiedNetwork(int(state.range(0)));
    for (auto _ : state) {
        std::vector<Rec> v = in;
        net::Tidy(v);
        benchmark::DoNotOptimize(v.data());
    }
    state.counters["records"] = double(in.size());
}
BENCHMARK(BM_Tidy_Fast)->Arg(20000)->Arg(500000)->Unit(benchmark::kMillisecond);

void BM_Tidy_RecordByRecord(benchmark::State& state) {
    const std::vector<Rec> in = UntidiedNetwork(int(state.range(0)));
    Store s;
    for (auto _ : state) {
        state.PauseTiming();
        Load(s, in);
        state.ResumeTiming();
        literal::TidyPointList(s);
        benchmark::DoNotOptimize(s.PointLast);
    }
    state.counters["records"] = double(in.size());
}
BENCHMARK(BM_Tidy_RecordByRecord)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
