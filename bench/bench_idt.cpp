// Writing and parsing finished-map files of a generated map with about 3,000
// areas (the written point list is the traced network, which costs the same
// per record as composed outlines).
#include <benchmark/benchmark.h>

#include <QBuffer>

#include "formats/IdtReader.h"
#include "formats/IdtWriter.h"
#include "support/MapGenerator.h"

namespace {

const Store& BigMap() {
    static Store* st = [] {
        auto* s = new Store;
        MapRecipe recipe;
        recipe.cells = 3000;
        recipe.kinds = true;
        GenerateMap(recipe, *s);
        s->LegendX = s->LegendY = 10;
        return s;
    }();
    return *st;
}

idt::WriteValues Values(double m) {
    idt::WriteValues v;
    v.title = "bench";
    v.resX = 2560;
    v.resY = 1920;
    v.magnification = m;
    return v;
}

void BM_WriteIdt(benchmark::State& state) {
    const Store& st = BigMap();
    const auto v = Values(state.range(0) ? 0.5 : 1.0);
    QByteArray bytes;
    for (auto _ : state) {
        bytes.clear();
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        idt::WriteIdt(buf, st, v);
    }
    state.counters["bytes"] = double(bytes.size());
    state.counters["records"] = double(st.PointLast + 1 + st.KindLast + 1);
}
BENCHMARK(BM_WriteIdt)->ArgName("half")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ParseIdt(benchmark::State& state) {
    QByteArray bytes;
    {
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        idt::WriteIdt(buf, BigMap(), Values(1.0));
    }
    for (auto _ : state) {
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        idt::IdtContent c;
        QString error;
        if (!idt::ParseIdt(buf, c, error)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(c.points.data());
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ParseIdt)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
