// The georeference travels with the work: through a save under a new name,
// a composition into another file and both vector exports, and beside the
// bitmap in the forms GDAL reads.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <functional>

#include "GisSupport.h"
#include "georef/GeoRefFiles.h"
#include "editor/commands/GisCommands.h"
#include "gis/GroundTransform.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"
#include "usecases/GeoReference.h"
#include "usecases/WorkFiles.h"

using namespace gistest;

namespace {

bool SameCrs(const OGRSpatialReference* a, const OGRSpatialReference& b) {
    const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
    return a && a->IsSame(&b, options);
}

OGREnvelope Extent(const QString& path, QString* name = nullptr) {
    OGREnvelope box;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.toUtf8(), GDAL_OF_VECTOR));
    EXPECT_TRUE(ds) << path.toStdString();
    if (!ds) return box;
    OGRLayer* layer = ds->GetLayer(0);
    EXPECT_EQ(layer->GetExtent(&box), OGRERR_NONE);
    if (name) {
        OGRFeatureUniquePtr f(layer->GetNextFeature());
        *name = QString::fromUtf8(f->GetFieldAsString("name"));
    }
    return box;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(GeoRefTravels, ImportEditSaveAsComposeAndExportKeepTheCoordinates) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    GDALAllRegister();
    TestEditor t(800, 600);
    const QString in = WriteText(
        *t.dir, "towns.geojson",
        Collection({
            {"North",
             "[[[139.70,35.70],[139.80,35.70],[139.80,35.75],[139.70,35.75],[139.70,35.70]]]"},
            {"South",
             "[[[139.70,35.65],[139.80,35.65],[139.80,35.70],[139.70,35.70],[139.70,35.65]]]"},
        }));
    t.ui.files = {in, t.Path("towns.vlm")};
    gis::ImportBoundariesCommand(t.ed);
    ASSERT_EQ(t.st().AreaCount, 2);
    EditMap(t.ed, [](Store& s) {
        s.SetAreaName(1, "Kita");
        s.LegendX = s.LegendY = 1;  // a finished map needs its legend placed
        s.MarkChanged();
    });
    // Saved under a new name, composed into a third: each carries it.
    t.ui.files = {t.Path("renamed.vlm")};
    t.ed.files.SaveWorkClick();
    ASSERT_TRUE(QFileInfo::exists(t.Path("renamed.vlm.json")));
    ASSERT_EQ(Cli({"compose", t.Path("renamed.vlm"), "-o", t.Path("composed.vlm"), "--idt",
                   t.Path("map.idt")})
                  .code,
              0);
    EXPECT_EQ(Bytes(t.Path("composed.vlm.json")), Bytes(t.Path("renamed.vlm.json")));
    // A finished map read back into a work keeps it as well.
    ASSERT_EQ(Cli({"read-idt", t.Path("map.idt"), "-o", t.Path("back.vlm")}).code, 0);
    EXPECT_EQ(Bytes(t.Path("back.vlm.json")), Bytes(t.Path("renamed.vlm.json")));

    for (const char* out : {"out.shp", "out.geojson"}) {
        const CliRun r = Cli({"export", t.Path("composed.vlm"), "-o", t.Path(out), "--json"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(Json(r)["sourceCoordinates"].toBool()) << out;
        QString name;
        const OGREnvelope box = Extent(t.Path(out), &name);
        EXPECT_EQ(name, QStringLiteral("Kita")) << out;
        // Within a pixel of the source (0.1 degrees is several hundred pixels).
        EXPECT_NEAR(box.MinX, 139.70, 0.001) << out;
        EXPECT_NEAR(box.MaxX, 139.80, 0.001) << out;
        EXPECT_NEAR(box.MinY, 35.65, 0.001) << out;
        EXPECT_NEAR(box.MaxY, 35.75, 0.001) << out;
    }
    EXPECT_TRUE(QFileInfo::exists(t.Path("out.prj")));

    // An export never takes the georeference's own name.
    const QByteArray kept = Bytes(t.Path("composed.vlm.json"));
    const CliRun over =
        Cli({"export", t.Path("composed.vlm"), "-o", t.Path("composed.vlm.json"), "--force"});
    EXPECT_EQ(over.code, 2);
    EXPECT_EQ(Bytes(t.Path("composed.vlm.json")), kept);
}

TEST(GeoRefFiles, TheBitmapOpensGeoreferencedInGdalAndOldFilesStillRead) {
    GDALAllRegister();
    QTemporaryDir dir;
    const QString picture = dir.filePath("scan.tmp");
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    ASSERT_TRUE(img.save(picture, "BMP"));
    Store st;
    st.BasePicLoaded = true;
    OGRSpatialReference plane;
    plane.importFromEPSG(6677);
    char* wkt = nullptr;
    plane.exportToWkt(&wkt);
    st.Geo.wkt = QString::fromUtf8(wkt);
    CPLFree(wkt);
    st.Geo.hasAffine = true;
    st.Geo.affine = {1000, 2, 0, 5000, 0, -2};
    const WorkNames names{dir.filePath("map.vlm"), dir.filePath("map.bmp")};
    ASSERT_TRUE(usecase::SaveWork(st, names, picture).ok);
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(names.bitmap.toUtf8(), GDAL_OF_RASTER));
        ASSERT_TRUE(ds);
        double gt[6];
        ASSERT_EQ(ds->GetGeoTransform(gt), CE_None);
        // GDAL counts from the pixel's corner, half a pixel before its centre.
        const double want[6] = {999, 2, 0, 5001, 0, -2};
        for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(gt[i], want[i]) << i;
        EXPECT_TRUE(SameCrs(ds->GetSpatialRef(), plane));
    }

    // A warp: control points in the aux file, and no world file to contradict them.
    st.Geo.method = georef::Method::Tps;
    st.Geo.points = {{0, 0, 1000, 5000, true},
                     {39, 0, 1078, 5000, true},
                     {0, 29, 1000, 4942, true},
                     {20, 15, 0, 0, false}};
    ASSERT_TRUE(usecase::SaveWork(st, names, picture).ok);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("map.bpw")));
    {
        GDALDatasetUniquePtr ds(GDALDataset::Open(names.bitmap.toUtf8(), GDAL_OF_RASTER));
        ASSERT_TRUE(ds);
        ASSERT_EQ(ds->GetGCPCount(), 3);
        EXPECT_DOUBLE_EQ(ds->GetGCPs()[1].dfGCPPixel, 39.5);
        EXPECT_DOUBLE_EQ(ds->GetGCPs()[1].dfGCPX, 1078);
        EXPECT_TRUE(SameCrs(ds->GetGCPSpatialRef(), plane));
    }
    const usecase::WorkRead read = usecase::ReadWork(names.work);
    EXPECT_EQ(read.geo, st.Geo);

    // Without a georeference its files go, and nothing else of the person's.
    WriteText(dir, "map.txt", "notes");
    st.Geo = {};
    ASSERT_TRUE(usecase::SaveWork(st, names, picture).ok);
    for (const char* gone : {"map.vlm.json", "map.bmp.aux.xml", "map.prj"})
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(gone))) << gone;
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("map.txt")));

    // The first version's import fit is the same affine.
    georef::GeoRef old;
    ASSERT_TRUE(georef::FromJson(R"({"format":"velmot-transform","version":1,"geographic":true,
        "cosLat":0.5,"minX":60,"maxY":40,"scale":10,"margin":20})",
                                 old, nullptr));
    // Pixel (20, 20) is the extent's top-left: longitude 60 / 0.5, latitude 40.
    EXPECT_DOUBLE_EQ(old.affine[0] + old.affine[1] * 20, 120);
    EXPECT_DOUBLE_EQ(old.affine[3] + old.affine[5] * 20, 40);
    EXPECT_DOUBLE_EQ(old.affine[1], 0.2);
}

namespace {

georef::GeoRef PointsOf(georef::Method m, const std::vector<QPointF>& pixels,
                        const std::function<QPointF(QPointF)>& ground) {
    georef::GeoRef g;
    g.method = m;
    for (QPointF p : pixels) {
        const QPointF q = ground(p);
        g.points.push_back({p.x(), p.y(), q.x(), q.y(), true});
    }
    return g;
}

// The largest ground error at check points that are no control points, in
// pixels of `scale` ground units.
double CheckError(const georef::GeoRef& fitted, const std::function<QPointF(QPointF)>& ground,
                  double scale) {
    const gis::GroundTransform t(fitted);
    EXPECT_TRUE(t.Ok());
    double worst = 0;
    for (double px = 55; px < 1000; px += 130)
        for (double py = 40; py < 800; py += 110) {
            const QPointF q = ground({px, py});
            double x, y;
            EXPECT_TRUE(t.ToGround(px, py, x, y));
            worst = std::max(worst, std::hypot(x - q.x(), y - q.y()) / scale);
        }
    return worst;
}

}  // namespace

TEST(ControlPoints, KnownTransformsAreReproducedAtCheckPointsAndDoubtsAreNamed) {
    const QSize map(1000, 800);
    // A rotated, sheared plane fit: within 0.1 px away from the points.
    auto affine = [](QPointF p) {
        return QPointF(500000 + 2.5 * p.x() - 0.3 * p.y(), 40000 - 0.2 * p.x() - 2.5 * p.y());
    };
    const usecase::GeoRefFit a = usecase::FitControlPoints(
        PointsOf(georef::Method::Affine, {{10, 10}, {990, 20}, {500, 790}, {30, 700}}, affine),
        map);
    ASSERT_TRUE(a.result.ok);
    EXPECT_LT(a.rmsPx, 1e-6);
    EXPECT_LT(CheckError(a.geo, affine, 2.5), 0.1);

    // Paper shrinkage of the second order, 12 points: within 0.5 px.
    auto warp = [](QPointF p) {
        const double x = p.x(), y = p.y();
        return QPointF(1000 + 2 * x + 0.3 * y + 4e-4 * x * x - 3e-4 * x * y + 2e-4 * y * y,
                       9000 - 0.1 * x - 2 * y + 3e-4 * x * x + 1e-4 * x * y - 2e-4 * y * y);
    };
    std::vector<QPointF> twelve;
    for (double px : {20.0, 350.0, 650.0, 980.0})
        for (double py : {30.0, 400.0, 770.0}) twelve.push_back({px + py / 20, py + px / 30});
    const usecase::GeoRefFit q =
        usecase::FitControlPoints(PointsOf(georef::Method::Poly2, twelve, warp), map);
    ASSERT_TRUE(q.result.ok);
    EXPECT_LT(CheckError(q.geo, warp, 2), 0.5);
    // An affine cannot follow it, and its residuals say so.
    EXPECT_GT(usecase::FitControlPoints(PointsOf(georef::Method::Affine, twelve, warp), map).rmsPx,
              5);
    // A thin plate spline passes through every point: only leaving one out shows its error.
    const usecase::GeoRefFit tps =
        usecase::FitControlPoints(PointsOf(georef::Method::Tps, twelve, warp), map);
    ASSERT_TRUE(tps.result.ok);
    EXPECT_LT(tps.rmsPx, 1e-3);
    EXPECT_GT(tps.leaveOneOutRmsPx, 0.01);

    // Too few, on one line, and a warp that turns the map over.
    EXPECT_EQ(usecase::FitControlPoints(
                  PointsOf(georef::Method::Poly2, {{1, 1}, {500, 9}, {9, 700}}, affine), map)
                  .result.message.id,
              Msg::GeoRefTooFew);
    EXPECT_EQ(
        usecase::FitControlPoints(PointsOf(georef::Method::Affine,
                                           {{0, 0}, {100, 100}, {200, 200}, {300, 300.5}}, affine),
                                  map)
            .result.message.id,
        Msg::GeoRefCollinear);
    auto fold = [](QPointF p) { return QPointF((p.x() - 500) * (p.x() - 500) / 100, -p.y()); };
    const usecase::GeoRefFit folded =
        usecase::FitControlPoints(PointsOf(georef::Method::Poly2, twelve, fold), map);
    ASSERT_TRUE(folded.result.ok);
    ASSERT_FALSE(folded.warnings.isEmpty());
    EXPECT_TRUE(folded.warnings[0].contains(QStringLiteral("折り返")));
}

TEST(ControlPoints, TheCommandLineGeoreferencesAWorkAndItsExportCarriesTheSystem) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    GDALAllRegister();
    QTemporaryDir dir;
    MapRecipe recipe;
    recipe.cells = 12;
    Store st;
    GenerateMap(recipe, st);
    const QString work = dir.filePath("scan.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    int x0 = 32767, x1 = 0, y0 = 32767, y1 = 0;
    for (const Rec r : st.PointsToVector())
        if (r.x != 0)
            x0 = std::min<int>(x0, r.x), x1 = std::max<int>(x1, r.x), y0 = std::min<int>(y0, r.y),
            y1 = std::max<int>(y1, r.y);
    // Two metres a pixel on a plane rectangular system.
    const QStringList gcps = {"--gcp", "0,0,1000,5000",   "--gcp", "300,0,1600,5000",
                              "--gcp", "0,200,1000,4600", "--gcp", "300,200,1600,4600"};
    const CliRun bad = Cli(QStringList{"georef", work, "--crs", "EPSG:999999"} + gcps);
    EXPECT_EQ(bad.code, 2);
    const CliRun r = Cli(QStringList{"georef", work, "--crs", "EPSG:6677", "-o",
                                     dir.filePath("placed.vlm"), "--json"} +
                         gcps);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(Json(r)["points"].toArray().size(), 4);
    EXPECT_LT(Json(r)["rmsPixels"].toDouble(), 1e-6);
    ASSERT_EQ(Cli({"export", dir.filePath("placed.vlm"), "-o", dir.filePath("out.shp")}).code, 0);
    const OGREnvelope box = Extent(dir.filePath("out.shp"));
    EXPECT_NEAR(box.MinX, 1000 + 2 * x0, 1e-6);
    EXPECT_NEAR(box.MaxX, 1000 + 2 * x1, 1e-6);
    EXPECT_NEAR(box.MaxY, 5000 - 2 * y0, 1e-6);
    EXPECT_NEAR(box.MinY, 5000 - 2 * y1, 1e-6);
    GDALDatasetUniquePtr ds(GDALDataset::Open(dir.filePath("out.shp").toUtf8(), GDAL_OF_VECTOR));
    OGRSpatialReference plane;
    plane.importFromEPSG(6677);
    EXPECT_TRUE(SameCrs(ds->GetLayer(0)->GetSpatialRef(), plane));
    // GeoJSON is longitude and latitude: Japan plane IX near its origin.
    ASSERT_EQ(Cli({"export", dir.filePath("placed.vlm"), "-o", dir.filePath("out.geojson")}).code,
              0);
    const OGREnvelope lonlat = Extent(dir.filePath("out.geojson"));
    EXPECT_NEAR(lonlat.MinX, 139.83, 0.05);
    EXPECT_NEAR(lonlat.MinY, 36.04, 0.05);

    // Without --gcp the stored points are changed: a point moved a pixel off
    // spoils the fit until it is switched off; the flag is kept with the work.
    const QString placed = dir.filePath("placed.vlm");
    const CliRun moved = Cli({"georef", placed, "--move", "4,301,200", "--json"});
    ASSERT_EQ(moved.code, 0) << moved.err.toStdString();
    EXPECT_GT(Json(moved)["rmsPixels"].toDouble(), 0.1);
    const CliRun off = Cli({"georef", placed, "--off", "4", "--json"});
    ASSERT_EQ(off.code, 0) << off.err.toStdString();
    EXPECT_LT(Json(off)["rmsPixels"].toDouble(), 1e-6);
    EXPECT_EQ(Json(off)["crs"].toString(), "EPSG:6677");
    const QJsonArray kept = Json(Cli({"georef", placed, "--json"}))["points"].toArray();
    ASSERT_EQ(kept.size(), 4);
    EXPECT_FALSE(kept[3].toObject()["enabled"].toBool());
    EXPECT_EQ(kept[3].toObject()["pixel"].toArray()[0].toDouble(), 301);
    const CliRun on = Cli({"georef", placed, "--set", "4,300,200,1600,4600", "--on", "4", "--json"});
    ASSERT_EQ(on.code, 0) << on.err.toStdString();
    EXPECT_TRUE(Json(on)["points"].toArray()[3].toObject()["enabled"].toBool());
    EXPECT_LT(Json(on)["rmsPixels"].toDouble(), 1e-6);
    for (const QStringList& bad : {QStringList{"--off", "5"}, QStringList{"--off", "1", "--on", "1"},
                                   QStringList{"--move", "1,2"}})
        EXPECT_EQ(Cli(QStringList{"georef", placed} + bad).code, 2) << bad.join(' ').toStdString();
    EXPECT_EQ(Cli({"georef", work}).code, 2);  // no points stored, none given
}
