// Tracing scans rendered from known networks: how many true positions the
// traced regions match, how many close through the composition, the
// boundary F1 within 2 px, points against the true network, and the time
// and memory for an A3 page at 300 dpi with a re-run after a slider change.
//
//   build/bench_trace                          every variant
//   build/bench_trace --benchmark_filter=A3    the timing only
//   build/bench_trace --write-scan 5 scan.png  a variant as a scan, to try by hand
//   build/bench_trace --write-trace 8 out.png  its trace, unmatched positions circled
//   build/bench_trace --world-positions 1 1 out.csv
//                       the world map (1 px lines, its own scale), every true
//                       position's region and outcome; TRACE_GAP and
//                       TRACE_MIN_AREA set the sliders, TRACE_PICTURE=p.png
//                       writes the trace over the scan, TRACE_INK=i.png the ink
//                       (blobs green, letters of names blue), TRACE_MISSES=m.png
//                       the true boundary pixels missed (red) and the traced
//                       ones beyond 2 px of any true one (blue), with a count,
//                       TRACE_WRONG=X,Y,w.png the wrong side of one position,
//                       TRACE_SCAN=s.png the scan itself, TRACE_CLASSIFY the
//                       missed pixels counted by cause
//   build/bench_trace --county-positions 9 out.csv   the same for a county variant
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "BenchMaps.h"
#include "formats/WorkFormat.h"
#include "trace/Distance.h"
#include "trace/Trace.h"
#include "usecases/CheckPositions.h"

namespace {

struct Truth {
    std::vector<std::vector<QPointF>> chains;
    std::vector<QPointF> positions;
    QSizeF size;
    int points = 0;
};

Truth FromStore(const Store& st) {
    Truth t;
    std::vector<QPointF> cur;
    for (const Rec& r : st.PointsToVector()) {
        if (r.x == 0 && r.y == 0) {
            if (cur.size() >= 2) t.chains.push_back(cur), t.points += int(cur.size());
            cur.clear();
        } else {
            cur.push_back(QPointF(r.x, r.y));
        }
    }
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x > 0; ++k)
            t.positions.push_back(QPointF(st.AreaPos(k, a).x, st.AreaPos(k, a).y));
    t.size = QSizeF(st.MapWidth, st.MapHeight);
    return t;
}

Truth Generated(int cells, int unit, uint32_t seed) {
    MapRecipe r;
    r.cells = cells;
    r.unitW = unit;
    r.unitH = unit + unit / 10;
    r.step = 6;
    r.jitter = unit / 4;
    r.seed = seed;
    Store st;
    GenerateMap(r, st);
    return FromStore(st);
}

struct Style {
    double width = 2;
    bool dashDot = false, names = false, rivers = false, shabby = false;
    int jpeg = 0;       // quality; 0: lossless
    double rotate = 0;  // degrees
    double scale = 1;
};

struct Rendered {
    QImage scan;
    QImage truth;  // the true lines, 1 px, black on white
    std::vector<QPoint> positions;
    QTransform t;
};

// A 1 px line with both ends, 8-connected, so that the paper either side
// is never joined through it (a painter's thin lines leave out pixels at
// some joins).
void DrawThin(QImage& gray, QPoint a, QPoint b) {
    const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy, x = a.x(), y = a.y();
    while (true) {
        if (x >= 0 && y >= 0 && x < gray.width() && y < gray.height()) gray.scanLine(y)[x] = 0;
        if (x == b.x() && y == b.y()) return;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

Rendered Render(const Truth& truth, const Style& s) {
    Rendered r;
    const QSize size(int(truth.size.width() * s.scale) + 20,
                     int(truth.size.height() * s.scale) + 20);
    r.t.translate(size.width() / 2.0, size.height() / 2.0);
    r.t.rotate(s.rotate);
    r.t.translate(-size.width() / 2.0, -size.height() / 2.0);
    r.t.translate(10, 10);
    r.t.scale(s.scale, s.scale);
    r.scan = QImage(size, QImage::Format_RGB32);
    r.scan.fill(qRgb(252, 250, 244));
    r.truth = QImage(size, QImage::Format_Grayscale8);
    r.truth.fill(255);
    QPainterPath path;
    for (const auto& c : truth.chains) {
        path.moveTo(c[0]);
        for (size_t k = 1; k < c.size(); ++k) path.lineTo(c[k]);
    }
    for (const auto& c : truth.chains)
        for (size_t k = 1; k < c.size(); ++k)
            DrawThin(r.truth, r.t.map(c[k - 1]).toPoint(), r.t.map(c[k]).toPoint());
    QPainter p(&r.scan);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(r.t);
    QRandomGenerator rng(11);
    if (s.rivers) {
        // Blue rivers wander across the map, over the boundaries.
        p.setPen(QPen(QColor(40, 110, 220), 2.0 / s.scale));
        for (int k = 0; k < 8; ++k) {
            QPainterPath river;
            QPointF at(rng.bounded(truth.size.width()), rng.bounded(truth.size.height()));
            river.moveTo(at);
            double dir = rng.bounded(6.28);
            for (int i = 0; i < 60; ++i) {
                dir += (rng.bounded(1.0) - 0.5) * 0.6;
                at += QPointF(std::cos(dir), std::sin(dir)) * 12;
                river.lineTo(at);
            }
            p.drawPath(river);
        }
    }
    QPen pen(QColor(25, 25, 25), s.width / s.scale);
    if (s.dashDot) pen.setStyle(Qt::DashDotLine);
    p.setPen(pen);
    p.drawPath(path);
    if (s.names) {
        QFont f;
        f.setPixelSize(int(14 / s.scale));
        p.setFont(f);
        p.setPen(QColor(30, 30, 30));
        int n = 0;
        for (const QPointF& at : truth.positions)
            p.drawText(at + QPointF(-14 / s.scale, -6 / s.scale), QStringLiteral("区%1").arg(++n));
    }
    p.end();
    for (const QPointF& at : truth.positions) {
        const QPointF q = r.t.map(at);
        r.positions.push_back(QPoint(int(std::lround(q.x())), int(std::lround(q.y()))));
    }
    if (s.shabby) {
        // Uneven lighting, grain and a slight blur, as a flatbed gives.
        QImage out = r.scan;
        const int w = out.width(), h = out.height();
        for (int y = 0; y < h; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(r.scan.constScanLine(y));
            QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x) {
                int c[3] = {0, 0, 0};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = std::clamp(x + dx, 0, w - 1),
                                  yy = std::clamp(y + dy, 0, h - 1);
                        const QRgb q = reinterpret_cast<const QRgb*>(r.scan.constScanLine(yy))[xx];
                        const int wgt = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                        c[0] += qRed(q) * wgt, c[1] += qGreen(q) * wgt, c[2] += qBlue(q) * wgt;
                    }
                const double light = 0.82 + 0.18 * std::sin(x * 3.0 / w) * std::cos(y * 2.0 / h);
                const int noise = int(rng.bounded(13)) + int(rng.bounded(13)) - 12;
                auto v = [&](int sum) { return std::clamp(int(sum / 16 * light) + noise, 0, 255); };
                o[x] = qRgb(v(c[0]), v(c[1]), v(c[2]));
                (void)in;
            }
        }
        r.scan = out;
    }
    if (s.jpeg) {
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        r.scan.save(&buf, "JPEG", s.jpeg);
        r.scan = QImage::fromData(buf.data(), "JPEG").convertToFormat(QImage::Format_RGB32);
    }
    return r;
}

// Labels of the true regions: the 4-connected parts of the paper between
// the true lines (lines 0).
std::vector<int32_t> TruthLabels(const QImage& truth) {
    const int w = truth.width(), h = truth.height();
    std::vector<int32_t> label(size_t(w) * h, -1);
    int32_t next = 0;
    std::vector<int32_t> stack;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            if (truth.constScanLine(y)[x] < 128) label[i] = 0;
            if (label[i] >= 0) continue;
            label[i] = ++next;
            stack.assign(1, int32_t(i));
            while (!stack.empty()) {
                const int32_t p = stack.back();
                stack.pop_back();
                const int px = p % w, py = p / w;
                const int nx[4] = {px - 1, px + 1, px, px}, ny[4] = {py, py, py - 1, py + 1};
                for (int k = 0; k < 4; ++k) {
                    if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
                    const size_t q = size_t(ny[k]) * w + nx[k];
                    if (label[q] >= 0) continue;
                    if (truth.constScanLine(ny[k])[nx[k]] < 128) {
                        label[q] = 0;
                        continue;
                    }
                    label[q] = next;
                    stack.push_back(int32_t(q));
                }
            }
        }
    return label;
}

struct Scores {
    double matched = 0, closed = 0, f1 = 0, pointRatio = 0, precision = 0, recall = 0;
    std::vector<QPoint> missed;  // true positions whose region was not matched
    // Per true position: its true region's pixels, those beyond the 2 px
    // band, its widest point (px), the traced region's pixels, how many true
    // positions share that traced region, the wrong pixels, and the outcomes.
    struct At {
        QPoint p;
        int64_t area = 0, interior = 0, tracedArea = 0, wrong = 0;
        double widest = 0;
        int sharing = 0;
        bool matched = false, closed = false;
    };
    std::vector<At> each;
};

// Calls fn(part) for every 8-connected part of the pixels set in `on`
// (a w x h page), with the part's pixel indices.
template <class Fn>
void ForEachPart(const std::vector<uint8_t>& on, int w, int h, Fn fn) {
    std::vector<uint8_t> done(on.size(), 0);
    std::vector<int32_t> stack, part;
    for (size_t s0 = 0; s0 < on.size(); ++s0) {
        if (!on[s0] || done[s0]) continue;
        part.clear();
        stack.assign(1, int32_t(s0));
        done[s0] = 1;
        while (!stack.empty()) {
            const int32_t p = stack.back();
            stack.pop_back();
            part.push_back(p);
            const int px = p % w, py = p / w;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    const size_t q = size_t(qy) * w + qx;
                    if (on[q] && !done[q]) done[q] = 1, stack.push_back(int32_t(q));
                }
        }
        fn(part);
    }
}

// The true boundary lines and the traced network, one pixel wide, as flags
// per pixel of the scan; returns the traced network drawn black on white.
QImage LinePictures(const Rendered& r, const trace::Network& net, std::vector<uint8_t>& trueLine,
                    std::vector<uint8_t>& tracedLine) {
    const int w = r.scan.width(), h = r.scan.height();
    trueLine.assign(size_t(w) * h, 0);
    tracedLine.assign(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) trueLine[size_t(y) * w + x] = r.truth.constScanLine(y)[x] < 128;
    QImage traced(w, h, QImage::Format_Grayscale8);
    traced.fill(255);
    for (const trace::Edge& e : net.edges)
        for (size_t k = 1; k < e.points.size(); ++k) DrawThin(traced, e.points[k - 1], e.points[k]);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            tracedLine[size_t(y) * w + x] = traced.constScanLine(y)[x] < 128;
    return traced;
}

Scores Score(const Rendered& r, const Truth& truth, const trace::Network& net) {
    Scores s;
    const int w = r.scan.width(), h = r.scan.height();
    const size_t n = size_t(w) * h;
    // Boundary pixels either side, and the distance to each.
    std::vector<uint8_t> trueLine, tracedLine;
    const QImage traced = LinePictures(r, net, trueLine, tracedLine);
    const std::vector<uint16_t> toTrue = trace::DistanceToInk(trueLine, w, h);
    const std::vector<uint16_t> toTraced = trace::DistanceToInk(tracedLine, w, h);
    int64_t tp = 0, tracedCount = 0, rc = 0, trueCount = 0;
    for (size_t i = 0; i < n; ++i) {
        if (tracedLine[i]) ++tracedCount, tp += toTrue[i] <= 16;
        if (trueLine[i]) ++trueCount, rc += toTraced[i] <= 16;
    }
    if (const char* v = std::getenv("TRACE_MISSES")) {
        // Boundary pixels beyond 2 px of the other side: true lines the
        // trace missed in red, traced lines with no true one near in blue.
        QImage out(w, h, QImage::Format_RGB32);
        out.fill(qRgb(255, 255, 255));
        for (size_t i = 0; i < n; ++i) {
            const int x = int(i % w), y = int(i / w);
            if (trueLine[i] && toTraced[i] > 16)
                out.setPixel(x, y, qRgb(230, 0, 0));
            else if (tracedLine[i] && toTrue[i] > 16)
                out.setPixel(x, y, qRgb(0, 0, 230));
            else if (trueLine[i] || tracedLine[i])
                out.setPixel(x, y, qRgb(170, 170, 170));
        }
        out.save(QString::fromLocal8Bit(v));
        // The missed true pixels split: rings the trace left out whole (an
        // island or enclave it made no region of) and the rest (spits,
        // inlets, corners), by 8-connected parts of the true lines.
        int64_t missed = 0, wholeRings = 0, rings = 0;
        ForEachPart(trueLine, w, h, [&](const std::vector<int32_t>& part) {
            int64_t red = 0;
            for (int32_t p : part) red += toTraced[p] > 16;
            missed += red;
            if (red == int64_t(part.size())) wholeRings += red, ++rings;
        });
        int64_t extra = 0;
        for (size_t i = 0; i < n; ++i) extra += tracedLine[i] && toTrue[i] > 16;
        std::printf("true boundary px %lld, missed %lld (%lld in %lld parts left out whole), "
                    "traced px %lld, extra %lld\n",
                    (long long)trueCount, (long long)missed, (long long)wholeRings,
                    (long long)rings, (long long)tracedCount, (long long)extra);
    }
    s.precision = tracedCount ? double(tp) / tracedCount : 0;
    s.recall = trueCount ? double(rc) / trueCount : 0;
    s.f1 = s.precision + s.recall > 0 ? 2 * s.precision * s.recall / (s.precision + s.recall) : 0;

    // Region matching away from the 2 px band round the true lines.
    const std::vector<int32_t> truthLabel = TruthLabels(r.truth);
    std::vector<int32_t> tracedLabel(n, 0);
    {
        // The traced regions as the composition sees them: the paper
        // between the traced lines.
        tracedLabel = TruthLabels(traced);
    }
    std::unordered_map<int64_t, int64_t> both;
    std::unordered_map<int32_t, int64_t> areaTrue, areaTraced;
    for (size_t i = 0; i < n; ++i) {
        if (toTrue[i] <= 16) continue;
        const int32_t a = truthLabel[i], b = tracedLabel[i];
        ++areaTrue[a], ++areaTraced[b];
        ++both[(int64_t(a) << 32) | uint32_t(b)];
    }
    std::unordered_map<int32_t, int64_t> fullTrue, fullTraced, sharing;
    std::unordered_map<int32_t, uint16_t> widest;
    for (size_t i = 0; i < n; ++i) {
        ++fullTrue[truthLabel[i]], ++fullTraced[tracedLabel[i]];
        uint16_t& wd = widest[truthLabel[i]];
        wd = std::max(wd, toTrue[i]);
    }
    for (const QPoint& p : r.positions)
        if (p.x() >= 0 && p.y() >= 0 && p.x() < w && p.y() < h)
            ++sharing[tracedLabel[size_t(p.y()) * w + p.x()]];
    int matched = 0;
    for (const QPoint& p : r.positions) {
        Scores::At at;
        at.p = p;
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        const int32_t a = truthLabel[size_t(p.y()) * w + p.x()],
                      b = tracedLabel[size_t(p.y()) * w + p.x()];
        at.area = fullTrue[a], at.interior = areaTrue[a], at.widest = widest[a] / 8.0;
        at.tracedArea = fullTraced[b], at.sharing = int(sharing[b]);
        if (a <= 0 || b <= 0) {
            s.missed.push_back(p);
            s.each.push_back(at);
            continue;
        }
        at.wrong = areaTrue[a] + areaTraced[b] - 2 * both[(int64_t(a) << 32) | uint32_t(b)];
        at.matched = at.wrong * 100 < areaTrue[a];
        matched += at.matched;
        if (!at.matched) s.missed.push_back(p);
        s.each.push_back(at);
    }
    if (const char* v = std::getenv("TRACE_WRONG")) {
        // TRACE_WRONG=X,Y,OUT.png: the scan with the position's true region
        // where the traced one is not (red) and the traced one where the true
        // one is not (blue); pale inside the 2 px band, which is not counted.
        int px = 0, py = 0, used = 0;
        if (std::sscanf(v, "%d,%d,%n", &px, &py, &used) >= 2 && used > 0 && px >= 0 && py >= 0 &&
            px < w && py < h) {
            const int32_t a = truthLabel[size_t(py) * w + px], b = tracedLabel[size_t(py) * w + px];
            QImage out = r.scan.copy();
            for (size_t i = 0; i < n; ++i) {
                const bool inA = truthLabel[i] == a, inB = tracedLabel[i] == b, band = toTrue[i] <= 16;
                if (inA != inB)
                    out.setPixel(int(i % w), int(i / w),
                                 inA ? (band ? qRgb(255, 180, 180) : qRgb(230, 0, 0))
                                     : (band ? qRgb(180, 180, 255) : qRgb(0, 0, 230)));
            }
            out.save(QString::fromLocal8Bit(v + used));
        }
    }
    s.matched = double(matched) / std::max<size_t>(1, r.positions.size());

    // The true positions put into the traced network, traced by the composition.
    Store st;
    st.AssignPoints(trace::PointList(net));
    for (const QPoint& p : r.positions) {
        if (st.AreaCount >= Store::MaxAreas) break;
        const int a = ++st.AreaCount;
        st.SetAreaName(a, "a");
        st.AreaPos(0, a) = Rec{int16_t(std::max(1, p.x())), int16_t(std::max(0, p.y()))};
    }
    st.MapWidth = int16_t(w + 1);
    st.MapHeight = int16_t(h + 1);
    const usecase::CheckOutcome checked = usecase::CheckAllPositions(st, Surface(w + 1, h + 1), {});
    int closed = 0;
    for (size_t k = 0; k < checked.entries.size(); ++k) {
        const bool ok = checked.entries[k].result.outcome == compose::Outcome::Closed;
        closed += ok;
        const size_t at = size_t(checked.entries[k].area - 1);
        if (at < s.each.size()) s.each[at].closed = ok;
    }
    s.closed = double(closed) / std::max<size_t>(1, r.positions.size());
    int points = 0;
    for (const trace::Edge& e : net.edges) points += int(e.points.size());
    s.pointRatio = double(points) / std::max(1, truth.points);
    return s;
}

// TRACE_CLASSIFY: the true boundary pixels the trace missed, by cause.
// A part of the true lines missed whole is an island or enclave with no
// region: its ring either still holds paper inside on the scan (broken or
// closed but too small) or the pen filled it. A missed stretch of a line
// the trace does follow elsewhere lies on ink inside one traced region (a
// stroke the network dropped: an inlet drawn as one merged stroke, a spit,
// a dangle) or between two regions whose edge runs elsewhere.
void ClassifyMisses(const Rendered& r, const trace::Page& page, const trace::Network& net) {
    const int w = r.scan.width(), h = r.scan.height();
    const size_t n = size_t(w) * h;
    std::vector<uint8_t> trueLine, tracedLine;
    LinePictures(r, net, trueLine, tracedLine);
    const std::vector<uint16_t> toTraced = trace::DistanceToInk(tracedLine, w, h);
    const std::vector<int32_t> truthLabel = TruthLabels(r.truth);
    std::unordered_map<int32_t, int64_t> paperIn;  // per true region: scan paper pixels
    for (size_t i = 0; i < n; ++i)
        if (truthLabel[i] > 0 && !page.ink[i]) ++paperIn[truthLabel[i]];
    std::unordered_map<int32_t, int64_t> areaOf;
    for (size_t i = 0; i < n; ++i) ++areaOf[truthLabel[i]];
    int64_t wholePaper = 0, wholeFilled = 0, partsPaper = 0, partsFilled = 0;
    int64_t danglesInk = 0, betweenInk = 0, offInk = 0, wholePaperSmall = 0;
    std::array<int64_t, 6> runLen{};  // partial runs by length: <4, <8, <16, <32, <64, more
    auto red = [&](size_t i) { return trueLine[i] && toTraced[i] > 16; };
    ForEachPart(trueLine, w, h, [&](const std::vector<int32_t>& part) {
        int64_t missed = 0;
        for (int32_t p : part) missed += red(size_t(p));
        if (!missed) return;
        if (missed == int64_t(part.size())) {
            // The regions this ring encloses: those touching it that are not
            // the largest one round it.
            std::unordered_map<int32_t, int64_t> touch;
            for (int32_t p : part) {
                const int px = p % w, py = p / w;
                const int nx[4] = {px - 1, px + 1, px, px}, ny[4] = {py, py, py - 1, py + 1};
                for (int k = 0; k < 4; ++k)
                    if (nx[k] >= 0 && ny[k] >= 0 && nx[k] < w && ny[k] < h) {
                        const int32_t l = truthLabel[size_t(ny[k]) * w + nx[k]];
                        if (l > 0) ++touch[l];
                    }
            }
            int32_t outer = 0;
            for (auto [l, c] : touch)
                if (!outer || areaOf[l] > areaOf[outer]) outer = l;
            int64_t paper = 0;
            for (auto [l, c] : touch)
                if (l != outer) paper += paperIn[l];
            if (paper > 0) {
                wholePaper += missed, ++partsPaper;
                if (paper < 4) wholePaperSmall += missed;
            } else {
                wholeFilled += missed, ++partsFilled;
            }
            return;
        }
        for (int32_t p : part) {
            if (!red(size_t(p))) continue;
            const int px = p % w, py = p / w;
            bool onInk = false;
            int32_t l0 = -1;
            bool same = true;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    const size_t q = size_t(qy) * w + qx;
                    if (std::abs(dx) <= 1 && std::abs(dy) <= 1 && page.ink[q]) onInk = true;
                    if (l0 < 0) l0 = net.labels[q];
                    same = same && net.labels[q] == l0;
                }
            if (!onInk)
                ++offInk;
            else if (same)
                ++danglesInk;
            else
                ++betweenInk;
        }
    });
    // Lengths of the partial missed runs.
    std::vector<uint8_t> missedLine(n, 0);
    for (size_t i = 0; i < n; ++i) missedLine[i] = red(i);
    ForEachPart(missedLine, w, h, [&](const std::vector<int32_t>& part) {
        const int64_t len = int64_t(part.size());
        const int b = len < 4 ? 0 : len < 8 ? 1 : len < 16 ? 2 : len < 32 ? 3 : len < 64 ? 4 : 5;
        runLen[size_t(b)] += len;
    });
    std::printf("missed whole: paper inside %lld px in %lld parts (%lld px with < 4 paper px), "
                "filled %lld px in %lld parts\n",
                (long long)wholePaper, (long long)partsPaper, (long long)wholePaperSmall,
                (long long)wholeFilled, (long long)partsFilled);
    std::printf("missed stretches: on ink inside one region %lld, on ink between regions %lld, "
                "off ink %lld\n",
                (long long)danglesInk, (long long)betweenInk, (long long)offInk);
    std::printf("missed runs' pixels by run length <4 %lld <8 %lld <16 %lld <32 %lld <64 %lld more %lld\n",
                (long long)runLen[0], (long long)runLen[1], (long long)runLen[2],
                (long long)runLen[3], (long long)runLen[4], (long long)runLen[5]);
}

void Report(benchmark::State& state, const Scores& s, const trace::Network& net) {
    state.counters["matched"] = s.matched;
    state.counters["closed"] = s.closed;
    state.counters["F1"] = s.f1;
    state.counters["P"] = s.precision;
    state.counters["R"] = s.recall;
    state.counters["points_x"] = s.pointRatio;
    state.counters["gap"] = net.gap;
}

const char* const kVariants[] = {"clean w2",      "clean w1",    "clean w3",
                                  "clean w4",      "dash-dot w2", "noisy+names+rivers q75",
                                  "noisy q50",     "noisy q95",   "noisy rot1.5 w1",
                                  "dash-dot noisy"};

Style Variant(int variant) {
    Style s;
    switch (variant) {
        case 1:
            s.width = 1;
            break;
        case 2:
            s.width = 3;
            break;
        case 3:
            s.width = 4;
            break;
        case 4:
            s.dashDot = true;
            break;
        case 5:
            s.names = s.rivers = s.shabby = true, s.jpeg = 75, s.rotate = 0.7;
            break;
        case 6:
            s.names = s.rivers = s.shabby = true, s.jpeg = 50, s.rotate = 0.7;
            break;
        case 7:
            s.names = s.rivers = s.shabby = true, s.jpeg = 95, s.rotate = 0.7;
            break;
        case 8:
            s.width = 1.2, s.names = s.rivers = s.shabby = true, s.jpeg = 75, s.rotate = 1.5;
            break;
        case 9:
            s.dashDot = s.names = s.rivers = s.shabby = true, s.jpeg = 75, s.rotate = 0.7;
            break;
        default:
            break;
    }
    return s;
}

const Truth& County() {
    static const Truth truth = Generated(120, 70, 5);
    return truth;
}

// Degradations of a generated county map (about 120 regions, 2 px lines).
void BM_Quality(benchmark::State& state) {
    const int variant = int(state.range(0));
    state.SetLabel(kVariants[variant]);
    const Rendered r = Render(County(), Variant(variant));
    trace::Network net;
    for (auto _ : state) net = trace::Split(trace::ReadPage(r.scan));
    Report(state, Score(r, County(), net), net);
}
BENCHMARK(BM_Quality)->DenseRange(0, 9)->Unit(benchmark::kMillisecond)->Iterations(1);

// The shared world map as a truth, or an empty one when it is not there.
Truth World() {
    WorkData d;
    QString error;
    if (!ReadWorkFile(QStringLiteral(VELMOT_SHARED_DATA "/world-50m.vlm"), d, &error)) return {};
    Store st;
    st.AssignPoints(d.points);
    st.AreaCount = int16_t(d.names.size());
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots; ++k)
            st.AreaPos(k, a) = d.positions[size_t(a - 1)][size_t(k)];
    st.MapWidth = d.mapWidth, st.MapHeight = d.mapHeight;
    return FromStore(st);
}

// The shared world map, drawn at its own scale (7414 x 3481): small
// countries and islands a few pixels across; printed across an A3 sheet
// scanned at 300 dpi (4961 px wide, 2 px lines), a smaller scale still; and
// drawn larger than its own scale, as a world map is scanned for real, where
// the small countries have paper inside (1.5x and 2x; the trace takes about
// 14 bytes a pixel, 0.8 and 1.5 GB there; with the scoring the process
// peaks near 3 GB).
void BM_World(benchmark::State& state) {
    const Truth truth = World();
    if (truth.chains.empty()) {
        state.SkipWithError("world-50m.vlm not found");
        return;
    }
    Style s;
    s.width = double(state.range(0));
    s.scale = double(state.range(1)) / 1000;
    const Rendered r = Render(truth, s);
    trace::Network net;
    for (auto _ : state) net = trace::Split(trace::ReadPage(r.scan));
    const Scores sc = Score(r, truth, net);
    Report(state, sc, net);
    // Set aside: "banded" regions have no pixel farther than 2 px from their
    // own lines (at the map's scale the pen fills them: microstates, small
    // islands). The measure compares only pixels beyond that band, so such a
    // region has nothing to match (0 of 0 is never under 1 %); whether it
    // closes is counted apart. The shares without them are the tracing's.
    int without = 0, matched = 0, closed = 0, bandedClosed = 0;
    for (const Scores::At& a : sc.each) {
        if (a.interior == 0) {
            bandedClosed += a.closed;
            continue;
        }
        ++without, matched += a.matched, closed += a.closed;
    }
    const int banded = int(sc.each.size()) - without;
    state.counters["banded"] = banded;
    state.counters["banded_closed"] = double(bandedClosed) / std::max(1, banded);
    state.counters["matched_rest"] = double(matched) / std::max(1, without);
    state.counters["closed_rest"] = double(closed) / std::max(1, without);
}
BENCHMARK(BM_World)
    ->Args({1, 1000})
    ->Args({2, 1000})
    ->Args({2, 669})
    ->Args({1, 1500})
    ->Args({2, 1500})
    ->Args({1, 2000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int64_t PeakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// An A3 page at 300 dpi (4961 x 3508) of 300 counties with names, rivers
// and grain: the whole trace, then a re-run after the gap slider moves.
const Rendered& A3() {
    static const Rendered r = [] {
        const Truth truth = Generated(300, 120, 9);
        Style s;
        s.scale = std::min(4941.0 / truth.size.width(), 3488.0 / truth.size.height());
        s.width = 3;
        s.names = s.rivers = s.shabby = true;
        s.jpeg = 85;
        Rendered out = Render(truth, s);
        out.scan = out.scan.copy(0, 0, 4961, 3508);
        return out;
    }();
    return r;
}

void BM_A3Whole(benchmark::State& state) {
    const QImage& scan = A3().scan;
    const int64_t before = PeakKb();
    trace::Network net;
    for (auto _ : state) net = trace::Split(trace::ReadPage(scan));
    state.counters["regions"] = double(net.regions.size());
    state.counters["peak_MB"] = double(PeakKb()) / 1024;
    state.counters["peak_before_MB"] = double(before) / 1024;
}
BENCHMARK(BM_A3Whole)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_A3Rerun(benchmark::State& state) {
    static const trace::Page page = trace::ReadPage(A3().scan);
    int gap = page.autoGap;
    trace::Network net;
    for (auto _ : state) {
        gap = gap == page.autoGap ? page.autoGap + 2 : page.autoGap;  // the slider moves
        trace::SplitOptions o;
        o.gap = gap;
        net = trace::Split(page, o);
    }
    state.counters["regions"] = double(net.regions.size());
}
BENCHMARK(BM_A3Rerun)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // --write-scan N OUT: variant N of the county map as a scan, to try by hand.
    if (argc == 4 && !std::strcmp(argv[1], "--write-scan")) {
        const int v = std::atoi(argv[2]);
        if (v < 0 || v > 9) return 2;
        return Render(County(), Variant(v)).scan.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    // --write-trace N OUT: that scan with the traced network in red and a
    // circle round every true position whose region was not matched.
    if (argc == 4 && !std::strcmp(argv[1], "--write-trace")) {
        const int v = std::atoi(argv[2]);
        if (v < 0 || v > 9) return 2;
        const Rendered r = Render(County(), Variant(v));
        const trace::Network net = trace::Split(trace::ReadPage(r.scan));
        const Scores sc = Score(r, County(), net);
        QImage out = r.scan;
        QPainter p(&out);
        p.setPen(QPen(Qt::red, 1));
        for (const trace::Edge& e : net.edges)
            for (size_t k = 1; k < e.points.size(); ++k) p.drawLine(e.points[k - 1], e.points[k]);
        p.setPen(QPen(Qt::magenta, 3));
        for (const QPoint& m : sc.missed) p.drawEllipse(m, 12, 12);
        p.end();
        std::printf("missed %zu\n", sc.missed.size());
        for (const QPoint& m : sc.missed) std::printf("  at %d,%d\n", m.x(), m.y());
        return out.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    // --world-positions W SCALE OUT.csv: the world map with W px lines at
    // SCALE, every true position with its region's sizes and outcome.
    // --county-positions N OUT.csv: the same for variant N of the county map.
    const bool county = argc == 4 && !std::strcmp(argv[1], "--county-positions");
    if (county || (argc == 5 && !std::strcmp(argv[1], "--world-positions"))) {
        const Truth truth = county ? County() : World();
        if (truth.chains.empty()) return 1;
        Style s;
        if (county) {
            s = Variant(std::atoi(argv[2]));
        } else {
            s.width = std::atof(argv[2]);
            s.scale = std::atof(argv[3]);
        }
        const Rendered r = Render(truth, s);
        if (const char* v = std::getenv("TRACE_SCAN")) r.scan.save(QString::fromLocal8Bit(v));
        trace::SplitOptions o;
        if (const char* v = std::getenv("TRACE_GAP")) o.gap = std::atoi(v);
        if (const char* v = std::getenv("TRACE_MIN_AREA")) o.minArea = std::atoi(v);
        const trace::Page page = trace::ReadPage(r.scan);
        const bool classify = std::getenv("TRACE_CLASSIFY") != nullptr;
        const trace::Network net = trace::Split(page, o, classify);
        const Scores sc = Score(r, truth, net);
        if (classify) ClassifyMisses(r, page, net);
        std::printf("regions by gap radius:");
        for (int g = 0; g <= 12; ++g) std::printf(" %d:%d", g, page.regionsByGap[size_t(g)]);
        std::printf("\n");
        std::printf("threshold %d line width %d paper %d noise %d\n", page.threshold,
                    page.lineWidth, page.paperContrast, page.paperNoise);
        if (const char* v = std::getenv("TRACE_INK")) {
            QImage ink(page.width, page.height, QImage::Format_RGB32);
            for (int y = 0; y < page.height; ++y)
                for (int x = 0; x < page.width; ++x) {
                    const uint8_t k = page.ink[size_t(y) * page.width + x];
                    ink.setPixel(x, y, !k ? qRgb(255, 255, 255)
                                          : k & trace::kWord ? qRgb(0, 0, 220)
                                          : k & trace::kBlob ? qRgb(0, 160, 0)
                                                             : qRgb(0, 0, 0));
                }
            ink.save(QString::fromLocal8Bit(v));
        }
        if (const char* v = std::getenv("TRACE_PICTURE")) {
            QImage out = r.scan;
            QPainter p(&out);
            p.setPen(QPen(Qt::red, 0));
            for (const trace::Edge& e : net.edges)
                for (size_t k = 1; k < e.points.size(); ++k)
                    p.drawLine(e.points[k - 1], e.points[k]);
            p.setPen(QPen(Qt::magenta, 0));
            for (const QPoint& m : sc.missed) p.drawEllipse(m, 3, 3);
            p.end();
            out.save(QString::fromLocal8Bit(v));
            r.truth.save(QString::fromLocal8Bit(v) + ".truth.png");
        }
        FILE* f = std::fopen(argv[county ? 3 : 4], "w");
        if (!f) return 1;
        std::fprintf(f, "x,y,area,interior,widest,traced_area,sharing,wrong,matched,closed\n");
        for (const Scores::At& a : sc.each)
            std::fprintf(f, "%d,%d,%lld,%lld,%.2f,%lld,%d,%lld,%d,%d\n", a.p.x(), a.p.y(),
                         (long long)a.area, (long long)a.interior, a.widest,
                         (long long)a.tracedArea, a.sharing, (long long)a.wrong, a.matched,
                         a.closed);
        std::fclose(f);
        std::printf("matched %.4f closed %.4f F1 %.4f gap %d minArea %d\n", sc.matched, sc.closed,
                    sc.f1, net.gap, net.minArea);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
