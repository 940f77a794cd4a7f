// 基準点 on the real widgets: the last item of 作図 opens the table, a click
// on the view asks the coordinates in the small dialog, the table fills with
// the fit, and the marks are drawn over the view.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "AppFixture.h"
#include "app/ControlPointDialogs.h"
#include "app/MainWindow.h"
#include "app/SurfaceView.h"
#include "base/Messages.h"

TEST_F(AppTest, ControlPointsArePlacedOnTheViewAndListedWithTheirFit) {
    QMenu* draw = nullptr;
    for (QAction* a : Win().menuBar()->actions())
        if (a->text() == msg::Text(Msg::MenuDraw)) draw = a->menu();
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->actions().back(), Win().Action(Cmd::ControlPointMode));
    Win().Action(Cmd::ControlPointMode)->trigger();
    ControlPointTableDialog* table = app->ui.ControlPointList();
    ASSERT_TRUE(table->isVisible());
    EXPECT_TRUE(Win().Action(Cmd::ControlPointMode)->isChecked());

    const Surface& surf = app->ed.surf;
    const std::vector<uint8_t> before(surf.Data(),
                                      surf.Data() + size_t(surf.Width()) * surf.Height());
    // Three clicks, each answered in the coordinate dialog: plane zone IX metres.
    const QPoint at[] = {{40, 40}, {200, 50}, {120, 180}};
    for (QPoint p : at) {
        QTimer::singleShot(0, [p] {
            auto* d = qobject_cast<ControlPointDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->X()->setText(QString::number(-5000 + p.x() * 2));
            d->Y()->setText(QString::number(30000 - p.y() * 2));
            d->Crs()->setCurrentIndex(d->Crs()->findData(QStringLiteral("EPSG:6677")));
            d->accept();
        });
        QTest::mouseClick(Win().View(), Qt::LeftButton, {}, p);
    }
    const Store& st = app->ed.st;
    ASSERT_EQ(st.Geo.points.size(), 3u);
    EXPECT_EQ(st.Geo.crs, QStringLiteral("EPSG:6677"));
    EXPECT_TRUE(st.Geo.hasAffine);
    EXPECT_NEAR(st.Geo.affine[1], 2.0, 1e-9);
    ASSERT_EQ(table->Table()->rowCount(), 3);
    EXPECT_EQ(table->Table()->item(2, 2)->text(), QStringLiteral("120"));
    EXPECT_EQ(table->Table()->item(2, 6)->text(), QStringLiteral("0.000"));
    EXPECT_TRUE(table->Summary()->text().startsWith(QStringLiteral("RMS")));

    // The marks are over the view, not in the surface's pixels.
    QApplication::processEvents();
    const QImage shot = Win().View()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(at[1] + QPoint(6, 0))), QColor(255, 96, 0));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), surf.Data()));

    // Switched off in the table: the editor drops it from the fit.
    table->Table()->item(0, 0)->setCheckState(Qt::Unchecked);
    QApplication::processEvents();
    EXPECT_FALSE(st.Geo.points[0].enabled);
    EXPECT_FALSE(st.Geo.hasAffine);  // two points are too few
    EXPECT_TRUE(table->Summary()->text().contains(QStringLiteral("基準点が足りません")));
}

TEST_F(AppTest, TheMainWindowsKeysWorkWhileTheControlPointTableHasTheFocus) {
    for (const char* ext : {".vlm", ".bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/sample") + ext,
                                dir.filePath(QStringLiteral("sample") + ext)));
    app->OpenFromCommandLine(dir.filePath(QStringLiteral("sample.vlm")));
    Win().Action(Cmd::ControlPointMode)->trigger();
    ControlPointTableDialog* table = app->ui.ControlPointList();
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<ControlPointDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->X()->setText(QStringLiteral("135"));
        d->Y()->setText(QStringLiteral("35"));
        d->accept();
    });
    QTest::mouseClick(Win().View(), Qt::LeftButton, {}, QPoint(60, 60));
    const Store& st = app->ed.st;
    ASSERT_EQ(st.Geo.points.size(), 1u);
    ASSERT_TRUE(st.Modified);

    table->activateWindow();
    table->Table()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(table));
    QTest::keyClick(table->Table(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(st.Modified);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("sample.vlm.json"))));

    // In a cell being edited Ctrl+Z takes back the typing, not the point.
    table->Table()->setCurrentCell(0, 2);
    table->Table()->editItem(table->Table()->item(0, 2));
    auto* cell = table->Table()->findChild<QLineEdit*>();
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, "7");
    QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(st.Geo.points.size(), 1u);
    QTest::keyClick(cell, Qt::Key_Escape);
    QTest::keyClick(table->Table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(st.Geo.points.size(), 0u);
}
