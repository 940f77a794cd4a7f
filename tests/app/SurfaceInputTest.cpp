// Mouse events on the surface reach the editor in surface pixels, and what
// the editor answers (popups, read-out, placed messages) appears where it should.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/SurfaceView.h"

namespace {
QMessageBox* OpenBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}
}  // namespace

TEST_F(AppTest, ClicksOnTheScrolledSurfaceUseSurfacePixels) {
    Win().Flat()->horizontalScrollBar()->setValue(100);
    Win().Flat()->verticalScrollBar()->setValue(40);
    EXPECT_EQ(app->ui.ScrollPos(), QPoint(100, 40));
    SurfaceView* view = Win().View();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(140, 90));
    ASSERT_GE(app->ed.st.PointLast, 1);
    EXPECT_EQ(app->ed.st.PointX(app->ed.st.PointLast), 140);
    EXPECT_EQ(app->ed.st.PointY(app->ed.st.PointLast), 90);
    EXPECT_EQ(app->ui.ScreenToSurface(app->ui.SurfaceToScreen(QPoint(140, 90))), QPoint(140, 90));

    // The read-out follows the pointer.
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 34), view->mapToGlobal(QPointF(12, 34)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    EXPECT_EQ(Win().MouseXY()->text(), Editor::MouseReadout(12, 34));
}

TEST_F(AppTest, RightButtonOpensThePopupTheEditorAttached) {
    QMenu* popup = Win().PopupMenu(Popup::RButtonMenu);
    QTest::mousePress(Win().View(), Qt::RightButton, {}, QPoint(60, 70));
    EXPECT_EQ(Win().AttachedPopup(), Popup::RButtonMenu);
    EXPECT_FALSE(popup->isVisible());  // not before the button comes up
    QTest::mouseRelease(Win().View(), Qt::RightButton, {}, QPoint(60, 70));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(), Win().View()->mapToGlobal(QPoint(60, 70)));
    popup->hide();

    // A left button coming up opens nothing.
    QTest::mouseClick(Win().View(), Qt::LeftButton, {}, QPoint(80, 70));
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(AppTest, CompositionErrorsSitAtTheCornerOfTheVisibleDrawing) {
    Win().Flat()->verticalScrollBar()->setValue(200);
    QPoint at;
    QString text;
    QTimer::singleShot(0, [&] {
        if (QMessageBox* box = OpenBox()) {
            at = box->pos();
            text = box->text();
            box->accept();
        }
    });
    app->ui.ComposeMessage(QStringLiteral("boundary open"));
    EXPECT_EQ(text, QStringLiteral("boundary open"));
    EXPECT_EQ(at, Win().Flat()->viewport()->mapToGlobal(QPoint(0, 0)));
}

TEST_F(AppTest, ProgressBarShowsAtThePanelsRightEnd) {
    Win().resize(900, 500);
    app->ui.ShowProgress(true);
    app->ui.SetProgress(40);
    QProgressBar* bar = Win().ProgressBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().right() + 1, Win().ToolPanel()->width() - 8);
    app->ui.ShowProgress(false);
    EXPECT_FALSE(bar->isVisible());
}
