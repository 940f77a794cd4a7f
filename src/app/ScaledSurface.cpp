#include "app/ScaledSurface.h"

#include <array>
#include <cstring>
#include <vector>

#include "raster/Surface.h"

QImage ScaledSurface(const Surface& s, ViewScale sc, QRect r) {
    r &= QRect(0, 0, sc.WidgetLength(s.Width()), sc.WidgetLength(s.Height()));
    if (r.isEmpty()) return {};
    // Straight to the screen's own pixel format: one table look-up a pixel,
    // and a magnified row is copied rather than looked up again.
    std::array<QRgb, 256> lut{};
    for (int i = 0; i < 16; ++i) lut[size_t(i)] = PaletteRgb(uint8_t(i));
    QImage out(r.size(), QImage::Format_RGB32);
    std::vector<int> column(size_t(r.width()));
    for (int i = 0; i < r.width(); ++i) column[size_t(i)] = sc.ToSurface(r.x() + i);
    const uint8_t* data = s.Data();
    const size_t stride = size_t(s.Width());
    int lastRow = -1;
    for (int j = 0; j < r.height(); ++j) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(j));
        const int row = sc.ToSurface(r.y() + j);
        if (row == lastRow) {
            std::memcpy(dst, out.constScanLine(j - 1), size_t(r.width()) * sizeof(QRgb));
            continue;
        }
        lastRow = row;
        const uint8_t* src = data + size_t(row) * stride;
        for (int i = 0; i < r.width(); ++i) dst[i] = lut[src[column[size_t(i)]]];
    }
    return out;
}
