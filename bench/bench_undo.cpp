// Undo on large maps: what a click costs the history on a 1M-point map, how
// long stepping back over a trim of 500,000 records takes, and a click's
// repaint (the tiles it changed) against repainting the whole viewport.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "support/FakeUi.h"
#include "support/RandomWalks.h"

namespace {

constexpr int W = 2560, H = 1920;

void Load(TestEditor& t, int points) {
    EditMap(t.ed, [&](Store& s_) {
        s_.AssignPoints(RandomWalkNetwork(points, W, H, 11));
        s_.AppendPoint(0, 0);
    });
    t.ed.modeCommands.BuildModeClick();
    ReDraw(t.ed.bench);
}

// 100 clicks, each one step: time per click and history bytes per click.
void BM_HundredClickSteps(benchmark::State& state) {
    TestEditor t(W, H);
    Load(t, int(state.range(0)));
    t.ed.MouseMove(5, 5);
    t.ed.Command(Cmd::BuildMode);  // the map itself becomes the first state
    const History& h = t.ed.doc.Steps();
    // Measured against the map alone: the previous round's steps, undone and
    // still held for redo, go with the first new step.
    const size_t base = h.Bytes();
    size_t bytes = 0;
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            const int x = 100 + (i * 37 + round) % 2000, y = 100 + (i * 53) % 1600;
            t.ed.MouseDown(Qt::LeftButton, x, y);
            t.ed.MouseUp(Qt::LeftButton, x, y);
        }
        if (h.Count() != 101 || h.Bytes() < base) {
            state.SkipWithError("not one step a click");
            break;
        }
        bytes = h.Bytes() - base;
        state.PauseTiming();
        for (int i = 0; i < 100; ++i) t.ed.Command(Cmd::Undo);
        ++round;
        state.ResumeTiming();
    }
    state.counters["bytes_per_step"] = double(bytes) / 100;
    state.counters["map_bytes"] = double(t.st().PointLast + 1) * sizeof(Rec);
}
BENCHMARK(BM_HundredClickSteps)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Undo and redo of a sweep trim on 500,000 records.
void BM_UndoTrim(benchmark::State& state) {
    TestEditor t(W, H);
    Load(t, int(state.range(0)));
    t.ed.Command(Cmd::CuttingMode);
    for (auto [x, y] : {std::pair{600, 400}, {2000, 450}, {1900, 1500}, {650, 1450}}) {
        t.ed.MouseDown(Qt::LeftButton, x, y);
        t.ed.MouseUp(Qt::LeftButton, x, y);
    }
    t.ed.Command(Cmd::SweepCutting);
    const int32_t trimmed = t.st().PointLast;
    for (auto _ : state) {
        t.ed.Command(Cmd::Undo);
        state.PauseTiming();
        if (t.st().PointLast == trimmed) state.SkipWithError("undo did nothing");
        t.ed.Command(Cmd::Redo);
        state.ResumeTiming();
    }
    state.counters["records_before"] = double(state.range(0));
    state.counters["records_after"] = trimmed;
    state.counters["history_bytes"] = double(t.ed.doc.Steps().Bytes());
}
BENCHMARK(BM_UndoTrim)->Arg(500000)->Unit(benchmark::kMillisecond);

// The view's paint: the indexed surface wrapped without a copy and drawn
// onto a window-sized true-colour target, as the surface view does.
void Paint(const Surface& s, QImage& target, QRect r) {
    QPainter p(&target);
    const uchar* first = s.Data() + qsizetype(r.y()) * s.Width() + r.x();
    QImage part(first, r.width(), r.height(), s.Width(), QImage::Format_Indexed8);
    part.setColorTable(PaletteTable());
    p.drawImage(r.topLeft(), part);
}

void BM_ClickRepaint(benchmark::State& state) {
    const bool whole = state.range(0) == 1;
    TestEditor t(W, H);
    Load(t, 200000);
    t.ed.Command(Cmd::BuildMode);  // the map becomes the first state, as after opening it
    QImage target(1280, 1024, QImage::Format_RGB32);
    const QRect viewport(0, 0, 1280, 1024);
    int i = 0;
    QRect last;
    double painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int x = 200 + (i * 7) % 800, y = 200 + (i * 5) % 600;  // tracing steps
        ++i;
        t.ui.regions.clear();
        t.ed.MouseDown(Qt::LeftButton, x, y);
        t.ed.MouseUp(Qt::LeftButton, x, y);
        // A click that joins lines can repaint the whole view.
        last = t.ui.regions.empty() ? viewport : t.ui.regions.back() & viewport;
        painted += whole ? 1280.0 * 1024 : double(last.width()) * last.height();
        state.ResumeTiming();
        Paint(t.ed.surf, target, whole ? viewport : last);
    }
    state.SetLabel(whole ? "whole viewport" : "changed region");
    state.counters["pixels"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
}
// Qt converts large images on worker threads: the wall clock is what shows.
// A fixed count, as the tracing steps come round to points already placed
// after 2,400 clicks.
BENCHMARK(BM_ClickRepaint)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2000)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
