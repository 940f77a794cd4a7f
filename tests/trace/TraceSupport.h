// Scans drawn from known networks, and the checks every traced network
// must pass before it is handed to the composition.
#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "ops/Simplify.h"
#include "store/Store.h"
#include "text/ShiftJis.h"
#include "trace/Trace.h"
#include "usecases/CheckPositions.h"

namespace ttest {

// A grid of cols x rows cells of `cell` px with its top left at (x0, y0),
// on white paper, drawn with a pen of the given width and style.
inline QImage Grid(int w, int h, int x0, int y0, int cols, int rows, int cell, double pen,
                   Qt::PenStyle style = Qt::SolidLine) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPen line(QColor(20, 20, 20), pen, style);
    p.setPen(line);
    for (int c = 0; c <= cols; ++c)
        p.drawLine(QPointF(x0 + c * cell, y0), QPointF(x0 + c * cell, y0 + rows * cell));
    for (int r = 0; r <= rows; ++r)
        p.drawLine(QPointF(x0, y0 + r * cell), QPointF(x0 + cols * cell, y0 + r * cell));
    return img;
}

// The network is ready to compose: chains of two points or more, none at
// X < 1, no zero-length segment, and no two segments meeting anywhere but
// at a shared end.
inline void ExpectComposable(const trace::Network& net) {
    std::vector<std::pair<QPoint, QPoint>> segs;
    for (const trace::Edge& e : net.edges) {
        ASSERT_GE(e.points.size(), 2u);
        for (size_t k = 0; k < e.points.size(); ++k) {
            EXPECT_GE(e.points[k].x(), 1);
            if (k) {
                EXPECT_NE(e.points[k], e.points[k - 1]);
                segs.push_back({e.points[k - 1], e.points[k]});
            }
        }
    }
    for (size_t i = 0; i < segs.size(); ++i)
        for (size_t j = i + 1; j < segs.size(); ++j)
            ASSERT_FALSE(
                ops::SegmentsConflict(segs[i].first, segs[i].second, segs[j].first, segs[j].second))
                << segs[i].first.x() << "," << segs[i].first.y() << " " << segs[j].first.x() << ","
                << segs[j].first.y();
}

// Puts one area position at the pole of every enclosed region and traces
// each as the composition would; returns how many closed.
inline int ClosedByComposition(const trace::Network& net, int w, int h, int* positions = nullptr) {
    Store st;
    st.AssignPoints(trace::PointList(net));
    const std::vector<int> number = trace::EnclosedOrder(net);
    for (size_t r = 0; r < net.regions.size(); ++r) {
        if (!number[r]) continue;
        const int a = ++st.AreaCount;
        st.SetAreaName(a, sjis::FromUnicode(QString::number(number[r])));
        const QPoint p = net.regions[r].pole;
        st.AreaPos(0, a) = Rec{int16_t(std::max(1, p.x())), int16_t(p.y())};
    }
    st.MapWidth = int16_t(w + 1);
    st.MapHeight = int16_t(h + 1);
    const Surface surf(w + 1, h + 1);
    const usecase::CheckOutcome out = usecase::CheckAllPositions(st, surf, {});
    int closed = 0;
    for (const compose::CheckEntry& e : out.entries)
        closed += e.result.outcome == compose::Outcome::Closed;
    if (positions) *positions = int(out.entries.size());
    return closed;
}

inline void NeedGui() {
    static int argc = 1;
    static char name[] = "test_trace";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

}  // namespace ttest
