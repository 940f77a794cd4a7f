// 基準点 in the window, through the scripted Ui: points placed by clicks and
// dragged, their fit in the table, each change one undo step, and the
// georeference they make carried into the saved work and the export.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "GisSupport.h"
#include "editor/commands/ControlPoints.h"
#include "editor/tools/Tools.h"
#include "editor/commands/GisCommands.h"
#include "support/FakeUi.h"
#include "usecases/GeoReference.h"

using namespace gistest;

namespace {

// The known transform the points are given by: JGD2011 longitude and latitude.
QPointF Known(double px, double py) {
    return {138.5 + px * 0.0005, 36.2 - py * 0.0004};
}

ControlPointFields Answer(QPointF ground, const QString& crs = QStringLiteral("EPSG:6668")) {
    ControlPointFields f;
    f.x = QString::number(ground.x(), 'g', 12);
    f.y = QString::number(ground.y(), 'g', 12);
    f.crs = crs;
    return f;
}

void Click(TestEditor& t, int x, int y) {
    t.ed.MouseDown(Qt::LeftButton, x, y);
    t.ed.MouseUp(Qt::LeftButton, x, y);
}

}  // namespace

TEST(ControlPointMode, ClicksPlacePointsTheTableShowsTheFitAndEachChangeIsOneStep) {
    TestEditor t(800, 600);
    t.ed.controlPoints->backend = usecase::GdalGeoRefBackend();
    t.ed.Command(Cmd::ControlPointMode);
    EXPECT_EQ(t.st().Mode, Mode::ControlPoints);
    EXPECT_TRUE(t.ui.Checked(Cmd::ControlPointMode));
    EXPECT_FALSE(t.ui.Checked(Cmd::BuildMode));
    ASSERT_TRUE(t.ui.controlTable.open);
    EXPECT_EQ(t.ui.controlTable.summary, msg::Text(Msg::ControlPointsEmpty));

    // Bad answers are refused with their reason and asked again; a cancel adds nothing.
    t.ui.controlPointAnswers = {Answer({1, 1}), Answer({139, 95}),
                                Answer({139, 35}, QStringLiteral("EPSG:999999")),
                                Answer(Known(100, 80))};
    t.ui.controlPointAnswers.front().x = QStringLiteral("東経");
    Click(t, 100, 80);
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[0].text, msg::Text(Msg::ControlPointNotNumber));
    EXPECT_EQ(t.ui.messages[1].text, msg::Text(Msg::ControlPointLatitude));
    EXPECT_EQ(t.ui.messages[2].text, msg::Format(Msg::GeoRefCrsUnknown, {"EPSG:999999"}));
    Click(t, 300, 300);  // cancelled
    ASSERT_EQ(t.st().Geo.points.size(), 1u);
    EXPECT_EQ(t.ui.controlPointAsked.crs, QStringLiteral("EPSG:6668"));  // the work's system now
    EXPECT_FALSE(t.st().Geo.hasAffine);
    EXPECT_TRUE(t.ui.controlTable.summary.contains(QStringLiteral("基準点が足りません")));

    // Collinear points give no fit; a fourth off the line does.
    for (QPoint p : {QPoint(400, 80), QPoint(700, 80), QPoint(650, 500), QPoint(150, 450)}) {
        t.ui.controlPointAnswers = {Answer(Known(p.x(), p.y()))};
        Click(t, p.x(), p.y());
        if (p.x() == 700) {
            EXPECT_EQ(t.ui.controlTable.summary, msg::Text(Msg::GeoRefCollinear));
            EXPECT_FALSE(t.st().Geo.hasAffine);
        }
    }
    ASSERT_EQ(t.st().Geo.points.size(), 5u);
    ASSERT_TRUE(t.st().Geo.hasAffine);
    EXPECT_EQ(t.st().Geo.crs, QStringLiteral("EPSG:6668"));
    EXPECT_FALSE(t.st().Geo.wkt.isEmpty());
    const auto& a = t.st().Geo.affine;
    EXPECT_NEAR(a[0], 138.5, 1e-9);
    EXPECT_NEAR(a[1], 0.0005, 1e-12);
    EXPECT_NEAR(a[5], -0.0004, 1e-12);
    ASSERT_EQ(t.ui.controlTable.rows.size(), 5u);
    for (const ControlPointRow& r : t.ui.controlTable.rows) {
        EXPECT_TRUE(r.fitted && r.leftOut);
        EXPECT_LT(r.residualPx, 1e-6);
        EXPECT_LT(r.leaveOneOutPx, 1e-6);
    }
    EXPECT_TRUE(t.ui.controlTable.summary.startsWith(QStringLiteral("RMS 0.000")));

    // A drag moves a point by as far as the pointer went, as one step; its
    // residual shows, and undo puts it back.
    const int marks = t.ui.controlMarksChanged;
    t.ed.MouseDown(Qt::LeftButton, 652, 503);  // within reach of point 4 (650,500)
    t.ed.MouseMove(660, 510);
    EXPECT_GT(t.ui.controlMarksChanged, marks);
    EXPECT_EQ(t.ed.modes.tools->controlPoints.ShownAt(3, {650, 500}), QPointF(658, 507));
    t.ed.MouseUp(Qt::LeftButton, 672, 523);
    EXPECT_EQ(t.ui.controlPointDialogs, 9);  // no dialog for a drag
    EXPECT_EQ(t.st().Geo.points[3].px, 670);
    EXPECT_EQ(t.st().Geo.points[3].py, 520);
    EXPECT_GT(t.ui.controlTable.rows[3].residualPx, 1);
    t.ed.Command(Cmd::Undo);
    EXPECT_EQ(t.st().Geo.points[3].px, 650);
    EXPECT_LT(t.ui.controlTable.rows[3].residualPx, 1e-6);  // the table follows undo

    // Switched off, renumbered, removed, another transform: one step each.
    t.ed.controlPoints->Switch(0, false);
    EXPECT_FALSE(t.st().Geo.points[0].enabled);
    EXPECT_FALSE(t.ui.controlTable.rows[0].enabled);
    EXPECT_FALSE(t.ui.controlTable.rows[0].fitted && t.ui.controlTable.rows[0].leftOut);
    t.ed.controlPoints->SetNumbers(1, 401, 80, Known(400, 80).x(), Known(400, 80).y());
    EXPECT_EQ(t.st().Geo.points[1].px, 401);
    t.ed.controlPoints->SetMethod(georef::Method::Poly2);  // 4 enabled points are too few
    EXPECT_FALSE(t.st().Geo.hasAffine);
    EXPECT_EQ(t.ui.controlTable.method, int(georef::Method::Poly2));
    t.ed.controlPoints->Remove(4);
    EXPECT_EQ(t.st().Geo.points.size(), 4u);
    for (int i = 0; i < 4; ++i) t.ed.Command(Cmd::Undo);
    EXPECT_EQ(t.st().Geo.points.size(), 5u);
    EXPECT_TRUE(t.st().Geo.points[0].enabled);
    EXPECT_EQ(t.st().Geo.points[1].px, 400);
    EXPECT_EQ(t.st().Geo.method, georef::Method::Affine);
    EXPECT_TRUE(t.st().Geo.hasAffine);

    // A right click asks a point's coordinates again.
    t.ui.controlPointAnswers = {Answer(Known(100, 90))};
    t.ed.MouseDown(Qt::RightButton, 101, 81);
    t.ed.MouseUp(Qt::RightButton, 101, 81);
    EXPECT_EQ(t.ui.controlPointAsked.x, QString::number(Known(100, 80).x(), 'g', 12));
    EXPECT_DOUBLE_EQ(t.st().Geo.points[0].y, Known(100, 90).y());
}

TEST(ControlPointMode, AWorkGeoreferencedInTheWindowSavesAndExportsRealCoordinates) {
    TestEditor t(800, 600);
    t.ed.controlPoints->backend = usecase::GdalGeoRefBackend();
    t.Chain({{100, 100}, {500, 100}, {500, 400}, {100, 400}, {100, 100}});
    t.Edit([](Store& s) {
        s.AreaCount = 1;
        s.SetAreaName(1, "A");
        s.AreaPos(0, 1) = Rec{300, 250};
        s.AreaPos(1, 1) = Rec{0, 0};
        s.MapWidth = 800;
        s.MapHeight = 600;
    });
    t.ed.Command(Cmd::ControlPointMode);
    for (QPoint p : {QPoint(50, 50), QPoint(700, 60), QPoint(650, 550), QPoint(80, 500)}) {
        t.ui.controlPointAnswers = {Answer(Known(p.x(), p.y()))};
        Click(t, p.x(), p.y());
    }
    ASSERT_TRUE(t.st().Geo.hasAffine);

    t.ui.files = {t.Path("scan.vlm")};
    t.ed.Command(Cmd::SaveWork);
    TestEditor back(800, 600);
    ASSERT_TRUE(back.ed.files.LoadWorkFile(t.Path("scan.vlm")));
    EXPECT_EQ(back.st().Geo, t.st().Geo);

    const QString out = t.Path("scan.geojson");
    t.ui.files = {out};
    gis::ExportMapCommand(t.ed);
    GDALAllRegister();
    GDALDatasetUniquePtr ds(GDALDataset::Open(out.toUtf8(), GDAL_OF_VECTOR));
    ASSERT_TRUE(ds);
    OGREnvelope box;
    ASSERT_EQ(ds->GetLayer(0)->GetExtent(&box), OGRERR_NONE);
    EXPECT_NEAR(box.MinX, Known(100, 0).x(), 1e-6);
    EXPECT_NEAR(box.MaxX, Known(500, 0).x(), 1e-6);
    EXPECT_NEAR(box.MinY, Known(0, 400).y(), 1e-6);
    EXPECT_NEAR(box.MaxY, Known(0, 100).y(), 1e-6);
}
