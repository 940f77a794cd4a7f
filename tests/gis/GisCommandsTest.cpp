// The window's import and export commands through the scripted Ui: the
// editor opens what it imported, and an export writes the source
// coordinates back through the kept transform.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "GisSupport.h"
#include "gis/GisCommands.h"
#include "support/FakeUi.h"

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

    t.ui.files = {in, t.Path("towns.vlm")};
    gis::ImportBoundariesCommand(t.ed);
    ASSERT_EQ(t.ed.st.AreaCount, 2);
    EXPECT_EQ(t.ed.st.WorkFileName, t.Path("towns.vlm"));
    EXPECT_LE(t.ed.st.MapWidth, 800);  // fitted to the surface
    EXPECT_FALSE(t.ed.st.Completed);

    const QString out = t.Path("towns-out.geojson");
    t.ui.files = {out};
    gis::ExportMapCommand(t.ed);
    EXPECT_TRUE(t.ed.st.Completed);  // composed on the way
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
}
