// 全区域の点検 in the window: the menu opens the list, a chosen row shows its
// region red where the view has scrolled to, and closing takes the mark back.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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
    ReDraw(app->ed.bench);
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
    EXPECT_EQ(west->text(4), QStringLiteral("(1450,1050)"));  // its own position

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

TEST_F(AppTest, TheRepairButtonsMendTheChosenRowOrEveryRowOfItsKindEachOneUndoStep) {
    // Two pairs of rooms whose walls stop 2 px above the floor: four rows,
    // each pair sharing its region.
    EditMap(app->ed, [](Store& s_) {
        for (int x0 : {100, 300}) {
            AddChain(s_, {{x0, 100},
                          {x0 + 50, 100},
                          {x0 + 100, 100},
                          {x0 + 100, 150},
                          {x0 + 50, 150},
                          {x0, 150},
                          {x0, 100}});
            AddChain(s_, {{x0 + 50, 100}, {x0 + 50, 148}});
        }
        AddArea(s_, "一", {{125, 125}});
        AddArea(s_, "二", {{175, 125}});
        AddArea(s_, "三", {{325, 125}});
        AddArea(s_, "四", {{375, 125}});
    });
    ReDraw(app->ed.bench);
    const std::vector<Rec> broken = app->ed.st.PointsToVector();
    // Each repair says what it did in a box, and the last check that all
    // closes says so too.
    QStringList said;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                said << box->text();
                box->accept();
            }
    });
    closer.start(10);
    auto areas = [](QTreeWidget* list) {
        std::vector<int> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.push_back(list->topLevelItem(i)->text(0).toInt());
        return out;
    };

    Win().Action(Cmd::CheckAreas)->trigger();
    ProblemListDialog* dlg = app->ui.Problems();
    QTreeWidget* list = dlg->List();
    ASSERT_EQ(areas(list), (std::vector<int>{1, 2, 3, 4}));
    auto* repair = dlg->findChild<QPushButton*>(QStringLiteral("RepairButton"));
    auto* repairAll = dlg->findChild<QPushButton*>(QStringLiteral("RepairAllButton"));
    ASSERT_TRUE(repair && repairAll);
    EXPECT_FALSE(repair->isEnabled());  // nothing chosen yet

    list->setCurrentItem(list->topLevelItem(0));
    QApplication::processEvents();
    ASSERT_TRUE(repair->isEnabled());
    repair->click();
    QApplication::processEvents();
    // The first pair mended, the list checked again.
    EXPECT_EQ(areas(list), (std::vector<int>{3, 4}));
    EXPECT_TRUE(dlg->isVisible());
    const std::vector<Rec> one = app->ed.st.PointsToVector();
    EXPECT_NE(one, broken);

    list->setCurrentItem(list->topLevelItem(1));
    QApplication::processEvents();
    repairAll->click();
    QApplication::processEvents();
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.last().endsWith(QString::fromUtf8("どの区域の境界線も閉じています。")))
        << said.last().toStdString();

    // One step each.
    Win().Action(Cmd::Undo)->trigger();
    EXPECT_EQ(app->ed.st.PointsToVector(), one);
    Win().Action(Cmd::Undo)->trigger();
    EXPECT_EQ(app->ed.st.PointsToVector(), broken);
    closer.stop();
}

TEST_F(AppTest, TheTracedEdgesListSaysItsOwnSummaryWithNothingToRepair) {
    const std::vector<CheckRow> rows{
        {1, 0, QString(), QStringLiteral("r"), QStringLiteral("r (5, 5)"), QPoint(5, 5)}};
    app->ui.CheckListShow(rows, QStringLiteral("summary"));
    ProblemListDialog* dlg = app->ui.Problems();
    auto* repair = dlg->findChild<QPushButton*>(QStringLiteral("RepairButton"));
    ASSERT_NE(repair, nullptr);
    EXPECT_EQ(dlg->Message()->text(), QStringLiteral("summary"));
    EXPECT_TRUE(dlg->List()->isColumnHidden(2));
    EXPECT_FALSE(repair->isVisibleTo(dlg));
    app->ui.CheckListShow(rows, QString());  // the check's own list again
    EXPECT_FALSE(dlg->List()->isColumnHidden(2));
    EXPECT_TRUE(repair->isVisibleTo(dlg));
    dlg->close();
}
