// Tracing on arbitrary small pages: whatever the pixels and the settings,
// the network is one the composition can take (chains of two points or
// more, inside the page, none at X < 1, no zero-length segment, no two
// segments meeting but at a shared end) and every edge lies between two
// regions that exist.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ops/Simplify.h"
#include "trace/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Width and height (1..64), the gap, the smallest region, the
    // tolerance, a sampled ink or none; then the pixels, grey or RGB,
    // repeated over the page.
    if (size < 6) return 0;
    const int w = 1 + data[0] % 64, h = 1 + data[1] % 64;
    const int gap = int(data[2] % (trace::kMaxGap + 2)) - 1;
    const int minArea = data[3] < 16 ? -1 : data[3] * 4;
    const double simplify = (data[4] % 5) * 0.5;
    const bool rgb = data[5] & 1, sampled = data[5] & 2;
    const uint8_t* px = data + 6;
    const size_t n = size - 6;
    QImage page(w, h, QImage::Format_RGB32);
    size_t k = 0;
    auto next = [&] { return n ? px[k++ % n] : uint8_t(255); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int r = next(), g = rgb ? next() : r, b = rgb ? next() : r;
            page.setPixel(x, y, qRgb(r, g, b));
        }
    trace::InkOptions ink;
    if (sampled) ink.ink = page.pixel(0, 0);
    const trace::Page read = trace::ReadPage(page, ink);
    if (read.width != w || read.height != h) std::abort();
    trace::SplitOptions options;
    options.gap = gap, options.minArea = minArea, options.simplify = simplify;
    const trace::Network net = trace::Split(read, options, true);
    if (net.labels.size() != size_t(w) * h) std::abort();
    for (int32_t l : net.labels)
        if (l < 1 || size_t(l) > net.regions.size()) std::abort();

    std::vector<std::pair<QPoint, QPoint>> segs;
    for (const trace::Edge& e : net.edges) {
        if (e.points.size() < 2) std::abort();
        if (e.left < 1 || e.right < 1 || size_t(std::max(e.left, e.right)) > net.regions.size())
            std::abort();
        for (size_t i = 0; i < e.points.size(); ++i) {
            const QPoint p = e.points[i];
            if (p.x() < 1 || p.y() < 0 || p.x() >= w || p.y() >= h) std::abort();
            if (i && p == e.points[i - 1]) std::abort();
            if (i) segs.push_back({e.points[i - 1], p});
        }
    }
    for (size_t i = 0; i < segs.size(); ++i)
        for (size_t j = i + 1; j < segs.size(); ++j)
            if (ops::SegmentsConflict(segs[i].first, segs[i].second, segs[j].first,
                                      segs[j].second))
                std::abort();
    const std::vector<Rec> list = trace::PointList(net);
    if (list.empty() || !(list.front() == Rec{}) || !(list.back() == Rec{})) std::abort();
    return 0;
}
