#include "app/ViewLayers.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "raster/LinePixels.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace view {
namespace {

// The width of a line zoomed out, in screen pixels: at 1.2 even a segment of
// a quarter pixel at 1/8 still turns a pixel more than half way to its
// colour; at 1.0 some were left fainter.
constexpr double OutWidth = 1.2;

// The colour of a segment's middle pixel as the surface drew it (more than
// 15: not a palette colour, not drawn).
uint8_t MiddleColour(const Surface& s, Rec a, Rec b) {
    const int64_t steps = std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
    int64_t i = 0, mx = a.x, my = a.y;
    linepixels::ForEach(a.x, a.y, b.x, b.y, [&](int64_t x, int64_t y) {
        if (i++ == steps / 2) mx = x, my = y;
    });
    return s.Pixel(int(mx), int(my));
}

// The colour a segment is shown in: its middle pixel's. A segment between
// two neighbouring pixels has no pixel of its own (both are its points'
// marks, white): it takes the colour of the segment it continues, so a
// coast's one-pixel steps do not show as white dashes. Segments are asked
// in list order.
class SegmentColours {
  public:
    explicit SegmentColours(const Surface& s) : s_(s) {}
    uint8_t operator()(Rec a, Rec b) {
        const bool step = std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)) <= 1;
        if (!(step && a == end_ && colour_ <= 15)) colour_ = MiddleColour(s_, a, b);
        end_ = b;
        return colour_;
    }

  private:
    const Surface& s_;
    Rec end_{};
    uint8_t colour_ = 255;
};

// Calls f(a, b) for every drawn segment of the lists (both ends off the
// separator's x = 0) whose box meets r, and g(p, lone) for every end point in
// r (lone: no segment on either side), in list order: the records near r
// come from the index, not from a pass over the whole map.
template <class Seg, class Pt>
void ForEachDrawn(const NetworkIndex& net, QRect r, Seg f, Pt g) {
    std::vector<int32_t> near;
    for (int which = 0; which < 2; ++which) {
        const std::vector<Rec>& list = net.List(which);
        net.Near(which, r, near);
        for (const int32_t i : near) {
            const Rec cur = list[size_t(i)];
            if (cur.x > 0 && r.contains(cur.x, cur.y))
                g(cur, (i == 0 || list[size_t(i) - 1].x == 0) &&
                           (size_t(i) + 1 == list.size() || list[size_t(i) + 1].x == 0));
            if (i == 0) continue;
            const Rec prev = list[size_t(i) - 1];
            if (prev.x != 0 && cur.x != 0 && std::max(prev.x, cur.x) >= r.left() &&
                std::min(prev.x, cur.x) <= r.right() && std::max(prev.y, cur.y) >= r.top() &&
                std::min(prev.y, cur.y) <= r.bottom())
                f(prev, cur);
        }
    }
}

// What of the network a rectangle shows: its segments and its end points, in
// list order.
struct Shown {
    std::vector<std::pair<Rec, Rec>> segments;
    std::vector<Rec> points, lone;
    Shown(const NetworkIndex& net, QRect r) {
        ForEachDrawn(
            net, r, [this](Rec a, Rec b) { segments.emplace_back(a, b); },
            [this](Rec a, bool single) {
                points.push_back(a);
                if (single) lone.push_back(a);
            });
    }
};

std::vector<uint8_t> MaskOf(const Shown& shown, QRect r) {
    std::vector<uint8_t> mask(size_t(std::max(0, r.width())) * size_t(std::max(0, r.height())));
    if (mask.empty()) return mask;
    auto set = [&](int x, int y) {
        if (r.contains(x, y)) mask[size_t(y - r.y()) * size_t(r.width()) + size_t(x - r.x())] = 1;
    };
    for (const auto& [a, b] : shown.segments)
        linepixels::ForEach(a.x, a.y, b.x, b.y, [&](int64_t x, int64_t y) { set(int(x), int(y)); });
    for (Rec a : shown.points) set(a.x, a.y);
    return mask;
}

}  // namespace

// ---- zoomed out ----

void ZoomedOut::Build(const Surface& s, const NetworkIndex& net, QRect want) {
    // Whole blocks of the coarsest level, so every level is rebuilt from
    // children that are current.
    const int x0 = std::max(0, want.left()) / 8 * 8, y0 = std::max(0, want.top()) / 8 * 8;
    const int x1 = std::min(w_, (want.right() + 8) / 8 * 8);
    const int y1 = std::min(h_, (want.bottom() + 8) / 8 * 8);
    if (x0 >= x1 || y0 >= y1) return;
    const QRect a(x0, y0, x1 - x0, y1 - y0);
    const std::vector<uint8_t> mask = MaskOf(Shown(net, a), a);
    std::array<QRgb, 16> lut{};
    for (int i = 0; i < 16; ++i) lut[size_t(i)] = PaletteRgb(uint8_t(i));

    // Level k from level k - 1 (the surface for k = 0): the mean of the
    // children that are not network, each weighted by the surface pixels it
    // stands for; a block of nothing but network takes the plain mean (a
    // line is drawn over it anyway).
    int cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1, cw = w_, ch = h_;
    for (int k = 0; k < 3; ++k) {
        Level& L = levels_[k];
        const int lw = L.base.width(), lh = L.base.height();
        const int px0 = cx0 / 2, py0 = cy0 / 2, px1 = (cx1 + 1) / 2, py1 = (cy1 + 1) / 2;
        for (int y = py0; y < py1 && y < lh; ++y) {
            auto* out = reinterpret_cast<QRgb*>(L.base.scanLine(y));
            for (int x = px0; x < px1 && x < lw; ++x) {
                int sum[3] = {0, 0, 0}, all[3] = {0, 0, 0}, n = 0, weight = 0;
                for (int dy = 0; dy < 2; ++dy) {
                    const int sy = 2 * y + dy;
                    if (sy >= ch) break;
                    for (int dx = 0; dx < 2; ++dx) {
                        const int sx = 2 * x + dx;
                        if (sx >= cw) break;
                        QRgb c;
                        int wt;
                        if (k == 0) {
                            c = lut[s.Data()[size_t(sy) * size_t(w_) + size_t(sx)] & 15];
                            wt =
                                mask[size_t(sy - y0) * size_t(a.width()) + size_t(sx - x0)] ? 0 : 1;
                        } else {
                            const Level& C = levels_[k - 1];
                            c = reinterpret_cast<const QRgb*>(C.base.constScanLine(sy))[sx];
                            wt = C.weight[size_t(sy) * size_t(cw) + size_t(sx)];
                        }
                        sum[0] += qRed(c) * wt, sum[1] += qGreen(c) * wt, sum[2] += qBlue(c) * wt;
                        all[0] += qRed(c), all[1] += qGreen(c), all[2] += qBlue(c);
                        weight += wt;
                        ++n;
                    }
                }
                L.weight[size_t(y) * size_t(lw) + size_t(x)] = uint8_t(weight);
                out[x] = weight > 0 ? qRgb(sum[0] / weight, sum[1] / weight, sum[2] / weight)
                                    : qRgb(all[0] / n, all[1] / n, all[2] / n);
            }
        }
        cx0 = px0, cy0 = py0, cx1 = px1, cy1 = py1, cw = lw, ch = lh;
    }
    for (Level& L : levels_)
        if (!L.shownWhole) L.shownDirty.push_back(a);
}

void ZoomedOut::Draw(int k, const Surface& s, const NetworkIndex& net, QRect a) {
    Level& L = levels_[k];
    const int step = 2 << k;
    // One pixel more round: the edge of a line that was there may reach it.
    const QRect la = QRect(a.x() / step, a.y() / step, (a.width() + step - 1) / step,
                           (a.height() + step - 1) / step)
                         .adjusted(-1, -1, 1, 1) &
                     L.base.rect();
    QPainter p(&L.shown);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(la.topLeft(), L.base, la);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setClipRect(la);
    p.setRenderHint(QPainter::Antialiasing);
    // Lines from outside whose edge reaches in are drawn too.
    const int reach = 2 * step;
    const Shown drawn(net, a.adjusted(-reach, -reach, reach, reach));
    auto at = [step](Rec r) { return QPointF((r.x + 0.5) / step, (r.y + 0.5) / step); };
    // Square caps keep the raster engine on its quick path for plain lines;
    // lines of one colour go in one call.
    std::vector<QLineF> lines;
    uint8_t colour = 255;
    auto flush = [&] {
        if (lines.empty()) return;
        p.setPen(QPen(QColor(PaletteRgb(colour)), OutWidth, Qt::SolidLine, Qt::SquareCap));
        p.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };
    // A run of segments is drawn a pixel at a time: the points it passes
    // within a pixel of where its last line ended are left out, so a long
    // coast at 1/8 is not a thousand lines in one pixel.
    bool open = false, rest = false;  // a run under way; a part of it not drawn yet
    QPointF from, to;
    Rec last{};
    auto end = [&] {
        if (open && rest) lines.emplace_back(from, to);
        open = rest = false;
    };
    SegmentColours colourOf(s);
    for (const auto& [a0, b0] : drawn.segments) {
        const uint8_t c = colourOf(a0, b0);
        if (c > 15) {
            end();
            continue;
        }
        if (c != colour || !open || !(a0 == last)) {
            end();
            if (c != colour) flush();
            colour = c;
            from = at(a0);
            open = true;
        }
        to = at(b0);
        last = b0;
        rest = true;
        const QPointF d = to - from;
        if (d.x() * d.x() + d.y() * d.y() >= 1.0) {
            lines.emplace_back(from, to);
            from = to;
            rest = false;
        }
    }
    end();
    // A point on its own is a dot.
    for (Rec pt : drawn.lone) {
        const uint8_t c = s.Pixel(pt.x, pt.y);
        if (c > 15) continue;
        if (c != colour) flush();
        colour = c;
        lines.emplace_back(at(pt), at(pt));
    }
    flush();
}

void ZoomedOut::Remember(const Surface& s, QRect r) {
    if (made_.empty()) return;
    r &= QRect(0, 0, w_, h_);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const size_t at = size_t(y) * size_t(w_) + size_t(r.left());
        std::memcpy(made_.data() + at, s.Data() + at, size_t(r.width()));
    }
}

void ZoomedOut::FindChanges(const Surface& s) {
    // Bands of 8 rows (a block of the coarsest level); changed bands next to
    // each other make one rectangle.
    QRect open;
    for (int y0 = 0; y0 < h_; y0 += 8) {
        int lo = w_, hi = -1;
        for (int y = y0; y < std::min(h_, y0 + 8); ++y) {
            const size_t row = size_t(y) * size_t(w_);
            const uint8_t* a = made_.data() + row;
            const uint8_t* b = s.Data() + row;
            if (std::memcmp(a, b, size_t(w_)) == 0) continue;
            int x = 0, z = w_ - 1;
            while (a[x] == b[x]) ++x;
            while (a[z] == b[z]) --z;
            lo = std::min(lo, x), hi = std::max(hi, z);
        }
        if (hi < 0) {
            if (!open.isNull()) dirty_.push_back(open);
            open = QRect();
            continue;
        }
        open |= QRect(lo, y0, hi - lo + 1, std::min(8, h_ - y0));
    }
    if (!open.isNull()) dirty_.push_back(open);
}

QImage ZoomedOut::Part(const Surface& s, const NetworkIndex& net, ViewScale sc, QRect r) {
    if (whole_ && w_ == s.Width() && h_ == s.Height() && !made_.empty()) {
        dirty_.clear();
        FindChanges(s);
        whole_ = false;
    }
    if (whole_ || w_ != s.Width() || h_ != s.Height()) {
        w_ = s.Width();
        h_ = s.Height();
        for (int k = 0; k < 3; ++k) {
            const int step = 2 << k;
            Level& L = levels_[k];
            L.base = QImage((w_ + step - 1) / step, (h_ + step - 1) / step, QImage::Format_RGB32);
            L.weight.assign(size_t(L.base.width()) * size_t(L.base.height()), 0);
            L.shown = QImage();  // made when first shown
            L.shownWhole = true;
            L.shownDirty.clear();
        }
        Build(s, net, QRect(0, 0, w_, h_));
        // A copy to compare with, unless the surface is so large that the
        // copy would cost more memory than making the levels again costs time.
        if (size_t(w_) * size_t(h_) <= MaxCopied)
            made_.assign(s.Data(), s.Data() + size_t(w_) * size_t(h_));
        else
            std::vector<uint8_t>().swap(made_);
        whole_ = false;
        dirty_.clear();
    }
    for (const QRect& d : dirty_) {
        Build(s, net, d);
        Remember(s, d);
    }
    dirty_.clear();
    const int k = std::clamp(-sc.exp, 1, 3) - 1;
    Level& L = levels_[k];
    if (L.shownWhole) {
        L.shown = QImage(L.base.size(), QImage::Format_RGB32);
        Draw(k, s, net, QRect(0, 0, w_, h_));
        L.shownWhole = false;
        L.shownDirty.clear();
    }
    for (const QRect& d : L.shownDirty) Draw(k, s, net, d);
    L.shownDirty.clear();
    return L.shown.copy(r & L.shown.rect());
}

// ---- zoomed in ----

void PaintZoomedIn(QPainter& p, const Surface& s, const NetworkIndex& net, ViewScale sc, QRect r) {
    const int cell = sc.Cell();
    // The surface pixels shown, and one more round them so that the smooth
    // magnification has its neighbours at the edge.
    const QRect shown(QPoint(r.left() / cell, r.top() / cell),
                      QPoint(r.right() / cell, r.bottom() / cell));
    const QRect v = shown.adjusted(-1, -1, 1, 1) & QRect(0, 0, s.Width(), s.Height());
    if (v.isEmpty()) return;
    // One look-up in the index, not one for each of the three uses.
    const Shown drawn(net, v);
    const std::vector<uint8_t> mask = MaskOf(drawn, v);

    // The surface without the network: each network pixel takes the colour
    // of the next other pixel along its row (the line is drawn over it).
    QImage base(v.size(), QImage::Format_RGB32);
    for (int y = 0; y < v.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(base.scanLine(y));
        const uint8_t* row = s.Data() + size_t(v.y() + y) * size_t(s.Width()) + size_t(v.x());
        const uint8_t* m = mask.data() + size_t(y) * size_t(v.width());
        int last = -1;
        for (int x = 0; x < v.width(); ++x) {
            if (m[x]) continue;
            const QRgb c = PaletteRgb(row[x] & 15);
            for (int f = last + 1; f < x; ++f) out[f] = c;  // a run of line pixels before
            out[x] = c;
            last = x;
        }
        if (last >= 0) {
            for (int f = last + 1; f < v.width(); ++f) out[f] = out[last];
        } else {
            // A row of nothing but network (a flat line seen close up): the row above.
            const QRgb* above =
                y > 0 ? reinterpret_cast<const QRgb*>(base.constScanLine(y - 1)) : nullptr;
            for (int f = 0; f < v.width(); ++f) out[f] = above ? above[f] : PaletteRgb(row[f] & 15);
        }
    }
    p.save();
    p.setClipRect(r);
    // Magnified while drawn: no intermediate image of the viewport's size.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(v.topLeft() * cell, v.size() * cell), base);

    // The network over it, in the colours the surface gives its pixels, so
    // line kinds and marks keep theirs.
    p.setRenderHint(QPainter::Antialiasing);
    auto centre = [cell](Rec a) { return QPointF((a.x + 0.5) * cell, (a.y + 0.5) * cell); };
    // Segments of one colour, one after the other in the lists, go in one
    // call: the raster engine fills plain lines (square or flat caps) straight,
    // without building an outline for each.
    std::vector<QLineF> lines;
    uint8_t linesColour = 255;
    auto flush = [&] {
        if (lines.empty()) return;
        p.setPen(QPen(QColor(PaletteRgb(linesColour)), 2.0, Qt::SolidLine, Qt::SquareCap));
        p.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };
    SegmentColours colourOf(s);
    for (const auto& [a, b] : drawn.segments) {
        const uint8_t c = colourOf(a, b);
        if (c > 15) continue;
        if (c != linesColour) flush();
        linesColour = c;
        lines.emplace_back(centre(a), centre(b));
    }
    flush();
    // The points as handles, in the colour their pixel has: whole-pixel
    // squares, crisp and filled without antialiasing's cost; handles of one
    // colour in a row go in one call.
    const int side = std::clamp(cell / 2 + 2, 3, 7);
    p.setPen(Qt::NoPen);
    p.setRenderHint(QPainter::Antialiasing, false);
    std::vector<QRect> rects;
    uint8_t rectsColour = 255;
    auto fill = [&] {
        if (rects.empty()) return;
        p.setBrush(QColor(PaletteRgb(rectsColour)));
        p.drawRects(rects.data(), int(rects.size()));
        rects.clear();
    };
    for (Rec a : drawn.points) {
        const uint8_t c = s.Pixel(a.x, a.y);
        if (c > 15) continue;
        if (c != rectsColour) fill();
        rectsColour = c;
        const QPointF m = centre(a);
        rects.emplace_back(int(std::floor(m.x() - side / 2.0)), int(std::floor(m.y() - side / 2.0)),
                           side, side);
    }
    fill();
    p.restore();
}

}  // namespace view

void view::PaintControlPoints(QPainter& p, const Store& st, ViewScale sc, QRect r,
                              const std::function<QPointF(int, QPointF)>& at) {
    const auto& points = st.Geo.points;
    if (points.empty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const QRect reach = r.adjusted(-40, -20, 20, 20);
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF s = at(int(i), QPointF(points[i].px, points[i].py));
        // The middle of the point's pixel, in widget pixels.
        const QPointF w((s.x() + 0.5) * sc.Zoom(), (s.y() + 0.5) * sc.Zoom());
        if (!reach.contains(w.toPoint())) continue;
        // Colours the 16-colour surface never shows, on a white halo.
        const QColor ink = points[i].enabled ? QColor(255, 96, 0) : QColor(150, 150, 150);
        for (const auto& [pen, width] : {std::pair{QColor(Qt::white), 4.0}, std::pair{ink, 2.0}}) {
            p.setPen(QPen(pen, width));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(w, 6, 6);
            p.drawLine(w - QPointF(9, 0), w - QPointF(3, 0));
            p.drawLine(w + QPointF(3, 0), w + QPointF(9, 0));
            p.drawLine(w - QPointF(0, 9), w - QPointF(0, 3));
            p.drawLine(w + QPointF(0, 3), w + QPointF(0, 9));
        }
        const QString label = QString::number(i + 1);
        const QPointF text = w + QPointF(9, -8);
        p.setPen(QPen(Qt::white, 3));
        QPainterPath path;
        path.addText(text, font, label);
        p.drawPath(path);
        p.fillPath(path, ink);
    }
    p.restore();
}
