// Finished maps out: the GeoJSON read back with OGR holds the composed rings
// exactly, the drawings are what their viewers expect, and the shared world
// map survives an export and a fresh import.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QPainter>
#include <QSvgRenderer>

#include "GisSupport.h"
#include "gis/MapDrawing.h"
#include "support/MapGenerator.h"
#include "text/ShiftJis.h"

using namespace gistest;

namespace {

class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
        GDALAllRegister();
    }
    QTemporaryDir dir;
};

struct ReadFeature {
    QString name;
    int area = 0;
    std::vector<ctest::Chain> rings;
    bool multi = false;
    bool valid = false;
};

std::vector<ReadFeature> ReadBack(const QString& path) {
    std::vector<ReadFeature> out;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.toUtf8(), GDAL_OF_VECTOR));
    if (!ds) return out;
    OGRLayer* layer = ds->GetLayer(0);
    for (const auto& f : *layer) {
        ReadFeature r;
        r.name = QString::fromUtf8(f->GetFieldAsString("name"));
        r.area = f->GetFieldAsInteger("area");
        const OGRGeometry* g = f->GetGeometryRef();
        r.multi = wkbFlatten(g->getGeometryType()) == wkbMultiPolygon;
        r.valid = g->IsValid();
        auto addPolygon = [&](const OGRPolygon* p) {
            const OGRLinearRing* ring = p->getExteriorRing();
            ctest::Chain c;
            for (int i = 0; i < ring->getNumPoints(); ++i)
                c.push_back(Rec{int16_t(ring->getX(i)), int16_t(-ring->getY(i))});
            r.rings.push_back(c);
        };
        if (r.multi)
            for (const OGRPolygon* p : *g->toMultiPolygon()) addPolygon(p);
        else
            addPolygon(g->toPolygon());
        out.push_back(r);
    }
    return out;
}

}  // namespace

TEST_F(Export, GeoJsonReadBackHoldsTheComposedRingsExactly) {
    MapRecipe recipe;
    recipe.cells = 60;
    recipe.cellsPerArea = 3;
    Store st;
    const GeneratedMap info = GenerateMap(recipe, st);
    for (int a = 1; a <= st.AreaCount; ++a)  // names the person can read
        st.SetAreaName(a, sjis::FromUnicode(QStringLiteral("区域%1").arg(a)));
    const QString work = dir.filePath("map.vlm"), composed = dir.filePath("composed.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    // Export composes an uncomposed map itself; the composed file is the reference.
    ASSERT_EQ(Cli({"compose", work, "-o", composed}).code, 0);
    const CliRun r = Cli({"export", work, "-o", dir.filePath("map.geojson"), "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const WorkData d = ReadWork(composed);
    const std::vector<ctest::Chain> chains = ctest::Chains(d.points);
    const std::vector<ReadFeature> features = ReadBack(dir.filePath("map.geojson"));
    ASSERT_EQ(int(features.size()), info.areas);
    // Several outlines of one area that share a line are one polygon to GIS
    // tools: those areas are merged (and named), the others kept ring for ring.
    QStringList mended;
    for (const QJsonValue& v : Json(r)["mended"].toArray()) mended << v.toString();
    size_t next = 0;
    int multis = 0, kept = 0;
    for (const ReadFeature& f : features) {
        EXPECT_EQ(f.name, QStringLiteral("区域%1").arg(f.area));
        EXPECT_TRUE(f.valid) << "area " << f.area;
        const auto& held = d.positions[size_t(f.area - 1)];
        const size_t traced =
            size_t(std::count_if(held.begin(), held.end() - 1, [](Rec p) { return p.x != 0; }));
        if (mended.contains(f.name)) {
            next += traced;
            continue;
        }
        ++kept;
        EXPECT_EQ(f.multi, f.rings.size() > 1);
        EXPECT_EQ(f.rings.size(), traced);
        multis += f.multi;
        for (const ctest::Chain& ring : f.rings) {
            ASSERT_LT(next, chains.size());
            // Exterior rings run counter-clockwise, whichever way the composition walked.
            const ctest::Chain& want = chains[next++];
            EXPECT_TRUE(ring == want || ring == ctest::Chain(want.rbegin(), want.rend()))
                << "area " << f.area;
        }
    }
    EXPECT_EQ(int(next), info.positions);
    EXPECT_GT(kept, 0);
    EXPECT_GT(multis, 0);
    EXPECT_EQ(Json(r)["rings"].toInt(), info.positions);
}

TEST_F(Export, DrawingsAndOtherFormats) {
    MapRecipe recipe;
    recipe.cells = 40;
    Store st;
    const GeneratedMap info = GenerateMap(recipe, st);
    st.MapTitle = sjis::FromUnicode(QStringLiteral("配布用の地図"));
    const QString work = dir.filePath("map.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    for (const char* ext : {"svg", "pdf", "png", "shp", "gpkg"}) {
        const QString out = dir.filePath(QStringLiteral("map.%1").arg(QLatin1String(ext)));
        const CliRun r = Cli({"export", work, "-o", out});
        ASSERT_EQ(r.code, 0) << ext << r.err.toStdString();
    }
    QSvgRenderer svg(dir.filePath("map.svg"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox().size(), QSize(st.MapWidth, st.MapHeight));

    QFile pdf(dir.filePath("map.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page/") + bytes.count("/Type /Page "),
              1);

    const QImage png(dir.filePath("map.png"));
    EXPECT_EQ(png.size(), QSize(st.MapWidth, st.MapHeight));

    for (const char* ext : {"shp", "gpkg"}) {
        const auto back = ReadBack(dir.filePath(QStringLiteral("map.%1").arg(QLatin1String(ext))));
        EXPECT_EQ(int(back.size()), info.areas) << ext;
    }
    // Nothing is overwritten without --force; an unknown format is bad usage.
    EXPECT_EQ(Cli({"export", work, "-o", dir.filePath("map.png")}).code, 2);
    EXPECT_EQ(Cli({"export", work, "-o", dir.filePath("map.txt")}).code, 2);
}

TEST_F(Export, AMapThatDoesNotComposeIsNotExported) {
    MapRecipe recipe;
    recipe.cells = 40;
    recipe.damage = MapRecipe::Gap;
    Store st;
    GenerateMap(recipe, st);
    const QString work = dir.filePath("gap.vlm"), out = dir.filePath("gap.geojson");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    const CliRun r = Cli({"export", work, "-o", out});
    EXPECT_EQ(r.code, 1);
    // The gap joins two areas' regions.
    EXPECT_TRUE(r.err.contains(QStringLiteral("が同じ領域にあります。"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(Export, TheWorldMapSurvivesExportAndImport) {
    const QString world = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm");
    const QString geojson = dir.filePath("world.geojson"), back = dir.filePath("back.vlm");
    ASSERT_EQ(Cli({"export", world, "-o", geojson}).code, 0);
    const WorkData original = ReadWork(world);
    const QString size = QStringLiteral("%1,%2").arg(original.mapWidth).arg(original.mapHeight);
    const CliRun r = Cli({"import", geojson, "-o", back, "--size", size, "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const WorkData imported = ReadWork(back);
    EXPECT_EQ(imported.names, original.names);
    const CliRun check = Cli({"check", back, "--json"});
    EXPECT_EQ(check.code, 0);
    EXPECT_EQ(Json(check)["failed"].toInt(), 0);
    EXPECT_EQ(Json(check)["closed"].toInt(), Json(r)["positions"].toInt());
    EXPECT_GT(Json(r)["positions"].toInt(), 300);

    // Simplified at 1 px, every border once: fewer points, the same positions
    // and every one of them still closes.
    const QString thin = dir.filePath("thin.vlm");
    const CliRun simple =
        Cli({"import", geojson, "-o", thin, "--size", size, "--simplify", "1", "--json"});
    ASSERT_EQ(simple.code, 0) << simple.err.toStdString();
    EXPECT_EQ(Json(simple)["pointsBeforeSimplify"].toInt(), Json(r)["points"].toInt());
    EXPECT_LT(Json(simple)["points"].toInt() * 3, Json(r)["points"].toInt() * 2)
        << Json(simple)["points"].toInt() << " of " << Json(r)["points"].toInt();
    EXPECT_EQ(ReadWork(thin).positions, imported.positions);
    const CliRun thinCheck = Cli({"check", thin, "--json"});
    EXPECT_EQ(Json(thinCheck)["failed"].toInt(), 0);
    EXPECT_EQ(Json(thinCheck)["closed"].toInt(), Json(r)["positions"].toInt());

    // Exported again, the outlines come back in the first export's coordinates.
    ASSERT_EQ(Cli({"export", back, "-o", dir.filePath("again.geojson")}).code, 0);
    std::map<QString, QRect> first;
    auto box = [](const ReadFeature& f) {
        QRect b;
        for (const auto& ring : f.rings)
            for (Rec p : ring) b |= QRect(p.x, p.y, 1, 1);
        return b;
    };
    for (const ReadFeature& f : ReadBack(geojson)) first[f.name] = box(f);
    const auto again = ReadBack(dir.filePath("again.geojson"));
    EXPECT_GT(again.size(), first.size() * 9 / 10);
    for (const ReadFeature& f : again) {
        // Parts too small for a position are left out, so only containment holds.
        EXPECT_TRUE(first[f.name].adjusted(-3, -3, 3, 3).contains(box(f))) << f.name.toStdString();
    }
}

TEST_F(Export, AnEnclaveIsAHoleOfTheAreaAroundIt) {
    const QString in = WriteText(
        dir, "enclave.geojson",
        Collection({
            {"Outer", "[[[0,0],[4,0],[4,4],[0,4],[0,0]],[[1,1],[1,3],[3,3],[3,1],[1,1]]]"},
            {"Inner", "[[[1,1],[3,1],[3,3],[1,3],[1,1]]]"},
        }));
    ASSERT_EQ(Cli({"import", in, "-o", dir.filePath("enclave.vlm"), "--size", "200,200"}).code, 0);
    ASSERT_EQ(Cli({"export", dir.filePath("enclave.vlm"), "-o", dir.filePath("out.geojson")}).code,
              0);
    GDALDatasetUniquePtr ds(
        GDALDataset::Open(dir.filePath("out.geojson").toUtf8(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGRFeatureUniquePtr outer(ds->GetLayer(0)->GetNextFeature());
    OGRFeatureUniquePtr inner(ds->GetLayer(0)->GetNextFeature());
    const OGRPolygon* o = outer->GetGeometryRef()->toPolygon();
    const OGRPolygon* i = inner->GetGeometryRef()->toPolygon();
    ASSERT_EQ(o->getNumInteriorRings(), 1);
    EXPECT_EQ(i->getNumInteriorRings(), 0);
    // The hole is the enclave's outline, the other way round.
    EXPECT_TRUE(o->getInteriorRing(0)->isClockwise() != i->getExteriorRing()->isClockwise());
    EXPECT_NEAR(o->get_Area(), 16.0 - 4.0, 0.2);  // back in degrees, to the pixel
    EXPECT_TRUE(o->IsValid());
}

TEST_F(Export, EveryPolygonIsValidAndAnAreaWithoutOutlineIsNamed) {
    // A composed outline that touches itself at (20,20), and an area with no position.
    Store st;
    std::vector<Rec> eight{{},       {10, 10}, {20, 10}, {20, 20}, {30, 20}, {30, 30},
                           {20, 30}, {20, 20}, {10, 20}, {10, 10}, {}};
    ASSERT_TRUE(st.AssignPoints(eight));
    st.AreaCount = 2;
    st.SetAreaName(1, "Eight");
    st.SetAreaName(2, "Nowhere");
    st.AreaPos(0, 1) = Rec{12, 12};
    st.MapWidth = st.MapHeight = 40;
    st.MarkComposed();
    const QString work = dir.filePath("eight.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    const CliRun r = Cli({"export", work, "-o", dir.filePath("eight.geojson"), "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Nowhere"));
    EXPECT_EQ(Json(r)["withoutOutline"].toArray().size(), 1);
    EXPECT_EQ(Json(r)["mended"].toArray().size(), 1);
    GDALDatasetUniquePtr ds(
        GDALDataset::Open(dir.filePath("eight.geojson").toUtf8(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGRFeatureUniquePtr f(ds->GetLayer(0)->GetNextFeature());
    ASSERT_TRUE(f && f->GetGeometryRef());
    EXPECT_TRUE(f->GetGeometryRef()->IsValid());
    EXPECT_EQ(wkbFlatten(f->GetGeometryRef()->getGeometryType()), wkbMultiPolygon);
    const OGRPolygon* first = f->GetGeometryRef()->toMultiPolygon()->getGeometryRef(0);
    EXPECT_FALSE(first->getExteriorRing()->isClockwise());
}

TEST_F(Export, AShapefileSetIsReplacedWholeOnlyWithForceAndNeverTheTransform) {
    MapRecipe recipe;
    recipe.cells = 20;
    Store st;
    GenerateMap(recipe, st);
    const QString work = dir.filePath("map.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    auto bytes = [&](const char* name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    WriteText(dir, "x.dbf", "old table");
    WriteText(dir, "x.prj", "old projection");
    // Only a side file exists: without --force nothing is touched.
    EXPECT_EQ(Cli({"export", work, "-o", dir.filePath("x.shp")}).code, 2);
    EXPECT_EQ(bytes("x.dbf"), "old table");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.shp")));
    // With it, the whole set is new and a projection no longer true is gone.
    ASSERT_EQ(Cli({"export", work, "-o", dir.filePath("x.shp"), "--force"}).code, 0);
    EXPECT_NE(bytes("x.dbf"), "old table");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.prj")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("x.shx")));

    WriteText(dir, "map.vlm.json", "the transform");
    const CliRun onto = Cli({"export", work, "-o", dir.filePath("map.vlm.json"), "--force"});
    EXPECT_EQ(onto.code, 2);
    EXPECT_TRUE(onto.err.contains(QStringLiteral("書き出し先に"))) << onto.err.toStdString();
    EXPECT_EQ(bytes("map.vlm.json"), "the transform");
}

TEST_F(Export, APngIsHeldToTheMemoryBudgetWhichAVectorExportDoesNotNeed) {
    // A composed map 12,000 px across: a 144 MB surface, a 576 MB picture.
    const QString in = WriteText(dir, "two.geojson",
                                 Collection({{"West", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"},
                                             {"East", "[[[1,0],[2,0],[2,1],[1,1],[1,0]]]"}}));
    const QString work = dir.filePath("two.vlm");
    ASSERT_EQ(Cli({"import", in, "-o", work, "--size", "12000,12000"}).code, 0);
    ASSERT_EQ(Cli({"compose", work, "-o", work, "--force"}).code, 0);

    const QString png = dir.filePath("two.png");
    const CliRun refused = Cli({"export", work, "-o", png, "--max-memory", "200"});
    EXPECT_EQ(refused.code, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("12000 x 6021 ピクセルの画像は約 276 MB")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("上限の 200 MB")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--max-memory")));
    EXPECT_FALSE(QFileInfo::exists(png));

    for (const char* name : {"two.geojson.out.geojson", "two.shp", "two.gpkg"}) {
        const CliRun r = Cli({"export", work, "-o", dir.filePath(name), "--max-memory", "64"});
        EXPECT_EQ(r.code, 0) << name << ": " << r.err.toStdString();
        EXPECT_EQ(ReadBack(dir.filePath(name)).size(), 2u) << name;
    }
}

// A long, low map on a page at 300 dpi: the title and remarks keep off the
// map, the names are no smaller than 7 pt, and the legend box is drawn
// where the work places it.
TEST(MapDrawing, TheTitleKeepsOffTheMapNamesReadInPrintAndTheLegendIsWhereTheWorkPutsIt) {
    if (!QGuiApplication::instance()) {  // fonts need one; it lives as long as the program
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_gis";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    Store st;
    st.MapWidth = 2000, st.MapHeight = 250;
    st.MapTitle = sjis::FromUnicode(QStringLiteral("配布用の地図"));
    st.MapCommentCount = 1;
    st.MapComments[1] = sjis::FromUnicode(QStringLiteral("2026 年 12 月"));
    st.LegendX = 1800, st.LegendY = 120;
    gis::AreaOutlines a;
    a.name = QStringLiteral("北町");
    a.label = Rec{1000, 125};
    a.rings = {{Rec{0, 0}, Rec{1999, 0}, Rec{1999, 249}, Rec{0, 249}, Rec{0, 0}}};
    QImage page(3300, 2400, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811), page.setDotsPerMeterY(11811);  // 300 dpi
    gis::MapPlacement placed;
    {
        QPainter p(&page);
        placed = gis::DrawMap(p, st, {a}, QRectF(0, 0, 3300, 2400));
    }
    EXPECT_FALSE(placed.header.isEmpty());
    EXPECT_LE(placed.header.bottom(), placed.map.top());
    EXPECT_GE(placed.nameSize, 7 * 300 / 72.0);
    EXPECT_NEAR(placed.map.width() / placed.map.height(), 2000 / 250.0, 0.01);
    // The map's top border is drawn just below the band, not under the title.
    const int border = qRound(placed.map.top());
    EXPECT_LT(qGray(page.pixel(1650, border)), 128);
    int ink = 0;  // the title is there, in its band
    for (int y = 0; y < int(placed.header.bottom()); ++y)
        for (int x = 0; x < 1000; ++x) ink += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(ink, 100);

    const double s = placed.map.width() / 2000;
    ASSERT_FALSE(placed.legend.isEmpty());
    EXPECT_NEAR(placed.legend.left(), placed.map.left() + 1800 * s, 1e-6);
    EXPECT_NEAR(placed.legend.top(), placed.map.top() + 120 * s, 1e-6);
    EXPECT_NEAR(placed.legend.width(), 100 * s, 1e-6);
    const QPoint frame(qRound(placed.legend.left()), qRound(placed.legend.center().y()));
    EXPECT_LT(qGray(page.pixel(frame)), 200);
    EXPECT_EQ(page.pixel(placed.legend.center().toPoint() + QPoint(0, int(placed.legend.height() / 4))),
              qRgb(255, 255, 255));
}
