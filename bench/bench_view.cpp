// The window's view of a large map (8126 x 4758, the size of a big scan):
// repainting the whole view at every magnification, and a panning frame
// (scroll by 16 screen pixels, then paint what that exposed). Runs the real
// window on Qt's offscreen platform; a frame must stay well under 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <random>

#include "app/App.h"
#include "app/ScaledSurface.h"
#include "app/Snap.h"
#include "app/SurfaceView.h"
#include "support/EditMap.h"
#include "support/MapGenerator.h"

namespace {
constexpr int W = 8126, H = 4758;

struct Window {
    QTemporaryDir dir;
    VelmotApp app;
    Window() {
        app.Start(dir.filePath(QStringLiteral("velmot")));
        app.win->resize(1280, 1024);
        app.ed.surf.Resize(W, H);
        // Lines everywhere, as a traced map has them.
        app.ed.surf.SetPen(White);
        std::mt19937 rng(5);
        std::uniform_int_distribution<int> x(0, W - 1), y(0, H - 1), d(-80, 80);
        for (int i = 0; i < 200000; ++i) {
            const int x1 = x(rng), y1 = y(rng);
            app.ed.surf.Line(x1, y1, x1 + d(rng), y1 + d(rng));
        }
        app.ui.SurfaceChanged();
        QCoreApplication::processEvents();
    }
};

// Kept to the end of the process: a window outliving QApplication's
// destruction would crash the program on its way out.
Window& Shared() {
    static Window& w = *new Window;
    return w;
}

// The whole visible view painted afresh.
void BM_RepaintView(benchmark::State& state) {
    Window& w = Shared();
    SurfaceView* view = w.app.win->View();
    view->SetZoom(int(state.range(0)), QPointF(0, 0));
    w.app.ui.SetScrollPos(QPoint(W / 3, H / 3));
    for (auto _ : state) view->repaint();
    state.SetLabel(view->Scale().Text().toStdString());
}
BENCHMARK(BM_RepaintView)->DenseRange(-3, 4)->Unit(benchmark::kMillisecond);

// One frame of a drag: the view moves 16 pixels and paints the new strip.
void BM_PanFrame(benchmark::State& state) {
    Window& w = Shared();
    SurfaceView* view = w.app.win->View();
    view->SetZoom(int(state.range(0)), QPointF(0, 0));
    QScrollBar* bar = w.app.win->Flat()->horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    int step = 16;
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0) step = -step;
        bar->setValue(bar->value() + step);
        w.app.win->repaint();
    }
    state.SetLabel(view->Scale().Text().toStdString());
}
BENCHMARK(BM_PanFrame)->Arg(-3)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

// A traced map of about a million points: the view draws its network from
// the map itself (antialiased lines and handles zoomed in, the network's
// pixels winning their blocks zoomed out), so the repaint must stay within a
// frame whatever the number of points.
struct BigMap {
    QTemporaryDir dir;
    VelmotApp app;
    int32_t records = 0;
    BigMap() {
        app.Start(dir.filePath(QStringLiteral("velmot")));
        app.win->resize(1280, 1024);
        MapRecipe recipe;
        recipe.cells = 26000;
        recipe.step = 2;
        const GeneratedMap g = GenerateMap(recipe, app.ed);
        app.ed.surf.Resize(std::max(g.width + 2, app.ed.surf.Width()),
                           std::max(g.height + 2, app.ed.surf.Height()));
        ReDraw(app.ed.bench);
        app.ui.SurfaceChanged();
        QCoreApplication::processEvents();
        records = app.ed.st.PointLast;
    }
};

BigMap& BigShared() {
    static BigMap& m = *new BigMap;  // as Shared(): never destroyed after QApplication
    return m;
}

void BM_RepaintMillionPointMap(benchmark::State& state) {
    BigMap& m = BigShared();
    SurfaceView* view = m.app.win->View();
    view->SetZoom(int(state.range(0)), QPointF(0, 0));
    m.app.ui.SetScrollPos(QPoint(m.app.ed.surf.Width() / 3, m.app.ed.surf.Height() / 3));
    QCoreApplication::processEvents();
    for (auto _ : state) view->repaint();
    state.counters["points"] = double(m.records);
    state.SetLabel(view->Scale().Text().toStdString());
}
// CPU time of the whole process: the raster engine hands large image
// operations to a pool of threads.
BENCHMARK(BM_RepaintMillionPointMap)
    ->DenseRange(-3, 4)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// An edit on the million-point map at 2x: one point moves, and the view,
// told that its pixels changed, repaints (the view's copy of the network is
// brought up to date first).
void BM_MovePointMillionPointMap(benchmark::State& state) {
    BigMap& m = BigShared();
    SurfaceView* view = m.app.win->View();
    view->SetZoom(1, QPointF(0, 0));
    m.app.ui.SetScrollPos(QPoint(m.app.ed.surf.Width() / 3, m.app.ed.surf.Height() / 3));
    QCoreApplication::processEvents();
    const int32_t i = m.app.ed.st.PointLast / 2;
    const Rec at = m.app.ed.st.Point(i);
    int dx = 1;
    for (auto _ : state) {
        EditMap(m.app.ed, [&](Store& s) { s.SetPoint(i, int16_t(at.x + dx), at.y); });
        dx = 1 - dx;
        m.app.ui.SurfaceRegionChanged(QRect(at.x - 8, at.y - 8, 17, 17));
        view->repaint();
    }
}
BENCHMARK(BM_MovePointMillionPointMap)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The whole surface said to have changed while only a dragged point's rubber
// band moved, then a repaint (zoomed out, the levels are mended first).
void BM_SurfaceChangedMillionPointMap(benchmark::State& state) {
    BigMap& m = BigShared();
    SurfaceView* view = m.app.win->View();
    view->SetZoom(int(state.range(0)), QPointF(0, 0));
    m.app.ui.SetScrollPos(QPoint(m.app.ed.surf.Width() / 3, m.app.ed.surf.Height() / 3));
    QCoreApplication::processEvents();
    Surface& s = m.app.ed.surf;
    const QPoint at(s.Width() / 2, s.Height() / 2);
    for (auto _ : state) {
        // A rubber band moves: two lines drawn in XOR, as the edit tool does.
        s.SetRop(Rop::Xor);
        s.Line(at.x(), at.y(), at.x() + 40, at.y() + 25);
        s.Line(at.x() + 40, at.y() + 25, at.x() + 80, at.y() - 10);
        s.SetRop(Rop::Copy);
        m.app.ui.SurfaceChanged();
        view->repaint();
    }
    state.SetLabel(view->Scale().Text().toStdString());
}
BENCHMARK(BM_SurfaceChangedMillionPointMap)
    ->DenseRange(-3, -1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// The scaling alone, the whole 8126 x 4758 surface at 1/8 (1016 x 595).
void BM_ScaleWholeSurfaceToEighth(benchmark::State& state) {
    Surface& s = Shared().app.ed.surf;
    const ViewScale sc{-3};
    const QRect all(0, 0, sc.WidgetLength(W), sc.WidgetLength(H));
    for (auto _ : state) benchmark::DoNotOptimize(ScaledSurface(s, sc, all));
}
BENCHMARK(BM_ScaleWholeSurfaceToEighth)->Unit(benchmark::kMillisecond);
// The snapping search a mouse move runs in the point modes, over the world
// map's 150,000 points.
void BM_SnapSearch(benchmark::State& state) {
    Window& w = Shared();
    static const bool loaded =
        w.app.ed.files.LoadWorkFile(QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm"));
    if (!loaded) state.SkipWithError("world map not loaded");
    const ViewScale sc{2};
    int i = 0;
    for (auto _ : state) {
        const QPoint at((i * 37) % 8000, (i * 53) % 4000);
        benchmark::DoNotOptimize(SnapTarget(w.app.ed.st, sc, sc.ToWidget(at), 6));
        ++i;
    }
    state.SetLabel(std::to_string(w.app.ed.st.PointLast) + " records");
}
BENCHMARK(BM_SnapSearch)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
