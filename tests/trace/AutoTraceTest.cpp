// 自動トレース in the editor: the dialog's preview, the trace added as one
// undo step, the doubtful edges in the problem list, and a stopped run
// that leaves the work as it was.
#include "TraceSupport.h"
#include "support/FakeUi.h"
#include "usecases/FinishedMaps.h"

using namespace ttest;

TEST(AutoTrace, AddsTheTracedNetworkAsOneStepAndListsTheDoubtfulEdges) {
    TestEditor t(500, 400);
    t.ed.Command(Cmd::AutoTrace);  // no under-drawing: told so
    EXPECT_EQ(t.ui.traceDialogs, 0);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_TRUE(t.ui.messages.back().text.contains(QStringLiteral("下絵がありません")));

    // A grid whose second wall has lost 10 px of its ink.
    QImage scan = Grid(420, 320, 30, 25, 5, 4, 70, 2);
    {
        QPainter p(&scan);
        p.fillRect(96, 50, 8, 10, Qt::white);
    }
    ASSERT_TRUE(scan.save(t.Path("scan.png")));
    t.ui.files = {t.Path("scan.png")};
    t.ed.picture.LoadBMPClick();
    ASSERT_TRUE(t.st().BasePicLoaded);
    const std::vector<Rec> before = t.Points();

    t.ed.Command(Cmd::AutoTrace);  // previewed, then cancelled
    EXPECT_EQ(t.ui.traceDialogs, 1);
    EXPECT_GE(t.ui.tracePreviewRegions, 19);  // the gap is closed only from a radius of 5
    EXPECT_EQ(t.Points(), before);

    t.ui.stopAt = 2;  // stopped while it runs: nothing changes
    t.ui.traceChoice = usecase::TraceChoice{6, -1, {}};
    t.ed.Command(Cmd::AutoTrace);
    EXPECT_EQ(t.Points(), before);
    EXPECT_FALSE(t.ui.progressVisible);

    t.ui.stopAt = -1;
    t.ed.Command(Cmd::AutoTrace);
    const std::vector<Rec> traced = t.Points();
    ASSERT_GT(traced.size(), 60u);
    EXPECT_TRUE(t.st().Modified);
    EXPECT_TRUE(t.ui.messages.back().text.contains(QStringLiteral("囲まれた区域 20")))
        << t.ui.messages.back().text.toStdString();

    // Every cell closes when given a position.
    Store st = t.st();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            const int a = ++st.AreaCount;
            st.SetAreaName(a, "a");
            st.AreaPos(0, a) = Rec{int16_t(30 + c * 70 + 35), int16_t(25 + r * 70 + 35)};
        }
    const usecase::CheckOutcome checked = usecase::CheckAllPositions(st, Surface(500, 400), {});
    for (const compose::CheckEntry& e : checked.entries)
        EXPECT_EQ(e.result.outcome, compose::Outcome::Closed) << e.area;

    // The bridged gap is listed; choosing it marks the edge and goes there.
    int gapRow = -1;
    for (size_t i = 0; i < t.ui.checkRows.size(); ++i)
        if (t.ui.checkRows[i].reason.contains(QStringLiteral("すき間をつないだ")) &&
            std::abs(t.ui.checkRows[i].place.x() - 100) < 6)
            gapRow = int(i);
    ASSERT_GE(gapRow, 0);
    EXPECT_TRUE(t.ui.checkListVisible);
    t.ui.clientSize = QSize(40, 30);
    t.ed.problems.CheckListClick(gapRow);
    const QPoint at = t.ui.checkRows[size_t(gapRow)].place;
    EXPECT_EQ(t.ed.surf.Pixel(at.x(), at.y()), Red);
    EXPECT_EQ(t.ui.scroll, QPoint(at.x() - 20, at.y() - 15));
    t.ed.problems.CheckListClosed();
    EXPECT_NE(t.ed.surf.Pixel(at.x(), at.y()), Red);

    t.ed.Command(Cmd::Undo);  // one step takes the whole trace back
    EXPECT_EQ(t.Points(), before);
    t.ed.Command(Cmd::Redo);
    EXPECT_EQ(t.Points(), traced);
}

// The walk a person takes: a grainy scan with names traced in the window
// with positions, one point moved, then composed and written as a finished
// map that holds every region.
TEST(AutoTrace, ATracedScanComposesInTheWindowAndIsWritten) {
    NeedGui();
    TestEditor t(500, 400);
    QImage scan = Grid(420, 320, 30, 25, 5, 4, 70, 2);
    {
        QPainter p(&scan);
        QFont f;
        f.setPixelSize(13);
        p.setFont(f);
        p.setPen(QColor(30, 30, 30));
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                p.drawText(QPoint(30 + c * 70 + 14, 25 + r * 70 + 32),
                           QStringLiteral("Ab%1").arg(r * 5 + c));
        // Shading and grain: the stored 16 colours would turn the dark
        // corner into ink, so the scan file itself is what gets traced.
        for (int y = 0; y < scan.height(); ++y)
            for (int x = 0; x < scan.width(); ++x) {
                const QRgb c = scan.pixel(x, y);
                const double light = 1.0 - 0.4 * x / scan.width() * y / scan.height();
                const int g = (x * 7 + y * 13) % 9 - 4;
                auto v = [&](int k) { return std::clamp(int(k * light) + g, 0, 255); };
                scan.setPixel(x, y, qRgb(v(qRed(c)), v(qGreen(c)), v(qBlue(c))));
            }
    }
    ASSERT_TRUE(scan.save(t.Path("scan.jpg"), nullptr, 85));
    t.ui.files = {t.Path("scan.jpg")};
    t.ed.picture.LoadBMPClick();
    ASSERT_TRUE(t.st().BasePicLoaded);

    t.ed.states.InitCommandStates();  // as a new window: nothing to compose
    ASSERT_FALSE(t.ui.Enabled(Cmd::ReMakeLine));
    t.ui.traceChoice = usecase::TraceChoice{-1, -1, {}, true};
    t.ed.Command(Cmd::AutoTrace);
    ASSERT_EQ(t.st().AreaCount, 20) << t.ui.LastText().toStdString();
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));  // ready to compose from the menu
    EXPECT_TRUE(t.ui.checkSummary.startsWith(QStringLiteral("自動トレースの疑わしい境界")));
    t.ed.problems.CheckListClosed();

    // A point in the middle of the longest chain moves by two pixels.
    const std::vector<Rec> pts = t.Points();
    size_t best = 0, bestLen = 0;
    for (size_t i = 1, start = 1; i < pts.size(); ++i)
        if (pts[i] == Rec{}) {
            if (i - start > bestLen) bestLen = i - start, best = start + (i - start) / 2;
            start = i + 1;
        }
    ASSERT_GE(bestLen, 3u);
    const Rec p = pts[best];
    t.ed.doc.SetMode(Mode::Edit);
    ReDraw(t.ed.bench);
    t.ed.MouseDown(Qt::LeftButton, p.x, p.y);
    t.ed.MouseUp(Qt::LeftButton, p.x + 1, p.y + 1);
    ASSERT_NE(t.Points(), pts);

    t.ui.messages.clear();
    t.ed.composer.ReMakeLineClick();
    EXPECT_TRUE(t.st().Completed) << t.ui.LastText().toStdString();
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.LastText().toStdString();
    EXPECT_TRUE(t.ui.status.startsWith(QStringLiteral("境界線最終編成: 20 区域、輪郭 20 本")))
        << t.ui.status.toStdString();

    EditMap(t.ed, [](Store& s) { s.LegendX = 440, s.LegendY = 350; });
    t.ui.onTitleDialog = [](TitleFields& f) {
        f.title = QStringLiteral("traced");
        f.year = "2026", f.month = "12", f.day = "8", f.hour = f.minute = f.second = "1";
        f.magnification = "1.0";
        return true;
    };
    t.ui.files = {t.Path("traced.idt")};
    t.ed.finishedMaps.WriteMapClick();
    EXPECT_EQ(t.ui.status,
              QStringLiteral("完成図を %1 に保存しました (20 区域)。").arg(t.Path("traced.idt")));
    const usecase::FinishedMapRead read = usecase::ReadFinishedMap(t.Path("traced.idt"));
    ASSERT_TRUE(read.result.ok) << read.result.message.Text().toStdString();
    EXPECT_EQ(read.content.areas.size(), 20u);
}

// A traced wall deleted joins two regions: of their two provisional
// positions the later one goes with the wall, in the same undo step; a
// position the person renamed stays.
TEST(AutoTrace, DeletingATracedWallTakesOneOfItsTwoProvisionalPositions) {
    TestEditor t(500, 400);
    ASSERT_TRUE(Grid(420, 320, 30, 25, 5, 4, 70, 2).save(t.Path("grid.png")));
    t.ui.files = {t.Path("grid.png")};
    t.ed.picture.LoadBMPClick();
    t.ui.traceChoice = usecase::TraceChoice{-1, -1, {}, true};
    t.ed.Command(Cmd::AutoTrace);
    ASSERT_EQ(t.st().AreaCount, 20);
    t.ed.problems.CheckListClosed();
    auto areaIn = [&](int c, int r) {
        for (int a = 1; a <= t.st().AreaCount; ++a) {
            const Rec p = t.st().AreaPos(0, a);
            if ((p.x - 30) / 70 == c && (p.y - 25) / 70 == r) return a;
        }
        return 0;
    };
    EditMap(t.ed, [&](Store& s) { s.SetAreaName(areaIn(0, 0), "Home"); });
    const int second = areaIn(2, 0), third = areaIn(3, 0);
    const std::string kept(t.st().AreaName(std::min(second, third)));
    t.ed.doc.SetMode(Mode::Edit);
    auto deleteWall = [&](int x0, int y) {
        ReDraw(t.ed.bench);
        int x = x0 - 3;
        while (x <= x0 + 3 && t.ed.surf.Pixel(x, y) != Magenta) ++x;
        ASSERT_LE(x, x0 + 3) << "no traced wall near " << x0;
        t.ed.MouseDown(Qt::RightButton, x, y);
        t.ed.Command(Cmd::DelLine);
    };
    const std::vector<Rec> traced = t.Points();
    deleteWall(240, 60);  // between the third and fourth cells of the top row
    ASSERT_EQ(t.st().AreaCount, 19);
    const int left = areaIn(2, 0), right = areaIn(3, 0);
    ASSERT_TRUE((left == 0) != (right == 0));
    EXPECT_EQ(t.st().AreaName(left + right), kept);  // the lower number stays
    EXPECT_TRUE(t.ui.status.contains(QStringLiteral("仮の位置"))) << t.ui.status.toStdString();
    deleteWall(100, 60);  // beside the renamed one, which stays
    ASSERT_EQ(t.st().AreaCount, 18);
    EXPECT_EQ(t.st().AreaName(areaIn(0, 0)), "Home");
    EXPECT_EQ(areaIn(1, 0), 0);
    t.ed.Command(Cmd::Undo);  // the wall and its position come back together
    t.ed.Command(Cmd::Undo);
    EXPECT_EQ(t.st().AreaCount, 20);
    EXPECT_EQ(t.Points(), traced);

    // Opened again, the numbered positions may be the person's: offered.
    t.ed.tracing.provisional_.reset();
    t.ui.answers = {false};
    deleteWall(240, 60);
    EXPECT_EQ(t.st().AreaCount, 20);
    EXPECT_TRUE(t.ui.answers.empty());
    t.ui.answers = {true};
    deleteWall(310, 60);  // joins the fourth and fifth: the pair before is not asked again
    EXPECT_EQ(t.st().AreaCount, 19);
    EXPECT_TRUE(t.ui.answers.empty());
}
