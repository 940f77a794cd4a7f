#include "raster/Surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "raster/LinePixels.h"
#include "raster/RowScan.h"

namespace {
constexpr QRgb kRgb[16] = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

uint8_t NearestBySearch(int r, int g, int b) {
    int best = 0, bestD = std::numeric_limits<int>::max();
    for (int i = 0; i < 16; ++i) {
        const int dr = r - qRed(kRgb[i]), dg = g - qGreen(kRgb[i]), db = b - qBlue(kRgb[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {  // ties go to the lower index
            bestD = d;
            best = i;
        }
    }
    return uint8_t(best);
}

// Reducing a scanned picture asks for the nearest colour millions of times.
// The colour cube is cut into 4 x 4 x 4 cells; a cell whose eight corners
// share one nearest colour lies wholly in that colour's region (the regions
// are convex), so its answer is stored. Cells on a boundary keep kMixed and
// are searched exactly.
constexpr uint8_t kMixed = 0xFF;
const std::array<uint8_t, 64 * 64 * 64>& CellTable() {
    static const auto table = [] {
        auto t = std::make_unique<std::array<uint8_t, 64 * 64 * 64>>();
        for (int r = 0; r < 64; ++r)
            for (int g = 0; g < 64; ++g)
                for (int b = 0; b < 64; ++b) {
                    uint8_t c = NearestBySearch(r * 4, g * 4, b * 4);
                    for (int k = 1; k < 8 && c != kMixed; ++k)
                        if (NearestBySearch(r * 4 + (k & 1) * 3, g * 4 + (k >> 1 & 1) * 3,
                                            b * 4 + (k >> 2) * 3) != c)
                            c = kMixed;
                    (*t)[size_t(r << 12 | g << 6 | b)] = c;
                }
        return t;
    }();
    return *table;
}
}  // namespace

QRgb PaletteRgb(uint8_t index) {
    return index < 16 ? kRgb[index] : kRgb[0];
}

const QList<QRgb>& PaletteTable() {
    static const QList<QRgb> table(std::begin(kRgb), std::end(kRgb));
    return table;
}

uint8_t NearestColour(QRgb rgb) {
    const int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
    const uint8_t c = CellTable()[size_t((r >> 2) << 12 | (g >> 2) << 6 | (b >> 2))];
    return c != kMixed ? c : NearestBySearch(r, g, b);
}

bool Surface::Resize(int w, int h) {
    const bool blank = Blank();
    ++changes_.n;
    if (blank) blankAt_ = changes_.n;
    if (w < 0 || h < 0) return false;
    if (w == w_ && h == h_) return true;
    decltype(px_) next;
    try {
        next.resize(size_t(w) * size_t(h));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    // A blank surface has nothing to carry over (and its pages stay untouched).
    const int cw = blank ? 0 : std::min(w, w_), ch = blank ? 0 : std::min(h, h_);
    for (int y = 0; y < ch; ++y)
        std::copy_n(px_.begin() + ptrdiff_t(size_t(y) * size_t(w_)), cw,
                    next.begin() + ptrdiff_t(size_t(y) * size_t(w)));
    px_.swap(next);
    w_ = w;
    h_ = h;
    return true;
}

void Surface::Fill(uint8_t c) {
    ++changes_.n;
    std::fill(px_.begin(), px_.end(), c);
    if (c == Black) blankAt_ = changes_.n;
}

void Surface::PlotRop(int x, int y) {
    if (!Contains(x, y)) return;
    uint8_t& p = px_[size_t(y) * size_t(w_) + size_t(x)];
    p = Combine(p, pen_);
}

void Surface::Line(int x1, int y1, int x2, int y2) {
    ++changes_.n;
    if (x1 == x2 && y1 == y2) return;
    // Entirely beyond one edge: nothing to plot.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w_ && x2 >= w_) ||
        (y1 >= h_ && y2 >= h_))
        return;
    if (rop_ == Rop::Copy && Contains(x1, y1) && Contains(x2, y2)) {
        // Both ends inside: so is every pixel between them.
        uint8_t* px = px_.data();
        const size_t w = size_t(w_);
        const uint8_t pen = pen_;
        linepixels::ForEach(x1, y1, x2, y2,
                            [=](int64_t x, int64_t y) { px[size_t(y) * w + size_t(x)] = pen; });
        return;
    }
    linepixels::ForEach(x1, y1, x2, y2, [this](int64_t x, int64_t y) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) PlotRop(int(x), int(y));
    });
}

uint8_t Surface::Combine(uint8_t dst, uint8_t src) const {
    switch (rop_) {
        case Rop::Copy:
            return src;
        case Rop::Xor:
            return uint8_t((dst ^ src) & 0x0F);
        case Rop::NotXor:
            return uint8_t(~(dst ^ src) & 0x0F);
        case Rop::Black:
            return Black;
    }
    return src;
}

void Surface::SpanRop(int y, int from, int to, uint8_t c) {
    if (y < 0 || y >= h_) return;
    from = std::max(from, 0);
    to = std::min(to, w_);
    if (from >= to) return;
    uint8_t* row = px_.data() + size_t(y) * size_t(w_);
    if (rop_ == Rop::Copy) {
        std::fill(row + from, row + to, c);
        return;
    }
    for (int x = from; x < to; ++x) row[x] = Combine(row[x], c);
}

void Surface::FillSpan(int y, int from, int to, uint8_t c) {
    ++changes_.n;
    if (y < 0 || y >= h_) return;
    from = std::max(from, 0);
    to = std::min(to, w_);
    if (from < to)
        std::fill(px_.data() + size_t(y) * size_t(w_) + from,
                  px_.data() + size_t(y) * size_t(w_) + to, c);
}

void Surface::Rectangle(int x1, int y1, int x2, int y2) {
    ++changes_.n;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    // Every pixel is painted once (outline or interior), so an XOR rectangle
    // drawn twice restores the picture.
    for (int y = std::max(y1, 0); y < std::min(y2, h_); ++y) {
        if (y == y1 || y == y2 - 1) {
            SpanRop(y, x1, x2, pen_);
        } else {
            SpanRop(y, x1, x1 + 1, pen_);
            SpanRop(y, x1 + 1, x2 - 1, brush_);
            if (x2 - 1 > x1) SpanRop(y, x2 - 1, x2, pen_);
        }
    }
}

void Surface::Polyline(const std::vector<QPoint>& pts) {
    for (size_t i = 1; i < pts.size(); ++i)
        Line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y());
}

void Surface::Polygon(const std::vector<QPoint>& pts) {
    ++changes_.n;
    if (pts.size() < 2) return;
    int minY = pts[0].y(), maxY = pts[0].y();
    for (const QPoint& p : pts) {
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    minY = std::max(minY, 0);
    maxY = std::min(maxY, h_ - 1);
    std::vector<double> xs;
    const size_t n = pts.size();
    for (int y = minY; y <= maxY; ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < n; ++i) {
            const QPoint a = pts[i], b = pts[(i + 1) % n];
            if ((a.y() <= cy) == (b.y() <= cy)) continue;
            xs.push_back(a.x() + (cy - a.y()) * double(b.x() - a.x()) / double(b.y() - a.y()));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            // pixel x is inside when its centre x + 0.5 lies in [xs[k], xs[k+1])
            const double from = std::clamp(std::ceil(xs[k] - 0.5), -1.0, double(w_));
            const double to = std::clamp(std::ceil(xs[k + 1] - 0.5), -1.0, double(w_));
            SpanRop(y, int(from), int(to), brush_);
        }
    }
    std::vector<QPoint> closed(pts);
    closed.push_back(pts[0]);
    Polyline(closed);
}

namespace {
// Span flood fill over the pixels that pass the test, joining through the four
// edge neighbours; iterative. Each entry of the stack is a stretch of a row to
// look at, with the direction it was reached from: the run found there goes
// on in that direction, and only where it sticks out beyond the stretch does
// the row it came from need another look. Most work thus sweeps one row at a
// time, in order, with the runs' ends found a word at a time.
// Returns the bounding box of the filled pixels.
QRect SpanFill(uint8_t* px, int w, int h, int x0, int y0, uint8_t fill, const rowscan::Test& t) {
    if (x0 < 0 || y0 < 0 || x0 >= w || y0 >= h) return QRect();
    uint8_t* row0 = px + size_t(y0) * size_t(w);
    if (!t(row0[x0])) return QRect();
    struct Stretch {
        int y, l, r, dy;  // [l, r] of row y, reached from row y - dy
    };
    const int l0 = rowscan::Prev(row0, x0, 0, t, false) + 1;
    const int r0 = rowscan::Next(row0, x0, w, t, false) - 1;
    std::fill(row0 + l0, row0 + r0 + 1, fill);
    int minX = l0, maxX = r0, minY = y0, maxY = y0;
    std::vector<Stretch> stack{{y0 + 1, l0, r0, 1}, {y0 - 1, l0, r0, -1}};
    while (!stack.empty()) {
        const Stretch s = stack.back();
        stack.pop_back();
        if (s.y < 0 || s.y >= h) continue;
        uint8_t* row = px + size_t(s.y) * size_t(w);
        for (int x = rowscan::Next(row, s.l, s.r + 1, t, true); x <= s.r;) {
            const int from = x == s.l ? rowscan::Prev(row, x, 0, t, false) + 1 : x;
            const int to = rowscan::Next(row, x, w, t, false);  // past the run
            std::fill(row + from, row + to, fill);
            minX = std::min(minX, from);
            maxX = std::max(maxX, to - 1);
            minY = std::min(minY, s.y);
            maxY = std::max(maxY, s.y);
            stack.push_back({s.y + s.dy, from, to - 1, s.dy});
            if (from < s.l) stack.push_back({s.y - s.dy, from, s.l - 1, -s.dy});
            if (to - 1 > s.r) stack.push_back({s.y - s.dy, s.r + 1, to - 1, -s.dy});
            x = to + 1 <= s.r ? rowscan::Next(row, to + 1, s.r + 1, t, true) : s.r + 1;
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}
}  // namespace

QRect Surface::FloodFillBorder(int x, int y, uint8_t border, uint8_t fill) {
    ++changes_.n;
    // Pixels already holding the fill colour would be re-entered forever; treat
    // them as filled (the platform's fill stops at them too).
    return SpanFill(px_.data(), w_, h_, x, y, fill, rowscan::Test::NotEither(border, fill));
}

QRect Surface::FloodFillSurface(int x, int y, uint8_t surface, uint8_t fill) {
    ++changes_.n;
    if (surface == fill) return QRect();
    return SpanFill(px_.data(), w_, h_, x, y, fill, rowscan::Test::Equal(surface));
}

namespace {
// Rows of any picture as palette indices of the surface. Pictures in other
// formats are converted a strip at a time, so a large picture is never held
// twice in full.
class IndexRows {
  public:
    explicit IndexRows(const QImage& img) : img_(img) {
        if (img.format() == QImage::Format_Indexed8) {
            const QList<QRgb> table = img.colorTable();
            for (int i = 0; i < 256; ++i)
                lut_[size_t(i)] = NearestColour(i < table.size() ? table[i] : qRgb(0, 0, 0));
        }
        row_.resize(size_t(img.width()));
    }
    const uint8_t* Row(int y) {
        const int w = img_.width();
        if (img_.format() == QImage::Format_Indexed8) {
            const uchar* src = img_.constScanLine(y);
            for (int x = 0; x < w; ++x) row_[size_t(x)] = lut_[src[x]];
            return row_.data();
        }
        const QRgb* line;
        if (img_.format() == QImage::Format_RGB32 || img_.format() == QImage::Format_ARGB32) {
            line = reinterpret_cast<const QRgb*>(img_.constScanLine(y));
        } else {
            if (y < stripTop_ || y >= stripTop_ + strip_.height()) {
                stripTop_ = y - y % kStrip;
                const int h = std::min(kStrip, img_.height() - stripTop_);
                strip_ = img_.copy(0, stripTop_, w, h).convertToFormat(QImage::Format_RGB32);
            }
            line = reinterpret_cast<const QRgb*>(strip_.constScanLine(y - stripTop_));
        }
        QRgb lastIn = 0;
        uint8_t lastOut = NearestColour(lastIn);
        for (int x = 0; x < w; ++x) {
            if (line[x] != lastIn) {
                lastIn = line[x];
                lastOut = NearestColour(lastIn);
            }
            row_[size_t(x)] = lastOut;
        }
        return row_.data();
    }

  private:
    static constexpr int kStrip = 64;
    const QImage& img_;
    std::array<uint8_t, 256> lut_{};
    std::vector<uint8_t> row_;
    QImage strip_;
    int stripTop_ = -1;
};
}  // namespace

void Surface::DrawImage(const QImage& img, int x0, int y0) {
    ++changes_.n;
    if (img.isNull()) return;
    // Only the rows and columns that land on the surface are converted.
    const int yFrom = std::max(0, -y0), yTo = std::min(img.height(), h_ - y0);
    const int xFrom = std::max(0, -x0), xTo = std::min(img.width(), w_ - x0);
    if (yFrom >= yTo || xFrom >= xTo) return;
    IndexRows rows(img);
    for (int y = yFrom; y < yTo; ++y) {
        const uint8_t* src = rows.Row(y);
        std::copy(src + xFrom, src + xTo,
                  px_.data() + size_t(y0 + y) * size_t(w_) + size_t(x0 + xFrom));
    }
}

void Surface::StretchImage(const QImage& img, const QRect& dst) {
    ++changes_.n;
    if (img.isNull() || dst.width() <= 0 || dst.height() <= 0) return;
    const int sw = img.width(), sh = img.height();
    IndexRows rows(img);
    int lastSy = -1;
    const uint8_t* src = nullptr;
    for (int y = 0; y < dst.height(); ++y) {
        const int ty = dst.top() + y;
        if (ty < 0 || ty >= h_) continue;
        const int sy = int(int64_t(y) * sh / dst.height());
        if (sy != lastSy) {
            src = rows.Row(sy);
            lastSy = sy;
        }
        uint8_t* row = px_.data() + size_t(ty) * size_t(w_);
        for (int x = std::max(0, -dst.left()); x < dst.width(); ++x) {
            const int tx = dst.left() + x;
            if (tx >= w_) break;
            row[tx] = src[int64_t(x) * sw / dst.width()];
        }
    }
}

QImage Surface::ToImage() const {
    QImage img(w_, h_, QImage::Format_Indexed8);
    img.setColorTable(PaletteTable());
    for (int y = 0; y < h_; ++y)
        std::copy_n(px_.data() + size_t(y) * size_t(w_), w_, img.scanLine(y));
    return img;
}

QImage Surface::View() {
    ++changes_.n;
    QImage img(px_.data(), w_, h_, w_, QImage::Format_Indexed8);
    img.setColorTable(PaletteTable());
    return img;
}
