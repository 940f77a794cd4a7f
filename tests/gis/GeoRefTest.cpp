// The georeference travels with the work: through a save under a new name,
// a composition into another file and both vector exports, and beside the
// bitmap in the forms GDAL reads.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QImage>

#include "GisSupport.h"
#include "georef/GeoRefFiles.h"
#include "gis/GisCommands.h"
#include "support/FakeUi.h"
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
    t.ed.SaveWorkClick();
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
