// 全区域の点検 in the window: the menu opens the list, a chosen row shows its
// region red where the view has scrolled to, and closing takes the mark back.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

#include "AppFixture.h"
#include "app/MainWindow.h"
#include "app/ProblemListDialog.h"
#include "app/QtUi.h"
#include "app/SurfaceView.h"
#include "compose/ComposeSupport.h"

using namespace ctest;

TEST_F(AppTest, TheProblemListOpensFromTheMenuAndMarksTheChosenArea) {
    const Store& st = app->ed.st;
    // Two rooms far from the top-left corner, their wall with a gap.
    EditMap(app->ed, [](Store& s_) {
        AddChain(s_, {{1400, 1000},
                      {1500, 1000},
                      {1600, 1000},
                      {1600, 1100},
                      {1500, 1100},
                      {1400, 1100},
                      {1400, 1000}});
    });
    EditMap(app->ed, [&](Store& s_) {
        AddChain(s_, {{1500, 1000}, {1500, 1080}});
        AddArea(s_, "東", {{1550, 1050}});
        AddArea(s_, "西", {{1450, 1050}});
    });
    app->ed.ReDraw();
    QApplication::processEvents();
    const QPoint scrolled = app->ui.ScrollPos();

    Win().Action(Cmd::CheckAreas)->trigger();
    ProblemListDialog* dlg = app->ui.Problems();
    ASSERT_TRUE(dlg->isVisible());
    QTreeWidget* list = dlg->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* west = list->topLevelItem(1);
    EXPECT_EQ(west->text(1), QString::fromUtf8("西"));
    EXPECT_EQ(west->text(3), QString::fromUtf8("区域(東)と同じ領域"));
    EXPECT_EQ(west->text(4), QStringLiteral("(1550,1050)"));

    list->setCurrentItem(west);
    QApplication::processEvents();
    EXPECT_NE(app->ui.ScrollPos(), scrolled);
    const QImage shown = Win().View()->grab(QRect(1450, 1050, 1, 1)).toImage();
    EXPECT_EQ(shown.pixel(0, 0), PaletteRgb(Red));
    EXPECT_TRUE(dlg->Message()->text().contains(QString::fromUtf8("間の境界線が途切れています")));

    dlg->close();
    EXPECT_EQ(app->ed.surf.Pixel(1450, 1050), Black);
    EXPECT_FALSE(st.Modified);

    // The line mended after a check: choosing a row checks again, and with
    // nothing left to list the dialog goes and a box says so.
    Win().Action(Cmd::CheckAreas)->trigger();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EditMap(app->ed, [&](Store& s_) { AddChain(s_, {{1500, 1080}, {1500, 1100}}); });
    QString said;
    QTimer closer;  // the box opens once the queued choice reaches the editor
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                said = box->text();
                box->accept();
                closer.stop();
            }
    });
    closer.start(10);
    list->setCurrentItem(list->topLevelItem(0));
    QApplication::processEvents();
    EXPECT_TRUE(said.endsWith(QString::fromUtf8("どの区域の境界線も閉じています。")))
        << said.toStdString();
    EXPECT_FALSE(dlg->isVisible());
}
