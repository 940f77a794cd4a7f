// Pixel work on the under-drawing.
#include <limits>

#include "base/Progress.h"
#include "raster/Picture.h"
#include "raster/Surface.h"

namespace {

bool Is32(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32;
}

// A 32-bit working copy of a picture in some other direct-colour format.
QImage::Format WorkFormat(const QImage& img) {
    return img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

// Steps the bar when row r is a multiple of (h div 10) + 1.
struct RowSteps {
    Progress* p;
    int every;
    RowSteps(Progress* progress, int h, int parts) : p(progress), every(h / parts + 1) {}
    void At(int r) const {
        if (p && r % every == 0) p->StepIt();
    }
};

// Runs f over every 32-bit pixel, row by row, in a picture of any direct
// format; the picture keeps its format.
template <typename F>
void ForEachRgb(QImage& img, Progress* progress, F f) {
    const QImage::Format original = img.format();
    QImage work = Is32(original) ? std::move(img) : img.convertToFormat(WorkFormat(img));
    const RowSteps steps(progress, work.height(), 10);
    for (int y = 0; y < work.height(); ++y) {
        steps.At(y);
        QRgb* line = reinterpret_cast<QRgb*>(work.scanLine(y));
        for (int x = 0; x < work.width(); ++x) line[x] = f(line[x]);
    }
    img = Is32(original) ? std::move(work) : work.convertToFormat(original);
}

bool IsPalette(const QImage& img) {
    return img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono ||
           img.format() == QImage::Format_MonoLSB;
}

}  // namespace

void InvertPicture(QImage& img, Progress* progress) {
    if (img.isNull()) return;
    if (IsPalette(img)) {
        QList<QRgb> table = img.colorTable();
        for (QRgb& c : table) c ^= 0x00FFFFFFu;
        img.setColorTable(table);
        const RowSteps steps(progress, img.height(), 10);
        for (int y = 0; y < img.height(); ++y) steps.At(y);
        return;
    }
    ForEachRgb(img, progress, [](QRgb p) { return p ^ 0x00FFFFFFu; });
}

void MonotonePicture(QImage& img, QRgb c, Progress* progress) {
    if (img.isNull()) return;
    if (IsPalette(img)) {
        if (img.format() != QImage::Format_Indexed8)
            img = img.convertToFormat(QImage::Format_Indexed8);
        const QList<QRgb> table = img.colorTable();
        if (table.isEmpty()) return;
        // The palette colour nearest to c stands for it.
        int pick = 0;
        long best = std::numeric_limits<long>::max();
        for (int i = 0; i < table.size(); ++i) {
            const long dr = qRed(table[i]) - qRed(c), dg = qGreen(table[i]) - qGreen(c),
                       db = qBlue(table[i]) - qBlue(c);
            const long d = dr * dr + dg * dg + db * db;
            if (d < best) {
                best = d;
                pick = i;
            }
        }
        const RowSteps steps(progress, img.height(), 10);
        for (int y = 0; y < img.height(); ++y) {
            steps.At(y);
            uchar* line = img.scanLine(y);
            for (int x = 0; x < img.width(); ++x) {
                const int i = line[x];
                const QRgb was = i < table.size() ? table[i] : 0;
                if ((was & 0x00FFFFFFu) != 0) line[x] = uchar(pick);
            }
        }
        return;
    }
    const QRgb ink = c & 0x00FFFFFFu;
    ForEachRgb(img, progress,
               [ink](QRgb p) { return (p & 0x00FFFFFFu) != 0 ? (p & 0xFF000000u) | ink : p; });
}

bool ExpandPicture(const QImage& img, Surface& out, Progress* progress) {
    if (img.isNull()) return false;
    const int w = img.width(), h = img.height();
    if (2 * w > MaxPictureSide || 2 * h > MaxPictureSide) return false;
    Surface big;
    if (!big.Resize(2 * w, 2 * h)) return false;
    big.StretchImage(img, QRect(0, 0, 2 * w, 2 * h));
    big.SetRop(Rop::Black);
    big.SetPen(Black);
    const RowSteps cols(progress, w, 5);
    for (int i = 0; i <= w; ++i) {
        cols.At(i);
        big.Line(2 * i, 1, 2 * i, 2 * h);
    }
    const RowSteps rows(progress, h, 5);
    for (int i = 0; i <= h; ++i) {
        rows.At(i);
        big.Line(0, 2 * i, 2 * w, 2 * i);
    }
    big.SetRop(Rop::Copy);
    out = std::move(big);
    return true;
}
