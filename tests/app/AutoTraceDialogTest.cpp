// 自動トレース's dialog on the real widgets: the last item of the 下絵 menu,
// a preview re-made when a slider moves, and a click that samples the ink.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QTest>

#include "AppFixture.h"
#include "app/AutoTraceDialog.h"
#include "app/MainWindow.h"
#include "base/Messages.h"

TEST_F(AppTest, TheTraceDialogPreviewsFollowTheSlidersAndAClickSamplesTheInk) {
    QMenu* picture = nullptr;
    for (QAction* a : Win().menuBar()->actions())
        if (a->text() == msg::Text(Msg::MenuPicture)) picture = a->menu();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->actions().back(), Win().Action(Cmd::AutoTrace));

    // Five cells in dash-dot lines: only a radius past the gaps parts them.
    QImage scan(360, 100, QImage::Format_RGB32);
    scan.fill(Qt::white);
    {
        QPainter p(&scan);
        p.setPen(QPen(QColor(20, 20, 20), 2, Qt::DashDotLine));
        p.drawRect(20, 20, 300, 60);
        for (int x = 80; x < 320; x += 60) p.drawLine(x, 20, x, 80);
    }
    usecase::TraceSession session(scan, QStringLiteral("scan"));
    usecase::TraceChoice choice;
    AutoTraceDialog dlg(&Win(), session, choice);
    EXPECT_TRUE(dlg.Count()->text().startsWith(QStringLiteral("区域 5 ")))
        << dlg.Count()->text().toStdString();
    dlg.GapSlider()->setValue(0);
    QTest::qWait(400);
    EXPECT_EQ(choice.gap, 0);
    EXPECT_FALSE(dlg.Count()->text().startsWith(QStringLiteral("区域 5 ")));

    dlg.show();
    QApplication::processEvents();
    const QPixmap shown = dlg.Preview()->pixmap();
    const QPoint offset((dlg.Preview()->width() - shown.width()) / 2,
                        (dlg.Preview()->height() - shown.height()) / 2);
    dlg.SampleAt(offset + QPoint(20, 50));  // on the left side of the frame
    ASSERT_TRUE(choice.sample.has_value());
    EXPECT_LE(std::abs(choice.sample->x() - 20), 1);
    const QRgb ink = session.SampleAt(*choice.sample);
    EXPECT_LT(qRed(ink), 100);
}
