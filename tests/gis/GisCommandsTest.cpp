// The window's import and export commands through the scripted Ui: the
// editor opens what it imported, and an export writes the source
// coordinates back through the kept transform.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "GisSupport.h"
#include "editor/commands/GisCommands.h"
#include "raster/SurfaceBudget.h"
#include "support/FakeUi.h"
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
