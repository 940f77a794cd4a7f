// Boundary data in: hand-made GeoJSON and Shapefiles through velmot-cli
// import, then the composition must close every position.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

#include "GisSupport.h"
#include "text/ShiftJis.h"

using namespace gistest;

namespace {

class Import : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    }
    // Imports and checks that the result is noded and composes completely.
    WorkData ImportAndCompose(const QString& in, const QStringList& extra = {}) {
        const QString out = dir.filePath(QFileInfo(in).completeBaseName() + ".vlm");
        last = Cli(QStringList{"import", in, "-o", out, "--json"} + extra);
        EXPECT_EQ(last.code, 0) << last.err.toStdString();
        WorkData d = ReadWork(out);
        EXPECT_EQ(NodingFault(ctest::Chains(d.points)), QString());
        const CliRun check = Cli({"check", out, "--json"});
        EXPECT_EQ(check.code, 0) << check.out.toStdString();
        EXPECT_EQ(Json(check)["failed"].toInt(), 0);
        return d;
    }
    int Positions(const WorkData& d, size_t area) {
        int n = 0;
        while (n < Store::Slots && d.positions[area][size_t(n)].x > 0) ++n;
        return n;
    }
    QTemporaryDir dir;
    CliRun last;
};

}  // namespace

TEST_F(Import, NeighboursShareOneBorderAndHolesAndIslandsGetPositions) {
    // West and east squares sharing x = 1; a ring with a hole; two islands.
    const QString in = WriteText(
        dir, "shapes.geojson",
        Collection({
            {"West", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"},
            {"East", "[[[1,0],[2,0],[2,1],[1,1],[1,0]]]"},
            {"Ring",
             "[[[3,0],[5,0],[5,2],[3,2],[3,0]],[[3.5,0.5],[4.5,0.5],[4.5,1.5],[3.5,1.5],[3.5,0.5]]"
             "]"},
            {"Isles",
             "[[[[0,3],[1,3],[1,4],[0,4],[0,3]]],[[[2,3],[2.5,3],[2.5,3.5],[2,3.5],[2,3]]]]"},
        }));
    const WorkData d = ImportAndCompose(in);
    ASSERT_EQ(d.names.size(), 4u);
    EXPECT_EQ(d.names[0], "West");
    EXPECT_EQ(Positions(d, 0), 1);
    EXPECT_EQ(Positions(d, 2), 1);
    EXPECT_EQ(Positions(d, 3), 2);  // the larger island first
    EXPECT_GT(d.positions[3][0].x, 0);
    EXPECT_LT(d.positions[3][0].x, d.positions[3][1].x);

    // Every segment is stored once, the shared border included.
    std::set<std::pair<uint32_t, uint32_t>> seen;
    int segments = 0;
    for (const ctest::Chain& c : ctest::Chains(d.points))
        for (size_t i = 1; i < c.size(); ++i) {
            auto k = [](Rec r) { return uint32_t(uint16_t(r.x)) << 16 | uint16_t(r.y); };
            seen.insert(std::minmax(k(c[i - 1]), k(c[i])));
            ++segments;
        }
    EXPECT_EQ(int(seen.size()), segments);
    const QJsonObject j = Json(last);
    EXPECT_EQ(j["areas"].toInt(), 4);
    EXPECT_EQ(j["positions"].toInt(), 5);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("shapes.vlm.json")));
}

TEST_F(Import, BordersCrossingAfterRoundingShareAPoint) {
    // Slanted borders that cross between pixels at this size. C stays clear
    // of B's middle, where B's position goes.
    const QString in = WriteText(dir, "cross.geojson",
                                 Collection({
                                     {"A", "[[[0,0],[10,0.3],[10,10],[0,10],[0,0]]]"},
                                     {"B", "[[[0,0.2],[10,0],[10,-10],[0,-10],[0,0.2]]]"},
                                     {"C", "[[[6,-5],[7,5.013],[9,-5.2],[6,-5]]]"},
                                 }));
    const WorkData d = ImportAndCompose(in, {"--size", "337,331"});
    EXPECT_EQ(d.names.size(), 3u);
}

TEST_F(Import, JapaneseNamesAreStoredInShiftJisAndCutAt18Bytes) {
    const QString in =
        WriteText(dir, "names.geojson",
                  Collection({
                      {"千代田区", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"},
                      {"東京都千代田区霞が関一丁目", "[[[1,0],[2,0],[2,1],[1,1],[1,0]]]"},
                      {"aあいうえおかきくけ", "[[[2,0],[3,0],[3,1],[2,1],[2,0]]]"},
                      {"Ærø", "[[[3,0],[4,0],[4,1],[3,1],[3,0]]]"},
                      {"Côte d'Ivoire\\nNord", "[[[4,0],[5,0],[5,1],[4,1],[4,0]]]"},
                  }));
    const WorkData d = ImportAndCompose(in, {"--name-field", "NAME"});
    ASSERT_EQ(d.names.size(), 5u);
    EXPECT_EQ(sjis::ToUnicode(d.names[0]), QStringLiteral("千代田区"));
    EXPECT_EQ(sjis::ToUnicode(d.names[1]), QStringLiteral("東京都千代田区霞が"));
    EXPECT_EQ(d.names[2].size(), 17u);  // the 18th byte would split a character
    EXPECT_EQ(sjis::ToUnicode(d.names[3]), QStringLiteral("?r?"));
    // Accents Shift-JIS lacks are dropped and a line break is a space, each reported.
    EXPECT_EQ(sjis::ToUnicode(d.names[4]), QStringLiteral("Cote d'Ivoire Nord"));
    const QJsonArray notes = Json(last)["notes"].toArray();
    EXPECT_EQ(notes.size(), 4);
    EXPECT_TRUE(notes[0].toString().contains(QStringLiteral("東京都千代田区霞が関一丁目")));
}

TEST_F(Import, AShapefileWrittenByOgr) {
    GDALAllRegister();
    const QString shp = dir.filePath("wards.shp");
    {
        GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
        GDALDatasetUniquePtr ds(drv->Create(shp.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr));
        ASSERT_TRUE(ds);
        OGRSpatialReference srs;
        srs.importFromEPSG(6677);  // a projected plane rectangular system, metres
        const char* opts[] = {"ENCODING=UTF-8", nullptr};
        OGRLayer* layer = ds->CreateLayer("wards", &srs, wkbPolygon, const_cast<char**>(opts));
        OGRFieldDefn code("CODE", OFTInteger), name("N03_004", OFTString);
        layer->CreateField(&code);
        layer->CreateField(&name);
        const char* wkts[] = {"POLYGON((0 0,1000 0,1000 800,0 800,0 0))",
                              "POLYGON((1000 0,2500 0,2500 800,1000 800,1000 0))"};
        const char* names[] = {"中央区", "港区"};
        for (int i = 0; i < 2; ++i) {
            OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            f->SetField("CODE", 13101 + i);
            f->SetField("N03_004", names[i]);
            OGRGeometry* g = nullptr;
            OGRGeometryFactory::createFromWkt(wkts[i], nullptr, &g);
            f->SetGeometryDirectly(g);
            ASSERT_EQ(layer->CreateFeature(f.get()), OGRERR_NONE);
        }
    }
    const WorkData d = ImportAndCompose(shp, {"--size", "800,600"});
    ASSERT_EQ(d.names.size(), 2u);
    EXPECT_EQ(sjis::ToUnicode(d.names[1]), QStringLiteral("港区"));
    // Projected metres are used as they are: 2500 x 800 keeps its shape.
    EXPECT_NEAR(double(d.mapWidth) / d.mapHeight, (2500.0 * 0.95 + 40) / (800 * 0.95 + 40), 0.3);
}

TEST_F(Import, BadInputIsRefusedAndNothingIsWritten) {
    const QString out = dir.filePath("out.vlm");
    const QByteArray square = "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]";
    QByteArray many = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (int i = 0; i <= Store::MaxAreas; ++i)
        many += QByteArray(i ? "," : "") +
                "{\"type\":\"Feature\",\"properties\":{},\"geometry\":{\"type\":\"Polygon\","
                "\"coordinates\":[[[" +
                QByteArray::number(i) + ",0],[" + QByteArray::number(i) + ".5,0],[" +
                QByteArray::number(i) + ".5,1],[" + QByteArray::number(i) + ",0]]]}}";
    many += "]}";
    const QString points = WriteText(
        dir, "points.geojson",
        "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{},"
        "\"geometry\":{\"type\":\"Point\",\"coordinates\":[1,2]}}]}");
    // A Shapefile whose geometry file is cut short.
    const QString good = WriteText(dir, "good.geojson", Collection({{"A", square}}));
    ASSERT_EQ(Cli({"import", good, "-o", dir.filePath("good.vlm")}).code, 0);
    ASSERT_EQ(Cli({"export", dir.filePath("good.vlm"), "-o", dir.filePath("cut.shp")}).code, 0);
    QFile::resize(dir.filePath("cut.shp"), 120);

    const std::vector<std::pair<const char*, QStringList>> cases = {
        {"empty file", {WriteText(dir, "empty.geojson", "")}},
        {"not boundary data", {WriteText(dir, "junk.geojson", "{\"type\": 17")}},
        {"no known format", {WriteText(dir, "notes.txt", "just some words\n")}},
        {"no polygon layer", {points}},
        {"unknown field", {good, "--name-field", "NOPE"}},
        {"no polygons", {WriteText(dir, "none.geojson", Collection({}))}},
        {"corrupt shapefile", {dir.filePath("cut.shp")}},
        {"too many areas", {WriteText(dir, "many.geojson", many)}},
        {"missing", {dir.filePath("missing.geojson")}},
    };
    for (const auto& [what, args] : cases) {
        const CliRun r = Cli(QStringList{"import"} + args + QStringList{"-o", out});
        EXPECT_EQ(r.code, 2) << what;
        EXPECT_TRUE(r.err.startsWith("velmot-cli import: ")) << what;
        EXPECT_FALSE(r.err.contains(QStringLiteral("。()"))) << what << ": " << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << what;
        EXPECT_FALSE(QFileInfo::exists(out + ".json")) << what;
    }
    // Good data that cannot be written: the work failed.
    EXPECT_EQ(Cli({"import", good, "-o", dir.filePath("none/out.vlm")}).code, 1);
}

TEST_F(Import, ASmallPartStillGetsItsClearestPixelAndComposes) {
    // At 800 px wide the island is under 3 px across: no pixel 2 px off its
    // shore, but its middle pixel is clear of every line.
    const QString in = WriteText(
        dir, "islands.geojson",
        Collection({{"Main", "[[[0,0],[100,0],[100,60],[0,60],[0,0]]]"},
                    {"Islet", "[[[110,30],[110.45,30],[110.45,30.45],[110,30.45],[110,30]]]"},
                    {"Speck", "[[[110,50],[110.02,50],[110.02,50.02],[110,50.02],[110,50]]]"}}));
    const WorkData d = ImportAndCompose(in, {"--size", "800,600"});
    ASSERT_EQ(d.names.size(), 3u);
    EXPECT_EQ(Positions(d, 1), 1);
    // A speck is no pixel: named at the end with the size that would hold it,
    // and in the summary of features without a position.
    EXPECT_EQ(Positions(d, 2), 0);
    const QJsonArray notes = Json(last)["notes"].toArray();
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].toString().contains("--size ")) << notes[0].toString().toStdString();
    EXPECT_TRUE(notes[1].toString().endsWith(": Speck")) << notes[1].toString().toStdString();
}

TEST_F(Import, ACp932ShapefileWithoutCpgAndALayerChosenByName) {
    GDALAllRegister();
    // Shift-JIS bytes written as they are, and no .cpg to say so.
    const QString shp = dir.filePath("old.shp");
    {
        GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
        GDALDatasetUniquePtr ds(drv->Create(shp.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr));
        const char* opts[] = {"ENCODING=", nullptr};
        OGRLayer* layer = ds->CreateLayer("old", nullptr, wkbPolygon, const_cast<char**>(opts));
        OGRFieldDefn name("NAME", OFTString);
        layer->CreateField(&name);
        OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        f->SetField("NAME", sjis::FromUnicode(QStringLiteral("港区")).c_str());
        OGRGeometry* g = nullptr;
        OGRGeometryFactory::createFromWkt("POLYGON((0 0,10 0,10 8,0 8,0 0))", nullptr, &g);
        f->SetGeometryDirectly(g);
        ASSERT_EQ(layer->CreateFeature(f.get()), OGRERR_NONE);
    }
    QFile::remove(dir.filePath("old.cpg"));
    const WorkData d = ImportAndCompose(shp, {"--encoding", "CP932"});
    ASSERT_EQ(d.names.size(), 1u);
    EXPECT_EQ(sjis::ToUnicode(d.names[0]), QStringLiteral("港区"));

    // Two polygon layers: the second by its name; a name that is not there is bad input.
    const QString gpkg = dir.filePath("two.gpkg");
    {
        GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("GPKG");
        GDALDatasetUniquePtr ds(drv->Create(gpkg.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr));
        for (const char* name : {"prefectures", "wards"}) {
            OGRLayer* layer = ds->CreateLayer(name, nullptr, wkbPolygon, nullptr);
            OGRFieldDefn field("NAME", OFTString);
            layer->CreateField(&field);
            for (int i = 0; i < (name[0] == 'w' ? 2 : 1); ++i) {
                OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
                f->SetField("NAME", name);
                OGRGeometry* g = nullptr;
                const QByteArray wkt = QStringLiteral("POLYGON((%1 0,%2 0,%2 8,%1 8,%1 0))")
                                           .arg(i * 10)
                                           .arg(i * 10 + 10)
                                           .toUtf8();
                OGRGeometryFactory::createFromWkt(wkt.constData(), nullptr, &g);
                f->SetGeometryDirectly(g);
                ASSERT_EQ(layer->CreateFeature(f.get()), OGRERR_NONE);
            }
        }
    }
    const WorkData w = ImportAndCompose(gpkg, {"--layer", "wards"});
    EXPECT_EQ(w.names.size(), 2u);
    const CliRun missing =
        Cli({"import", gpkg, "--layer", "towns", "-o", dir.filePath("none.vlm")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("wards")) << missing.err.toStdString();
}

TEST_F(Import, DataAcrossTheAntimeridianStaysInOneRange) {
    const QString in = WriteText(
        dir, "fiji.geojson",
        Collection({{"East", "[[[178,-18],[180,-18],[180,-16],[178,-16],[178,-18]]]"},
                    {"West", "[[[-180,-18],[-178,-18],[-178,-16],[-180,-16],[-180,-18]]]"}}));
    const WorkData d = ImportAndCompose(in, {"--size", "800,600"});
    // Four degrees by two, not a band round the globe.
    EXPECT_GT(d.mapHeight, 300);
    EXPECT_LT(d.mapWidth / double(d.mapHeight), 2.5);
    // The feature that moved is named, not the one that stayed.
    const QJsonArray shifted = Json(last)["shifted"].toArray();
    ASSERT_EQ(shifted.size(), 1);
    EXPECT_EQ(shifted[0].toObject()["name"].toString(), "West");
    EXPECT_TRUE(last.err.contains(QStringLiteral("1 個の地物の西経の座標を 360° 東へずらしました: West")))
        << last.err.toStdString();
}

TEST_F(Import, FeaturesOnOrInsideOthersAreNamedButAnEnclaveInAHoleIsNot) {
    const QString in = WriteText(
        dir, "overlaps.geojson",
        Collection({{"Big", "[[[0,0],[10,0],[10,10],[0,10],[0,0]]]"},
                    {"Inner", "[[[2,2],[4,2],[4,4],[2,4],[2,2]]]"},
                    // The same ring from another corner, the other way round.
                    {"Twin A", "[[[11,0],[15,0],[15,4],[11,4],[11,0]]]"},
                    {"Twin B", "[[[15,4],[11,4],[11,0],[15,0],[15,4]]]"},
                    {"Same", "[[[11,5],[15,5],[15,9],[11,9],[11,5]]]"},
                    {"Same", "[[[12,6],[16,6],[16,10],[12,10],[12,6]]]"},
                    // Touching only: two parts of one place are no duplicate.
                    {"Same", "[[[16,0],[18,0],[18,4],[16,4],[16,0]]]"},
                    {"Ring", "[[[20,0],[30,0],[30,10],[20,10],[20,0]],[[23,3],[27,3],[27,7],[23,7],[23,3]]]"},
                    {"Enclave", "[[[23,3],[27,3],[27,7],[23,7],[23,3]]]"}}));
    last = Cli({"import", in, "-o", dir.filePath("overlaps.vlm"), "--json"});
    ASSERT_EQ(last.code, 0) << last.err.toStdString();
    QStringList found;
    for (const QJsonValue& v : Json(last)["overlaps"].toArray()) {
        const QJsonObject o = v.toObject();
        found << QStringLiteral("%1 %2 %3").arg(o["kind"].toString(),
                                                o["first"].toObject()["name"].toString(),
                                                o["second"].toObject()["name"].toString());
    }
    EXPECT_EQ(found, QStringList({"inside Inner Big", "same-shape Twin A Twin B",
                                  "same-name Same Same"}));
    const QString notes = Json(last)["notes"].toVariant().toStringList().join('\n');
    EXPECT_TRUE(notes.contains(QStringLiteral("地物 1 (Inner) は地物 0 (Big) の中に重なっています")))
        << notes.toStdString();
    EXPECT_TRUE(notes.contains(QStringLiteral("地物 2 (Twin A) と地物 3 (Twin B) は同じ形です")));
    EXPECT_TRUE(notes.contains(QStringLiteral("地物 4 と地物 5 は同じ名前「Same」で重なっています")));
}

TEST_F(Import, OddGeometryIsNamedOrRefusedNeverTakenLiterally) {
    // A hole far outside its shell once wrapped the 16-bit coordinates; rings
    // of one or two points vanished without a word.
    const QString odd = WriteText(
        dir, "odd.geojson",
        Collection({{"Holed",
                     "[[[0,0],[10,0],[10,10],[0,10],[0,0]],[[5e4,5e4],[5e4,5.1e4],[5.1e4,5e4],"
                     "[5e4,5e4]],[[2,2],[3,2],[3,3],[2,2]]]"},
                    {"Next", "[[[10,0],[20,0],[20,10],[10,0]]]"},
                    {"Dot", "[[[3,3]]]"},
                    {"Stroke", "[[[3,3],[4,4]]]"}}));
    const WorkData d = ImportAndCompose(odd);
    EXPECT_EQ(d.names.size(), 2u);
    for (const Rec& p : d.points) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, d.mapWidth);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, d.mapHeight);
    }
    const QString notes = Json(last)["notes"].toVariant().toStringList().join('\n');
    EXPECT_TRUE(notes.contains(QStringLiteral("地物 0 (Holed): 外周の外にある穴 1 個")))
        << notes.toStdString();
    EXPECT_TRUE(notes.contains(QStringLiteral("(Dot): 点が 3 つに満たない輪 1 個")));
    EXPECT_TRUE(notes.contains(QStringLiteral("(Stroke): 点が 3 つに満たない輪 1 個")));

    // Coordinates no system on earth uses would leave an empty map or fail
    // deep in the noding: they are refused, naming the feature.
    const QString out = dir.filePath("huge.vlm");
    for (const char* far : {"[[[1e308,0],[1e308,1],[1.0000001e308,1],[1e308,0]]]",
                            "[[[1e308,0],[1e308,1],[-1e308,1],[1e308,0]]]"}) {
        const QString in = WriteText(dir, "huge.geojson",
                                     Collection({{"A", "[[[0,0],[1,0],[1,1],[0,0]]]"}, {"Far", far}}));
        const CliRun r = Cli({"import", in, "-o", out});
        EXPECT_EQ(r.code, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("地物 1 の座標 (1e+308) が大きすぎて")))
            << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST_F(Import, ALargeSourceIsRefusedBeforeAnythingIsBuiltAndGdalsOwnWordsAreKept) {
    // 40 features of 501 vertices each: 20,040 vertices, some 8 MB to import.
    std::vector<std::pair<QString, QByteArray>> cells;
    for (int i = 0; i < 40; ++i) {
        QByteArray ring = "[[";
        for (int k = 0; k <= 500; ++k) {
            const double a = 2 * M_PI * (k % 500) / 500;
            ring += (k ? "," : "") + QByteArray("[") + QByteArray::number(i * 3 + std::cos(a)) +
                    "," + QByteArray::number(std::sin(a)) + "]";
        }
        cells.push_back({QString("C%1").arg(i), ring + "]]"});
    }
    const QString in = WriteText(dir, "cells.geojson", Collection(cells));
    const QString out = dir.filePath("cells.vlm");
    const CliRun refused = Cli({"import", in, "-o", out, "--max-memory", "4"});
    EXPECT_EQ(refused.code, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("約 20040 個の点があり")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("上限の 4 MB")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--max-memory")));
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(Cli({"import", in, "-o", out}).code, 0);

    // GDAL names the limit that stopped it before its general "Failed to read".
    qputenv("OGR_GEOJSON_MAX_OBJ_SIZE", "0.01");
    const CliRun tooComplex = Cli({"import", in, "-o", dir.filePath("other.vlm")});
    qunsetenv("OGR_GEOJSON_MAX_OBJ_SIZE");
    EXPECT_EQ(tooComplex.code, 2);
    EXPECT_TRUE(tooComplex.err.contains("OGR_GEOJSON_MAX_OBJ_SIZE")) << tooComplex.err.toStdString();
}

TEST_F(Import, SimplifiedBordersStaySharedAndEveryPositionStillCloses) {
    // A 3 x 3 grid whose borders wander with fine noise on a broad wave.
    auto run = [](int line, int from, bool vertical) {
        std::vector<QPointF> pts;
        for (int k = 0; k <= 100; ++k) {
            const double t = from + k / 100.0;
            const double c =
                line + 0.03 * std::sin(t * 7 + line) + 0.002 * std::sin(t * 997 + line);
            pts.push_back(vertical ? QPointF(c, t) : QPointF(t, c));
        }
        return pts;
    };
    std::vector<std::pair<QString, QByteArray>> cells;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            // Along the bottom, up the right, back along the top, down the left.
            std::vector<QPointF> sides[4] = {run(j, i, false), run(i + 1, j, true),
                                             run(j + 1, i, false), run(i, j, true)};
            std::reverse(sides[2].begin(), sides[2].end());
            std::reverse(sides[3].begin(), sides[3].end());
            QByteArray ring = "[[" + QByteArray::number(sides[0][0].x(), 'g', 12) + "," +
                              QByteArray::number(sides[0][0].y(), 'g', 12) + "]";
            for (const auto& side : sides)
                for (size_t k = 1; k < side.size(); ++k)
                    ring += ",[" + QByteArray::number(side[k].x(), 'g', 12) + "," +
                            QByteArray::number(side[k].y(), 'g', 12) + "]";
            cells.push_back({QStringLiteral("C%1%2").arg(i).arg(j), "[" + ring + "]]"});
        }
    const QString in = WriteText(dir, "grid.geojson", Collection(cells));
    const WorkData plain = ImportAndCompose(in, {"--size", "800,800"});
    const int before = Json(last)["points"].toInt(), positions = Json(last)["positions"].toInt();
    const WorkData thin = ImportAndCompose(in, {"--size", "800,800", "--simplify", "1", "--force"});
    EXPECT_EQ(Json(last)["pointsBeforeSimplify"].toInt(), before);
    EXPECT_LT(Json(last)["points"].toInt() * 2, before);
    EXPECT_EQ(Json(last)["positions"].toInt(), positions);
    EXPECT_EQ(thin.positions, plain.positions);

    for (const char* bad : {"51", "-1", "one"}) {
        const CliRun r = Cli({"import", in, "-o", dir.filePath("bad.vlm"), "--simplify", bad});
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_TRUE(r.err.contains("--simplify")) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("bad.vlm")));
    }
}
