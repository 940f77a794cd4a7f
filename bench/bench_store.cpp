// The paged point store: appending a million points, bulk copies, and the
// record shifting of inserts and deletes in a large list.
#include <benchmark/benchmark.h>

#include "store/Store.h"

namespace {

void BM_AppendMillionPoints(benchmark::State& state) {
    for (auto _ : state) {
        Store s;
        for (int i = 0; i < 1000000; ++i) s.AppendPoint(int16_t(1 + i % 2000), int16_t(i % 1500));
        benchmark::DoNotOptimize(s.PointLast);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_AppendMillionPoints)->Unit(benchmark::kMillisecond);

// The pattern the editing commands use: raise PointLast, then SetPoint.
void BM_SetPointMillion(benchmark::State& state) {
    Store s;
    for (auto _ : state) {
        s.PointLast = 0;
        for (int i = 0; i < 1000000; ++i) {
            ++s.PointLast;
            s.SetPoint(s.PointLast, int16_t(1 + i % 2000), int16_t(i % 1500));
        }
        benchmark::DoNotOptimize(s.PointLast);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_SetPointMillion)->Unit(benchmark::kMillisecond);

void BM_ReadMillionPoints(benchmark::State& state) {
    Store s;
    for (int i = 0; i < 1000000; ++i) s.AppendPoint(int16_t(1 + i % 2000), int16_t(i % 1500));
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i <= s.PointLast; ++i) sum += s.PointX(i) + s.PointY(i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_ReadMillionPoints)->Unit(benchmark::kMillisecond);

void BM_BulkCopyMillionPoints(benchmark::State& state) {
    Store s;
    for (int i = 0; i < 1000000; ++i) s.AppendPoint(int16_t(1 + i % 2000), int16_t(i % 1500));
    for (auto _ : state) s.AssignPoints(s.PointsToVector());
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_BulkCopyMillionPoints)->Unit(benchmark::kMillisecond);

// Insert near the front of a 200,000-record list and delete it again: each
// shifts the whole tail.
void BM_InsertDeleteNearFront(benchmark::State& state) {
    Store s;
    for (int i = 0; i < 200000; ++i) s.AppendPoint(int16_t(1 + i % 2000), int16_t(i % 1500));
    for (auto _ : state) {
        s.InsertPoint(10, 5, 5);
        s.DeletePoints(10, 1);
    }
}
BENCHMARK(BM_InsertDeleteNearFront)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
