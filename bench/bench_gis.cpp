// Boundary-data import of a 3,000-polygon layer (GeoJSON, longitudes and
// latitudes, neighbours sharing their borders point for point) and export of
// a composed 3,000-area map to every format.
#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "gis/BoundaryImport.h"
#include "gis/MapExport.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"

namespace {

// A jittered 60 x 50 grid; each cell edge carries eight points, computed
// once per edge, so that neighbours share their borders point for point.
using Pt = std::pair<double, double>;

QByteArray Layer(int cols, int rows) {
    auto corner = [&](int i, int j) {
        const double jx = (i > 0 && i < cols) ? 0.3 * std::sin(i * 12.9898 + j * 78.233) : 0;
        const double jy = (j > 0 && j < rows) ? 0.3 * std::cos(i * 39.3468 + j * 11.135) : 0;
        return Pt{130.0 + (i + jx) * 0.1, 30.0 + (j + jy) * 0.1};
    };
    // The edge from corner (i0,j0) to (i1,j1), both ends included, with a wiggle.
    auto edge = [&](int i0, int j0, int i1, int j1) {
        const Pt a = corner(i0, j0), b = corner(i1, j1);
        std::vector<Pt> pts;
        for (int k = 0; k <= 8; ++k) {
            const double t = k / 8.0, w = 0.08 * std::sin(M_PI * t);
            pts.push_back({a.first + (b.first - a.first) * t + w * (b.second - a.second),
                           a.second + (b.second - a.second) * t - w * (b.first - a.first)});
        }
        return pts;
    };
    QByteArray s = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) {
            std::vector<Pt> ring = edge(i, j, i + 1, j);
            for (const auto& e : {edge(i + 1, j, i + 1, j + 1)})
                ring.insert(ring.end(), e.begin() + 1, e.end());
            std::vector<Pt> top = edge(i, j + 1, i + 1, j + 1), left = edge(i, j, i, j + 1);
            ring.insert(ring.end(), top.rbegin() + 1, top.rend());
            ring.insert(ring.end(), left.rbegin() + 1, left.rend());
            s += (i || j) ? "," : "";
            s += "{\"type\":\"Feature\",\"properties\":{\"name\":\"" +
                 QString::fromUtf8("区域%1").arg(j * cols + i).toUtf8() +
                 "\"},\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[";
            for (size_t k = 0; k < ring.size(); ++k)
                s += (k ? ",[" : "[") + QByteArray::number(ring[k].first, 'f', 7) + "," +
                     QByteArray::number(ring[k].second, 'f', 7) + "]";
            s += "]]}}";
        }
    return s + "]}";
}

struct ImportInput {
    QTemporaryDir dir;
    QString path = dir.filePath("layer.geojson");
    ImportInput() {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(Layer(60, 50));
    }
};

void BM_ImportLayer(benchmark::State& state) {
    static ImportInput input;
    gis::ImportResult r;
    for (auto _ : state) {
        auto st = std::make_unique<Store>();
        if (!gis::ImportBoundaries(input.path, gis::ImportOptions{}, *st, r))
            state.SkipWithError(r.error.toUtf8().constData());
        benchmark::DoNotOptimize(st->PointLast);
    }
    state.counters["areas"] = r.areas;
    state.counters["positions"] = r.positions;
    state.counters["points"] = r.points;
}
BENCHMARK(BM_ImportLayer)->Unit(benchmark::kMillisecond);

struct ComposedMap {
    std::unique_ptr<TestEditor> t = std::make_unique<TestEditor>(8, 8);
    QTemporaryDir dir;
    ComposedMap() {
        MapRecipe recipe;
        recipe.cells = 3000;
        recipe.step = 2;
        const GeneratedMap g = GenerateMap(recipe, t->ed);
        t->ed.surf.Resize(g.width, g.height);
        t->ed.composer.ReMakeLineClick();
    }
};

void BM_Export(benchmark::State& state) {
    static ComposedMap map;
    const auto format = gis::ExportFormat(state.range(0));
    static const char* const ext[] = {"geojson", "shp", "gpkg", "svg", "pdf", "png"};
    state.SetLabel(ext[state.range(0)]);
    if (!map.t->st().Completed) state.SkipWithError("composition failed");
    const QString out =
        map.dir.filePath(QStringLiteral("map.%1").arg(QLatin1String(ext[state.range(0)])));
    gis::ExportResult r;
    for (auto _ : state) {
        QFile::remove(out);
        if (!gis::ExportMap(map.t->st(), nullptr, out, format, r))
            state.SkipWithError(r.error.toUtf8().constData());
    }
    state.counters["areas"] = r.features;
}
BENCHMARK(BM_Export)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace

// GDAL alone reading every feature and its geometry, the peer of
// bench/import_speed.sh: prints the features and vertices read.
int ReadWithGdalAlone(const char* path) {
    GDALAllRegister();
    GDALDatasetUniquePtr ds(GDALDataset::Open(path, GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds) return 2;
    long long features = 0, vertices = 0;
    for (OGRLayer* layer : ds->GetLayers())
        for (const auto& f : *layer) {
            ++features;
            if (const OGRGeometry* g = f->GetGeometryRef()) {
                auto count = [&](const OGRPolygon* poly) {
                    for (const OGRLinearRing* ring : *poly) vertices += ring->getNumPoints();
                };
                if (wkbFlatten(g->getGeometryType()) == wkbPolygon)
                    count(g->toPolygon());
                else if (wkbFlatten(g->getGeometryType()) == wkbMultiPolygon)
                    for (const OGRPolygon* poly : *g->toMultiPolygon()) count(poly);
            }
        }
    std::printf("%lld features, %lld vertices\n", features, vertices);
    return 0;
}

// The drawings need fonts, hence a GUI application (offscreen).
int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "--gdal-read")) return ReadWithGdalAlone(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
