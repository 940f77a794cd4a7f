// The window's import and export commands through the scripted Ui: the
// editor opens what it imported, and an export writes the source
// coordinates back through the kept transform.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "GisSupport.h"
#include "editor/commands/GisCommands.h"
#include "gis/SourceLook.h"
#include "raster/SurfaceBudget.h"
#include "support/FakeUi.h"
#include "text/ShiftJis.h"
#include "usecases/ImportExport.h"

using namespace gistest;

TEST(GisCommands, ImportOpensTheWorkAndExportGoesBackToLongitudes) {
    TestEditor t(800, 600);
    const QString in = WriteText(
        *t.dir, "towns.geojson",
        Collection({
            {"北町",
             "[[[139.70,35.70],[139.80,35.70],[139.80,35.75],[139.70,35.75],[139.70,35.70]]]"},
            {"南町",
             "[[[139.70,35.65],[139.80,35.65],[139.80,35.70],[139.70,35.70],[139.70,35.65]]]"},
        }));
    const QString bad = WriteText(*t.dir, "bad.geojson", "not json");

    // Bad data: a message, and the editor keeps what it had.
    t.ui.files = {bad, t.Path("bad.vlm")};
    gis::ImportBoundariesCommand(t.ed);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().icon, MsgIcon::Error);
    EXPECT_TRUE(t.ui.LastText().contains(bad));
    EXPECT_FALSE(QFileInfo::exists(t.Path("bad.vlm")));

    // Imported over a work, as one step back to it.
    t.Chain({{5, 5}, {50, 5}, {50, 50}});
    const std::vector<Rec> before = t.Points();
    t.ui.files = {in, t.Path("towns.vlm")};
    t.ui.answers = {true};  // let the unsaved lines go
    t.ed.Run([&] { gis::ImportBoundariesCommand(t.ed); });
    ASSERT_EQ(t.ed.st.AreaCount, 2);
    ASSERT_TRUE(t.ui.Enabled(Cmd::Undo));
    t.ed.Command(Cmd::Undo);
    EXPECT_EQ(t.Points(), before);
    EXPECT_EQ(t.ed.st.AreaCount, 0);
    t.ed.Command(Cmd::Redo);
    ASSERT_EQ(t.ed.st.AreaCount, 2);
    EXPECT_EQ(t.ed.st.WorkFileName, t.Path("towns.vlm"));
    EXPECT_LE(t.ed.st.MapWidth, 800);  // fitted to the surface
    EXPECT_FALSE(t.ed.st.Completed);

    const QString out = t.Path("towns-out.geojson");
    t.ui.files = {out};
    gis::ExportMapCommand(t.ed);
    EXPECT_TRUE(t.ed.st.Completed);  // composed on the way
    EXPECT_TRUE(t.ui.status.contains(out)) << t.ui.status.toStdString();
    GDALAllRegister();
    GDALDatasetUniquePtr ds(GDALDataset::Open(out.toUtf8(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGRLayer* layer = ds->GetLayer(0);
    ASSERT_EQ(layer->GetFeatureCount(), 2);
    OGREnvelope box;
    ASSERT_EQ(layer->GetExtent(&box), OGRERR_NONE);
    // Within a pixel or two of the source's extent.
    EXPECT_NEAR(box.MinX, 139.70, 0.002);
    EXPECT_NEAR(box.MaxX, 139.80, 0.002);
    EXPECT_NEAR(box.MinY, 35.65, 0.002);
    EXPECT_NEAR(box.MaxY, 35.75, 0.002);
    OGRFeatureUniquePtr f(layer->GetNextFeature());
    EXPECT_EQ(QString::fromUtf8(f->GetFieldAsString("name")), QStringLiteral("北町"));

    // A PNG is drawn whole in memory first: beyond the budget, asked first.
    SurfaceBudget& budget = CurrentSurfaceBudget();
    const SurfaceBudget kept = budget;
    budget.bytes = 1 << 20;
    const QString png = t.Path("towns.png");
    t.ui.files = {png};
    t.ui.answers = {false};
    gis::ExportMapCommand(t.ed);
    budget = kept;
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);
    EXPECT_TRUE(
        t.ui.LastText().contains(QString("%1 x %2").arg(t.ed.st.MapWidth).arg(t.ed.st.MapHeight)));
    EXPECT_FALSE(QFileInfo::exists(png));
}

TEST(GisCommands, TheUseCasesNameWhatTheyWroteAndWhyNot) {
    TestEditor t(800, 600);
    const QString in =
        WriteText(*t.dir, "a.geojson", Collection({{"A", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"}}));
    const gis::ImportOptions options;
    const usecase::ImportOutcome bad = usecase::ImportBoundaries(
        WriteText(*t.dir, "bad.geojson", "not json"), t.Path("bad.vlm"), options);
    EXPECT_TRUE(!bad.result.ok && bad.badInput);
    EXPECT_EQ(bad.result.message.caption, Msg::CapImportBoundaries);
    const usecase::ImportOutcome unwritable =
        usecase::ImportBoundaries(in, t.Path("none/a.vlm"), options);
    EXPECT_TRUE(!unwritable.result.ok && !unwritable.badInput);
    const QString work = t.Path("a.vlm");
    const usecase::ImportOutcome imported = usecase::ImportBoundaries(in, work, options);
    ASSERT_TRUE(imported.result.ok);
    EXPECT_EQ(imported.result.written, (QStringList{work, work + ".json"}));

    EXPECT_EQ(usecase::ExportTarget(t.Path("a.txt")).message.id, Msg::ExportExtensionBad);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(work));
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed);
    // The transform kept beside the work file gives the source coordinates.
    const usecase::ExportOutcome back = usecase::ExportMap(t.st(), work, t.Path("a.geojson"));
    ASSERT_TRUE(back.result.ok);
    EXPECT_EQ(back.result.written, QStringList{t.Path("a.geojson")});
    EXPECT_TRUE(back.sourceCoordinates);
    // The work's georeference decides, not a file beside it.
    Store plain = t.st();
    plain.Geo = {};
    EXPECT_FALSE(usecase::ExportMap(plain, work, t.Path("b.geojson")).sourceCoordinates);
}

TEST(GisCommands, AnImportBeyondTheBudgetIsAskedAboutFirst) {
    TestEditor t(800, 600);
    const QString in =
        WriteText(*t.dir, "a.geojson", Collection({{"A", "[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"}}));
    SurfaceBudget& budget = CurrentSurfaceBudget();
    const SurfaceBudget kept = budget;
    budget.bytes = 1000;  // less than five vertices take
    t.ui.files = {in, t.Path("a.vlm")};
    t.ui.answers = {false};
    gis::ImportBoundariesCommand(t.ed);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);
    EXPECT_TRUE(t.ui.LastText().startsWith(QStringLiteral("約 5 個の点があり")))
        << t.ui.LastText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(t.Path("a.vlm")));
    t.ui.files = {in, t.Path("a.vlm")};
    t.ui.answers = {true};
    gis::ImportBoundariesCommand(t.ed);
    budget = kept;
    EXPECT_EQ(t.ed.st.AreaCount, 1);
}

namespace {

// A polygon layer of squares in a row, each with its NAME and CODE.
void AddSquares(GDALDataset& ds, const char* layerName, const std::vector<std::string>& names,
                char** options = nullptr) {
    OGRLayer* layer = ds.CreateLayer(layerName, nullptr, wkbPolygon, options);
    OGRFieldDefn name("NAME", OFTString), code("CODE", OFTString);
    layer->CreateField(&name);
    layer->CreateField(&code);
    for (size_t i = 0; i < names.size(); ++i) {
        OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        f->SetField("NAME", names[i].c_str());
        f->SetField("CODE", QByteArray::number(int(100 + i)).constData());
        OGRGeometry* g = nullptr;
        const QByteArray wkt =
            QStringLiteral("POLYGON((%1 0,%2 0,%2 8,%1 8,%1 0))").arg(i * 10).arg(i * 10 + 10).toUtf8();
        OGRGeometryFactory::createFromWkt(wkt.constData(), nullptr, &g);
        f->SetGeometryDirectly(g);
        EXPECT_EQ(layer->CreateFeature(f.get()), OGRERR_NONE);
    }
}

GDALDatasetUniquePtr Create(const char* driver, const QString& path) {
    GDALAllRegister();
    return GDALDatasetUniquePtr(GetGDALDriverManager()->GetDriverByName(driver)->Create(
        path.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr));
}

QString Preview(const ImportFields& f, const QString& attribute) {
    for (const ImportAttribute& a : f.attributes)
        if (a.name == attribute) return a.preview.join(u',');
    return QStringLiteral("(none)");
}

}  // namespace

TEST(GisCommands, TheImportDialogsChoicesReachTheImportAndCancelChangesNothing) {
    TestEditor t(800, 600);
    const QString gpkg = t.Path("two.gpkg");
    {
        GDALDatasetUniquePtr ds = Create("GPKG", gpkg);
        AddSquares(*ds, "prefectures", {"Kanto"});
        AddSquares(*ds, "wards", {"Chuo", "Minato", "Shinjuku"});
    }
    // Cancelled: no work file asked for, nothing written, the map as it was.
    t.Chain({{5, 5}, {50, 5}});
    const std::vector<Rec> before = t.Points();
    t.ui.files = {gpkg, t.Path("two.vlm")};
    t.ui.onImportDialog = [](ImportFields&) { return false; };
    t.ed.Run([&] { gis::ImportBoundariesCommand(t.ed); });
    EXPECT_EQ(t.ui.importDialogs, 1);
    EXPECT_EQ(t.ui.files.size(), 1u);
    EXPECT_EQ(t.Points(), before);
    EXPECT_FALSE(QFileInfo::exists(t.Path("two.vlm")));

    // Proposed: the first layer, its first text attribute, the surface's
    // size; another layer chosen shows its own first values.
    t.ui.files = {gpkg, t.Path("two.vlm")};
    t.ui.answers = {true};
    t.ui.onImportDialog = [](ImportFields& f) {
        EXPECT_EQ(f.layers, (QStringList{"prefectures", "wards"}));
        EXPECT_EQ(f.layer, "prefectures");
        EXPECT_EQ(f.nameField, "NAME");
        EXPECT_EQ(Preview(f, "NAME"), "Kanto");
        EXPECT_TRUE(f.encodings.isEmpty());  // a GeoPackage says its own
        EXPECT_EQ(QSize(f.width, f.height), QSize(800, 600));
        f.layer = "wards";
        f.refresh(f);
        EXPECT_EQ(Preview(f, "NAME"), "Chuo,Minato,Shinjuku");
        EXPECT_EQ(Preview(f, "CODE"), "100,101,102");
        f.nameField = "CODE";
        f.width = 400, f.height = 300;
        f.simplify = 1;
        return true;
    };
    t.ed.Run([&] { gis::ImportBoundariesCommand(t.ed); });
    ASSERT_EQ(t.st().AreaCount, 3);
    EXPECT_EQ(std::string(t.st().AreaName(2)), "101");
    EXPECT_LE(t.st().MapWidth, 400);
    EXPECT_TRUE(t.ui.reportHeadline.contains(QStringLiteral("レイヤー「wards」、名前の属性「CODE」")))
        << t.ui.reportHeadline.toStdString();
    EXPECT_TRUE(t.ui.status.contains(QStringLiteral("区域 3")));
}

TEST(GisCommands, ACp932ShapefileWithoutCpgIsReadAsItsBytesSuggest) {
    TestEditor t(800, 600);
    const QString shp = t.Path("old.shp");
    {
        GDALDatasetUniquePtr ds = Create("ESRI Shapefile", shp);
        const char* raw[] = {"ENCODING=", nullptr};  // the bytes as given, no .cpg
        AddSquares(*ds, "old",
                   {sjis::FromUnicode(QStringLiteral("港区")),
                    sjis::FromUnicode(QStringLiteral("中央区"))},
                   const_cast<char**>(raw));
    }
    QFile::remove(t.Path("old.cpg"));
    t.ui.files = {shp, t.Path("old.vlm")};
    t.ui.answers = {true};
    t.ui.onImportDialog = [](ImportFields& f) {
        EXPECT_EQ(f.encodingFound, "CP932");
        EXPECT_EQ(f.encoding, "CP932");
        EXPECT_TRUE(f.encodings.contains("UTF-8"));
        EXPECT_EQ(Preview(f, "NAME"), QStringLiteral("港区,中央区"));
        // The preview follows the encoding chosen.
        f.encoding = "ISO-8859-1";
        f.refresh(f);
        EXPECT_NE(Preview(f, "NAME"), QStringLiteral("港区,中央区"));
        EXPECT_EQ(f.encodingFound, "CP932");
        f.encoding = "CP932";
        f.refresh(f);
        return true;
    };
    t.ed.Run([&] { gis::ImportBoundariesCommand(t.ed); });
    ASSERT_EQ(t.st().AreaCount, 2);
    EXPECT_EQ(sjis::ToUnicode(t.st().AreaName(1)), QStringLiteral("港区"));
    EXPECT_EQ(t.ui.reportLines, QStringList());

    // A .cpg, when there is one, is believed before the bytes.
    WriteText(*t.dir, "old.cpg", "1252");
    ImportFields f;
    gis::LookAtSource(shp, f);
    EXPECT_EQ(f.encodingFound, "CP1252");
    EXPECT_EQ(f.encoding, "CP1252");
}

TEST(GisCommands, TheImportSummaryNamesShiftedAndNestedFeatures) {
    TestEditor t(800, 600);
    const QString in = WriteText(
        *t.dir, "islands.geojson",
        Collection({{"East", "[[[178,-18],[180,-18],[180,-16],[178,-16],[178,-18]]]"},
                    {"West", "[[[-180,-18],[-178,-18],[-178,-16],[-180,-16],[-180,-18]]]"},
                    {"Atoll", "[[[179,-17.5],[179.5,-17.5],[179.5,-17],[179,-17],[179,-17.5]]]"}}));
    t.ui.files = {in, t.Path("islands.vlm")};
    gis::ImportBoundariesCommand(t.ed);
    ASSERT_EQ(t.ed.st.AreaCount, 3);
    const QString shown = t.ui.reportLines.join(u'\n');
    EXPECT_TRUE(shown.contains(QStringLiteral("1 個の地物の西経の座標を 360° 東へずらしました: West")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("地物 2 (Atoll) は地物 0 (East) の中に重なっています")));
}
