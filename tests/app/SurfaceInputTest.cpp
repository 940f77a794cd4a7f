// Mouse events on the surface reach the editor in surface pixels, and what
// the editor answers (popups, read-out, placed messages) appears where it should.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/SurfaceView.h"
#include "text/ShiftJis.h"

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
    EXPECT_EQ(Win().MouseXY()->text(), Canvas::MouseReadout(12, 34));
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

TEST_F(AppTest, WindowBoundsFromAScreenNoLongerThereAreBroughtBack) {
    app->ui.SetWindowBounds(QRect(40, 50, 500, 400), false);
    EXPECT_EQ(Win().pos(), QPoint(40, 50));
    EXPECT_EQ(Win().size(), QSize(500, 400));
    app->ui.SetWindowBounds(QRect(9000, 7000, 500, 400), false);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(Win().pos(), avail.topLeft() + QPoint(190, 100));
    EXPECT_EQ(Win().size(), QSize(500, 400));
}

namespace {
// Records the surface's colour at a pixel each time the view paints it: what
// the screen shows there.
struct PaintWatch : QObject {
    PaintWatch(const Surface& s, QPoint p) : surf(s), at(p) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && static_cast<QPaintEvent*>(e)->rect().contains(at))
            shown = surf.Pixel(at.x(), at.y());
        return false;
    }
    const Surface& surf;
    QPoint at;
    int shown = -1;
};
}  // namespace

TEST_F(AppTest, AFailedCompositionShowsItsRedRegionWhileTheMessageIsOpen) {
    Win().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Win()));
    for (auto [x, y] : {std::pair{10, 15}, {10, 60}, {110, 60}, {110, 10}, {10, 10}})
        EditMap(app->ed, [&](Store& s_) { s_.AppendPoint(int16_t(x), int16_t(y)); });
    EditMap(app->ed, [&](Store& s_) {
        s_.AppendPoint(0, 0);
        s_.AreaCount = 1;
        s_.SetAreaName(1, sjis::FromUnicode(QStringLiteral("開")));
        s_.AreaPos(0, 1) = Rec{50, 35};
    });
    PaintWatch watch(app->ed.surf, QPoint(50, 35));
    Win().View()->installEventFilter(&watch);
    int shown = -1;
    QString text;
    QTimer::singleShot(0, [&] {
        if (QMessageBox* box = OpenBox()) {
            shown = watch.shown;
            text = box->text();
            box->accept();
        }
    });
    app->ed.composer.ReMakeLineClick();
    EXPECT_EQ(text, QStringLiteral("赤の区域(開)は閉じていません。"));
    EXPECT_EQ(shown, Red);
}
