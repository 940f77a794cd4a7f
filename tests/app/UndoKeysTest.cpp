// Undo in the real window: a trace and a drag taken back with Ctrl+Z and
// brought forward again with Ctrl+Y and Ctrl+Shift+Z.
#include <QAction>
#include <QTest>

#include "AppFixture.h"
#include "app/MainWindow.h"
#include "app/SurfaceView.h"
#include "editor/Editor.h"

TEST_F(AppTest, CtrlZTakesBackATraceAndADragAndCtrlYBringsThemBack) {
    Win().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Win()));
    Editor& ed = app->ed;
    SurfaceView* view = Win().View();
    auto pixels = [&ed] {
        return std::vector<uint8_t>(
            ed.surf.Data(), ed.surf.Data() + size_t(ed.surf.Width()) * size_t(ed.surf.Height()));
    };
    const int32_t start = ed.st.PointLast;
    const auto startPixels = pixels();
    QAction* undo = Win().Action(Cmd::Undo);
    EXPECT_FALSE(undo->isEnabled());

    for (QPoint p : {QPoint(40, 40), QPoint(120, 40), QPoint(120, 100)})
        QTest::mouseClick(view, Qt::LeftButton, {}, p);
    ASSERT_EQ(ed.st.PointLast, start + 3);
    Win().Action(Cmd::EditMode)->trigger();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(120, 100));
    QTest::mouseMove(view, QPoint(130, 105));
    QTest::mouseMove(view, QPoint(140, 110));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(140, 110));
    ASSERT_EQ(ed.st.Point(ed.st.PointLast), (Rec{140, 110}));
    const auto endPoints = ed.st.PointsToVector();
    const auto endPixels = pixels();
    EXPECT_TRUE(undo->isEnabled());

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);  // the drag
    EXPECT_EQ(ed.st.Point(ed.st.PointLast), (Rec{120, 100}));
    EXPECT_EQ(ed.st.Mode, Mode::Edit);  // the letter Z did not switch modes
    for (int i = 0; i < 3; ++i) QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ed.st.PointLast, start);
    EXPECT_TRUE(pixels() == startPixels);
    EXPECT_TRUE(Win().IsChecked(Cmd::BuildMode));
    EXPECT_FALSE(undo->isEnabled());

    for (int i = 0; i < 3; ++i) QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ed.st.PointsToVector(), endPoints);
    EXPECT_TRUE(pixels() == endPixels);
    EXPECT_TRUE(Win().IsChecked(Cmd::EditMode));
    EXPECT_FALSE(Win().Action(Cmd::Redo)->isEnabled());
}
