#include "raster/Surface.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <cmath>

namespace {
const QList<QRgb> kPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
}  // namespace

QRgb PaletteRgb(uint8_t index) { return index < 16 ? kPalette[index] : qRgb(0, 0, 0); }

const QList<QRgb>& PaletteTable() { return kPalette; }

uint8_t NearestColour(QRgb rgb) {
    int best = 0;
    long bestD = std::numeric_limits<long>::max();
    for (int i = 0; i < 16; ++i) {
        const long dr = qRed(rgb) - qRed(kPalette[i]);
        const long dg = qGreen(rgb) - qGreen(kPalette[i]);
        const long db = qBlue(rgb) - qBlue(kPalette[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return uint8_t(best);
}

bool Surface::Resize(int w, int h) {
    if (w < 0 || h < 0) return false;
    if (w == w_ && h == h_) return true;
    std::vector<uint8_t> next;
    try {
        next.assign(size_t(w) * size_t(h), Black);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    const int cw = std::min(w, w_), ch = std::min(h, h_);
    for (int y = 0; y < ch; ++y)
        std::copy_n(px_.begin() + ptrdiff_t(size_t(y) * size_t(w_)), cw,
                    next.begin() + ptrdiff_t(size_t(y) * size_t(w)));
    px_.swap(next);
    w_ = w;
    h_ = h;
    return true;
}

void Surface::Fill(uint8_t c) { std::fill(px_.begin(), px_.end(), c); }

void Surface::PlotRop(int x, int y) {
    if (!Contains(x, y)) return;
    uint8_t& p = px_[size_t(y) * size_t(w_) + size_t(x)];
    switch (rop_) {
        case Rop::Copy: p = pen_; break;
        case Rop::Xor: p = uint8_t((p ^ pen_) & 0x0F); break;
        case Rop::NotXor: p = uint8_t(~(p ^ pen_) & 0x0F); break;
        case Rop::Black: p = Black; break;
    }
}

void Surface::Line(int x1, int y1, int x2, int y2) {
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (!(x == x2 && y == y2)) {
        PlotRop(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Surface::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const int cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
    const int cx2 = std::min(x2, w_), cy2 = std::min(y2, h_);
    for (int y = cy1; y < cy2; ++y) {
        uint8_t* row = px_.data() + size_t(y) * size_t(w_);
        for (int x = cx1; x < cx2; ++x) {
            const bool edge = x == x1 || x == x2 - 1 || y == y1 || y == y2 - 1;
            row[x] = edge ? pen_ : brush_;
        }
    }
}

void Surface::Polyline(const std::vector<QPoint>& pts) {
    for (size_t i = 1; i < pts.size(); ++i) Line(pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y());
}

void Surface::Polygon(const std::vector<QPoint>& pts) {
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
        uint8_t* row = px_.data() + size_t(y) * size_t(w_);
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            // pixel x is inside when its centre x + 0.5 lies in [xs[k], xs[k+1])
            int from = int(std::ceil(xs[k] - 0.5)), to = int(std::ceil(xs[k + 1] - 0.5));
            from = std::max(from, 0);
            to = std::min(to, w_);
            for (int x = from; x < to; ++x) row[x] = brush_;
        }
    }
    std::vector<QPoint> closed(pts);
    closed.push_back(pts[0]);
    Polyline(closed);
}

namespace {
// Span flood fill over the pixels for which inside(x, y) holds, joining through
// the four edge neighbours; iterative, with an explicit stack of seeds.
// Returns the bounding box of the filled pixels.
template <class Inside>
QRect SpanFill(uint8_t* px, int w, int h, int x0, int y0, uint8_t fill, Inside inside) {
    if (x0 < 0 || y0 < 0 || x0 >= w || y0 >= h) return QRect();
    if (!inside(px[size_t(y0) * size_t(w) + size_t(x0)])) return QRect();
    int minX = x0, maxX = x0, minY = y0, maxY = y0;
    std::vector<std::pair<int, int>> stack;
    stack.emplace_back(x0, y0);
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        uint8_t* row = px + size_t(y) * size_t(w);
        if (!inside(row[x])) continue;
        int l = x, r = x;
        while (l > 0 && inside(row[l - 1])) --l;
        while (r < w - 1 && inside(row[r + 1])) ++r;
        for (int i = l; i <= r; ++i) row[i] = fill;
        minX = std::min(minX, l);
        maxX = std::max(maxX, r);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h) continue;
            uint8_t* nrow = px + size_t(ny) * size_t(w);
            bool inRun = false;
            for (int i = l; i <= r; ++i) {
                const bool in = inside(nrow[i]);
                if (in && !inRun) stack.emplace_back(i, ny);
                inRun = in;
            }
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}
}  // namespace

QRect Surface::FloodFillBorder(int x, int y, uint8_t border, uint8_t fill) {
    if (fill == border)
        return SpanFill(px_.data(), w_, h_, x, y, fill, [&](uint8_t c) { return c != border; });
    // Pixels already holding the fill colour would be re-entered forever; treat
    // them as filled (the platform's fill stops at them too).
    return SpanFill(px_.data(), w_, h_, x, y, fill,
                    [&](uint8_t c) { return c != border && c != fill; });
}

QRect Surface::FloodFillSurface(int x, int y, uint8_t surface, uint8_t fill) {
    if (surface == fill) return QRect();
    return SpanFill(px_.data(), w_, h_, x, y, fill, [&](uint8_t c) { return c == surface; });
}

void Surface::DrawImage(const QImage& img, int x0, int y0) {
    if (img.isNull()) return;
    const QImage src = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const int ty = y0 + y;
        if (ty < 0 || ty >= h_) continue;
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* row = px_.data() + size_t(ty) * size_t(w_);
        QRgb lastIn = line[0] ^ 1u;
        uint8_t lastOut = 0;
        for (int x = 0; x < src.width(); ++x) {
            const int tx = x0 + x;
            if (tx < 0 || tx >= w_) continue;
            if (line[x] != lastIn) {
                lastIn = line[x];
                lastOut = NearestColour(lastIn);
            }
            row[tx] = lastOut;
        }
    }
}

void Surface::StretchImage(const QImage& img, const QRect& dst) {
    if (img.isNull() || dst.width() <= 0 || dst.height() <= 0) return;
    const QImage src = img.convertToFormat(QImage::Format_RGB32);
    const int sw = src.width(), sh = src.height();
    for (int y = 0; y < dst.height(); ++y) {
        const int ty = dst.top() + y;
        if (ty < 0 || ty >= h_) continue;
        const int sy = int(int64_t(y) * sh / dst.height());
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        uint8_t* row = px_.data() + size_t(ty) * size_t(w_);
        for (int x = 0; x < dst.width(); ++x) {
            const int tx = dst.left() + x;
            if (tx < 0 || tx >= w_) continue;
            row[tx] = NearestColour(line[int64_t(x) * sw / dst.width()]);
        }
    }
}

QImage Surface::ToImage() const {
    QImage img(w_, h_, QImage::Format_Indexed8);
    img.setColorTable(kPalette);
    for (int y = 0; y < h_; ++y) std::copy_n(px_.data() + size_t(y) * size_t(w_), w_, img.scanLine(y));
    return img;
}

QImage Surface::View() {
    QImage img(px_.data(), w_, h_, w_, QImage::Format_Indexed8);
    img.setColorTable(kPalette);
    return img;
}
