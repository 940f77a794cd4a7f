// Tracing drawn maps whose regions are known: every cell found once, each
// closed by the composition, the network clean enough to hand over.
#include <QRandomGenerator>
#include <set>

#include "TraceSupport.h"
#include "trace/Distance.h"
#include "trace/GapSweep.h"

using namespace ttest;

namespace {

// Each cell's centre lies in an enclosed region of its own.
void ExpectCellsFound(const trace::Network& net, int w, int x0, int y0, int cols, int rows,
                      int cell) {
    std::set<int32_t> seen;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int x = x0 + c * cell + cell / 2, y = y0 + r * cell + cell / 2;
            const int32_t l = net.labels[size_t(y) * w + x];
            EXPECT_TRUE(net.regions[l - 1].enclosed) << c << "," << r;
            EXPECT_TRUE(seen.insert(l).second) << "cells share region " << l;
        }
    int enclosed = 0;
    for (const trace::Region& g : net.regions) enclosed += g.enclosed;
    EXPECT_EQ(enclosed, cols * rows);
}

void ExpectTraced(const QImage& scan, int x0, int y0, int cols, int rows, int cell) {
    const trace::Page page = trace::ReadPage(scan);
    const trace::Network net = trace::Split(page, {}, true);
    ExpectCellsFound(net, scan.width(), x0, y0, cols, rows, cell);
    ExpectComposable(net);
    int positions = 0;
    EXPECT_EQ(ClosedByComposition(net, scan.width(), scan.height(), &positions), cols * rows);
    EXPECT_EQ(positions, cols * rows);
}

}  // namespace

TEST(Trace, DistanceIsExact) {
    // Against the brute-force distance on a scatter of ink.
    const int w = 37, h = 23;
    std::vector<uint8_t> ink(w * h, 0);
    for (int i = 0; i < w * h; i += 97) ink[i] = 1;
    const std::vector<uint16_t> d = trace::DistanceToInk(ink, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int best = 1 << 30;
            for (int i = 0; i < w * h; ++i)
                if (ink[i])
                    best = std::min(best, (i % w - x) * (i % w - x) + (i / w - y) * (i / w - y));
            ASSERT_EQ(d[y * w + x], uint16_t(std::lround(8 * std::sqrt(double(best)))))
                << x << "," << y;
        }
    EXPECT_EQ(trace::DistanceToInk(std::vector<uint8_t>(12, 0), 4, 3)[5], trace::kFar);
}

TEST(Trace, GridsOfEveryLineWidthSplitIntoTheirCells) {
    for (double pen : {1.0, 2.0, 4.0}) {
        SCOPED_TRACE(pen);
        ExpectTraced(Grid(400, 300, 30, 25, 5, 4, 64, pen), 30, 25, 5, 4, 64);
    }
}

TEST(Trace, DashDotLinesCloseAtTheirGaps) {
    ExpectTraced(Grid(420, 320, 30, 25, 5, 4, 70, 2, Qt::DashDotLine), 30, 25, 5, 4, 70);
}

TEST(Trace, NamesAndARiverOfAnotherColourMakeNoBoundary) {
    NeedGui();
    QImage scan = Grid(420, 320, 30, 25, 5, 4, 70, 2);
    {
        QPainter p(&scan);
        p.setRenderHint(QPainter::Antialiasing);
        QFont f;
        f.setPixelSize(14);
        p.setFont(f);
        p.setPen(QColor(30, 30, 30));
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                p.drawText(QPoint(30 + c * 70 + 12, 25 + r * 70 + 30),
                           QStringLiteral("Ab%1").arg(r * 5 + c));
        p.setPen(QPen(QColor(40, 90, 220), 2));
        p.drawLine(QPoint(10, 300), QPoint(400, 40));
    }
    ExpectTraced(scan, 30, 25, 5, 4, 70);
}

TEST(Trace, ANeckStaysWithItsAreaAndAnIslandIsItsOwnRegion) {
    // Three rooms; the lower left one reaches through a neck of 4 px of
    // paper into a bay, and holds a small island.
    QImage scan(300, 200, QImage::Format_RGB32);
    scan.fill(Qt::white);
    QPainter p(&scan);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(20, 20, 260, 160);
    p.drawLine(150, 20, 150, 180);
    p.drawPolyline(QPolygon({QPoint(20, 100), QPoint(80, 100), QPoint(80, 70), QPoint(60, 70),
                             QPoint(60, 35), QPoint(110, 35), QPoint(110, 70), QPoint(86, 70),
                             QPoint(86, 100), QPoint(150, 100)}));
    p.drawEllipse(QPoint(60, 150), 9, 9);
    p.end();
    const trace::Page page = trace::ReadPage(scan);
    const trace::Network net = trace::Split(page, {-1, 30, 1.0, {}}, true);
    auto at = [&](int x, int y) { return net.labels[size_t(y) * 300 + x]; };
    EXPECT_EQ(at(85, 50), at(60, 120));   // the bay and the room behind its neck
    EXPECT_NE(at(60, 150), at(60, 120));  // the island
    EXPECT_NE(at(40, 50), at(60, 120));
    EXPECT_NE(at(200, 100), at(60, 120));
    ExpectComposable(net);
    int positions = 0;
    EXPECT_EQ(ClosedByComposition(net, 300, 200, &positions), positions);
    EXPECT_EQ(positions, 4);  // three rooms and the island
}

TEST(Trace, SmallIslandsStayRegionsEvenWithABreakInTheirCoast) {
    // A coast and a sea of small islands drawn 1 px wide: round ones of
    // radius 5 to 8 px, some with a break in their coast, one of two lobes
    // joined by a waist, and one of radius 3, narrower than any seed.
    QImage scan(400, 200, QImage::Format_RGB32);
    scan.fill(Qt::white);
    QPainter p(&scan);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawPolyline(QPolygon({QPoint(20, 180), QPoint(20, 20), QPoint(380, 20)}));
    std::vector<QPoint> islands;
    for (int k = 0; k < 8; ++k) {
        const QPoint c(60 + 40 * k, 60 + 50 * (k % 2));
        p.drawEllipse(QPointF(c), 5 + k % 4, 5 + k % 4);
        islands.push_back(c);
    }
    p.drawEllipse(QPointF(300, 160), 3, 3);
    islands.push_back(QPoint(300, 160));
    p.setPen(QPen(Qt::white, 1));
    for (int k = 0; k < 8; k += 3) p.drawPoint(islands[size_t(k)] + QPoint(5 + k % 4, 0));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawPolygon(QPolygonF({QPointF(100, 160), QPointF(112, 150), QPointF(120, 158),
                             QPointF(126, 158), QPointF(134, 148), QPointF(150, 160),
                             QPointF(134, 172), QPointF(126, 162), QPointF(120, 162),
                             QPointF(112, 170)}));
    p.end();
    const trace::Page page = trace::ReadPage(scan);
    const trace::Network net = trace::Split(page, {}, true);
    auto at = [&](QPoint q) { return net.labels[size_t(q.y()) * 400 + q.x()]; };
    std::set<int32_t> seen{at(QPoint(200, 150))};
    for (const QPoint& c : islands) EXPECT_TRUE(seen.insert(at(c)).second) << c.x();
    EXPECT_EQ(at(QPoint(110, 160)), at(QPoint(138, 160)));  // both lobes, one island
    EXPECT_TRUE(seen.insert(at(QPoint(110, 160))).second);
    ExpectComposable(net);
}

TEST(Trace, ThePageEdgeIsNoBoundaryAndABlankPageHasNone) {
    // A map cut off by the page: its lines end at the edge, none runs along it.
    const QImage cut = Grid(200, 150, -40, -30, 4, 3, 70, 2);
    const trace::Network net = trace::Split(trace::ReadPage(cut));
    ExpectComposable(net);
    for (const trace::Edge& e : net.edges)
        for (size_t k = 1; k < e.points.size(); ++k) {
            const QPoint a = e.points[k - 1], b = e.points[k];
            EXPECT_FALSE(a.y() == b.y() && (a.y() <= 0 || a.y() >= 150)) << a.x() << "," << a.y();
            EXPECT_FALSE(a.x() == b.x() && (a.x() <= 1 || a.x() >= 200)) << a.x() << "," << a.y();
        }
    EXPECT_EQ(ClosedByComposition(net, 200, 150), 2);  // the two whole cells
    // A line running off the top ends on the first row, which the cells
    // either side would otherwise share.
    int onTop = 0;
    for (const trace::Edge& e : net.edges) onTop += e.points.front().y() == 0 || e.points.back().y() == 0;
    EXPECT_GE(onTop, 2);

    QImage blank(120, 90, QImage::Format_RGB32);
    blank.fill(qRgb(250, 248, 240));
    const trace::Page page = trace::ReadPage(blank);
    EXPECT_EQ(page.inkShare, 0);
    const trace::Network none = trace::Split(page);
    EXPECT_TRUE(none.edges.empty());
    EXPECT_EQ(none.regions.size(), 1u);
}

TEST(Trace, ASingleWideBreakInSolidLinesIsClosedAndDoubted) {
    // One wall of an otherwise solid grid has lost 24 px of its ink, far more
    // than the radius chosen for the page.
    QImage scan = Grid(420, 320, 30, 25, 5, 4, 70, 2);
    {
        QPainter p(&scan);
        p.fillRect(165, 118, 10, 24, Qt::white);
    }
    const trace::Page page = trace::ReadPage(scan);
    ASSERT_LT(page.autoGap, 12);
    const trace::Network net = trace::Split(page, {}, true);
    ExpectCellsFound(net, scan.width(), 30, 25, 5, 4, 70);
    ExpectComposable(net);
    const int32_t a = net.labels[130 * 420 + 135], b = net.labels[130 * 420 + 205];
    bool doubted = false;
    for (const trace::Edge& e : net.edges)
        doubted |= std::minmax(e.left, e.right) == std::minmax(a, b) && (e.doubts & trace::Bridged);
    EXPECT_TRUE(doubted);
    EXPECT_EQ(ClosedByComposition(net, 420, 320), 20);
}

TEST(Trace, ADarkGrainyPageMarginIsOutsideTheMap) {
    // A scanner's shadow: the bottom and right of the page dark and grainy,
    // the bottom one over the map's frame.
    QImage scan = Grid(420, 320, 30, 25, 5, 4, 70, 2);
    QRandomGenerator rng(3);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 420; ++x)
            if (y > 300 || x > 400) {
                const int v = 20 + int(rng.bounded(180));
                scan.setPixel(x, y, qRgb(v, v, v));
            }
    ExpectTraced(scan, 30, 25, 5, 4, 70);
}

TEST(Trace, TheGapRadiusGoesBelowTheLinesOnlyWhereThatClosesEveryGapToo) {
    // Regions counted by radius 0..12. A clean page of solid lines: the count
    // only falls as the radius grows (small islands and necks are lost), so
    // the smallest radius keeps them.
    const std::vector<int> clean{3, 402, 374, 346, 323, 316, 297, 294, 283, 273, 250, 236, 224};
    EXPECT_EQ(trace::ChooseGap(clean, 2), 1);
    EXPECT_EQ(trace::ChooseGap(clean, 3), 1);
    // Level from radius 1: nothing to gain below the lines' width.
    EXPECT_GE(trace::ChooseGap(std::vector<int>(13, 21), 2), 2);
    // Gaps closing only at radius 3: never below.
    const std::vector<int> broken{13, 13, 16, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21};
    EXPECT_GE(trace::ChooseGap(broken, 2), 3);
    // More regions at radius 1, but radius 2 closes a gap radius 1 leaves.
    const std::vector<int> mixed{1, 30, 29, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31};
    EXPECT_GE(trace::ChooseGap(mixed, 3), 3);
}

TEST(Trace, AnInletDrawnAsOneStrokeIsFollowedAndATinyRingIsAnIslandAndAllCompose) {
    // Two areas 1 px apart by their wall. Into the left one runs an inlet
    // drawn as one stroke from its wall, into the right one a spur of a few
    // pixels; in the right one lies an island whose ring leaves paper only
    // 2 px across.
    QImage scan(240, 140, QImage::Format_RGB32);
    scan.fill(Qt::white);
    QPainter p(&scan);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawRect(20, 20, 200, 100);
    p.drawLine(120, 20, 120, 120);
    p.drawLine(20, 70, 90, 70);    // the inlet, 70 px long
    p.drawLine(170, 120, 170, 115);  // the spur
    p.drawRect(150, 50, 3, 3);     // the island: 2 x 2 px of paper
    p.end();
    const trace::Page page = trace::ReadPage(scan);
    const trace::Network net = trace::Split(page, {}, true);
    ExpectComposable(net);
    int positions = 0;
    EXPECT_EQ(ClosedByComposition(net, 240, 140, &positions), positions);
    EXPECT_EQ(positions, 3);
    auto edgeNear = [&](QPoint q) {
        for (const trace::Edge& e : net.edges)
            for (size_t k = 1; k < e.points.size(); ++k) {
                const QLineF s(e.points[k - 1], e.points[k]);
                const QPointF d = s.p2() - s.p1();
                const double len2 = d.x() * d.x() + d.y() * d.y();
                const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(q - s.p1(), d) / len2, 0.0, 1.0) : 0;
                if (QLineF(q, s.p1() + t * d).length() <= 2) return true;
            }
        return false;
    };
    EXPECT_TRUE(edgeNear(QPoint(88, 70)));    // up the inlet to its end
    EXPECT_TRUE(edgeNear(QPoint(55, 70)));
    EXPECT_FALSE(edgeNear(QPoint(170, 114)));  // the spur falls away
    EXPECT_NE(net.labels[size_t(52) * 240 + 152], net.labels[size_t(80) * 240 + 170]);
}
