// Reading the ink: a darkness channel, the paper's own shading taken out,
// a threshold between the paper's noise and the ink, specks removed.
#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "trace/Distance.h"
#include "trace/GapSweep.h"
#include "trace/Runs.h"
#include "trace/Trace.h"

namespace trace {

namespace {

// Min over a window of radius r along rows, then along columns (a square
// erosion); max when `larger`.
void SquareFilter(std::vector<uint8_t>& a, int w, int h, int r, bool larger) {
    std::vector<uint8_t> tmp(a.size());
    auto pick = [larger](uint8_t p, uint8_t q) { return larger ? std::max(p, q) : std::min(p, q); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t m = a[size_t(y) * w + x];
            for (int i = std::max(0, x - r); i <= std::min(w - 1, x + r); ++i)
                m = pick(m, a[size_t(y) * w + i]);
            tmp[size_t(y) * w + x] = m;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t m = tmp[size_t(y) * w + x];
            for (int j = std::max(0, y - r); j <= std::min(h - 1, y + r); ++j)
                m = pick(m, tmp[size_t(j) * w + x]);
            a[size_t(y) * w + x] = m;
        }
}

int Percentile(const std::array<int64_t, 256>& hist, int64_t total, double p) {
    const int64_t want = int64_t(p * double(total));
    int64_t seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += hist[v];
        if (seen > want) return v;
    }
    return 255;
}

// A dark page margin (a scanner's shadow, a grey edge full of grain) is
// ink far denser than lines: found where such density runs along a page
// edge, and grown inward through it. It is outside the map, wall and all.
void MarkDarkMargins(std::vector<uint8_t>& ink, int w, int h, int lineWidth) {
    const int r = 2 * lineWidth + 3;
    // Ink counts of the square round each pixel, from a summed table.
    std::vector<int32_t> sum(size_t(w + 1) * (h + 1), 0);
    for (int y = 0; y < h; ++y) {
        int32_t row = 0;
        for (int x = 0; x < w; ++x) {
            row += ink[size_t(y) * w + x] & kInk;
            sum[size_t(y + 1) * (w + 1) + x + 1] = sum[size_t(y) * (w + 1) + x + 1] + row;
        }
    }
    auto dense = [&](int x, int y) {
        const int x0 = std::max(0, x - r), x1 = std::min(w, x + r + 1);
        const int y0 = std::max(0, y - r), y1 = std::min(h, y + r + 1);
        const int64_t s = sum[size_t(y1) * (w + 1) + x1] - sum[size_t(y0) * (w + 1) + x1] -
                          sum[size_t(y1) * (w + 1) + x0] + sum[size_t(y0) * (w + 1) + x0];
        return 5 * s >= 2 * int64_t(x1 - x0) * (y1 - y0);  // 40 %
    };
    const int longRun = std::max(48, std::min(w, h) / 12);
    std::vector<int32_t> stack;
    std::vector<uint8_t> seen(size_t(w) * h, 0);
    auto seedSide = [&](int count, auto at) {
        for (int k = 0; k < count;) {
            int run = 0;
            while (k + run < count && dense(at(k + run).x(), at(k + run).y())) ++run;
            if (run >= longRun)
                for (int j = k; j < k + run; ++j) {
                    const size_t i = size_t(at(j).y()) * w + at(j).x();
                    if (!seen[i]) seen[i] = 1, stack.push_back(int32_t(i));
                }
            k += std::max(1, run);
        }
    };
    seedSide(w, [&](int k) { return QPoint(k, 0); });
    seedSide(w, [&](int k) { return QPoint(k, h - 1); });
    seedSide(h, [&](int k) { return QPoint(0, k); });
    seedSide(h, [&](int k) { return QPoint(w - 1, k); });
    while (!stack.empty()) {
        const int32_t p = stack.back();
        stack.pop_back();
        ink[size_t(p)] |= kMargin;
        const int x = p % w, y = p / w;
        const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k) {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
            const size_t q = size_t(ny[k]) * w + nx[k];
            if (!seen[q] && dense(nx[k], ny[k])) seen[q] = 1, stack.push_back(int32_t(q));
        }
    }
}

// Letters of a name stand in a row: a blob with another of about its height
// beside it (overlapping rows, no farther off than its height; a blob or an
// upright stroke such as 1 or l) is marked as one. An island drawn small
// stands alone, or beside blobs of other sizes.
template <class Blob>
void MarkWords(std::vector<uint8_t>& ink, const std::vector<Blob>& blobs,
               const std::vector<int32_t>& members) {
    const int cell = 96;
    std::unordered_map<int64_t, std::vector<size_t>> grid;
    auto key = [](int cx, int cy) { return (int64_t(cy) << 32) | uint32_t(cx); };
    for (size_t k = 0; k < blobs.size(); ++k)
        grid[key(blobs[k].x0 / cell, blobs[k].y0 / cell)].push_back(k);
    for (size_t k = 0; k < blobs.size(); ++k) {
        const Blob& a = blobs[k];
        const int ha = a.y1 - a.y0 + 1;
        bool word = false;
        for (int cy = a.y0 / cell - 1; cy <= a.y0 / cell + 1 && !word; ++cy)
            for (int cx = a.x0 / cell - 1; cx <= a.x0 / cell + 1 && !word; ++cx) {
                const auto it = grid.find(key(cx, cy));
                if (it == grid.end()) continue;
                for (size_t j : it->second) {
                    if (j == k) continue;
                    const Blob& b = blobs[j];
                    const int hb = b.y1 - b.y0 + 1;
                    const int overlap = std::min(a.y1, b.y1) - std::max(a.y0, b.y0) + 1;
                    const int apart = std::max(a.x0, b.x0) - std::min(a.x1, b.x1) - 1;
                    if (2 * hb >= ha && 2 * ha >= hb && 2 * overlap >= std::min(ha, hb) &&
                        apart <= std::max(ha, hb)) {
                        word = true;
                        break;
                    }
                }
            }
        if (word)
            for (size_t m = a.begin; m < a.end; ++m) ink[size_t(members[m])] |= kWord;
    }
}

}  // namespace

Page ReadPage(const QImage& scanIn, const InkOptions& options) {
    Page page;
    const QImage scan =
        scanIn.format() == QImage::Format_RGB32 || scanIn.format() == QImage::Format_ARGB32
            ? scanIn
            : scanIn.convertToFormat(QImage::Format_RGB32);
    const int w = scan.width(), h = scan.height();
    if (w <= 0 || h <= 0) return page;
    auto tick = [&](int p) {
        if (options.tick && !options.tick(p)) page.cancelled = true;
        return !page.cancelled;
    };
    const size_t n = size_t(w) * size_t(h);

    // The darkness of each pixel: how far it is from white in its brightest
    // channel, so that coloured lines (rivers, roads) stay light; or, with a
    // sampled ink, how close it is to that colour against the paper.
    std::vector<uint8_t> dark(n);
    QRgb paperColour = qRgb(255, 255, 255);
    if (options.ink) {
        std::array<std::array<int64_t, 256>, 3> hist{};
        int64_t count = 0;
        for (int y = 0; y < h; y += 7) {
            const QRgb* line = reinterpret_cast<const QRgb*>(scan.constScanLine(y));
            for (int x = 0; x < w; x += 7, ++count) {
                ++hist[0][qRed(line[x])];
                ++hist[1][qGreen(line[x])];
                ++hist[2][qBlue(line[x])];
            }
        }
        paperColour = qRgb(Percentile(hist[0], count, 0.5), Percentile(hist[1], count, 0.5),
                           Percentile(hist[2], count, 0.5));
    }
    const QRgb inkRgb = options.ink.value_or(qRgb(0, 0, 0));
    auto dist3 = [](QRgb a, QRgb b) {
        const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
        return std::sqrt(double(dr * dr + dg * dg + db * db));
    };
    const double span = std::max(30.0, dist3(paperColour, inkRgb));
    int64_t saturated = 0, sampled = 0, darkened = 0;
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(scan.constScanLine(y));
        uint8_t* out = dark.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
            const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
            if (options.ink)
                out[x] = uint8_t(std::clamp(255.0 * (1.0 - dist3(c, inkRgb) / span), 0.0, 255.0));
            else
                out[x] = uint8_t(255 - hi);
            if ((x | y) % 4 == 0) {
                ++sampled;
                saturated += hi - lo > 60;
                darkened += hi < 128;
            }
        }
    }
    page.colourShare = sampled ? double(saturated) / double(sampled) : 0;
    page.darkShare = sampled ? double(darkened) / double(sampled) : 0;
    if (!tick(10)) return {};

    // The paper: a quarter-scale opening of the darkness (lightest of each
    // 4x4 block, then the lightest and darkest in a 15-block square) takes
    // lines and names out and keeps the shading of the sheet.
    const int bw = (w + 3) / 4, bh = (h + 3) / 4;
    std::vector<uint8_t> bg(size_t(bw) * bh, 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t& b = bg[size_t(y / 4) * bw + x / 4];
            b = std::min(b, dark[size_t(y) * w + x]);
        }
    SquareFilter(bg, bw, bh, 7, false);
    SquareFilter(bg, bw, bh, 7, true);
    std::array<int64_t, 256> hist{};
    for (int y = 0; y < h; ++y) {
        const uint8_t* b = bg.data() + size_t(y / 4) * bw;
        uint8_t* row = dark.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            row[x] = uint8_t(std::max(0, int(row[x]) - int(b[x / 4])));
            ++hist[row[x]];
        }
    }
    std::vector<uint8_t>().swap(bg);
    if (!tick(20)) return {};

    // The threshold sits above the paper's noise and at a fair share of the
    // darkest ink, so that faint thin lines still count and grain does not.
    const int median = Percentile(hist, int64_t(n), 0.5);
    std::array<int64_t, 256> dev{};
    for (int v = 0; v < 256; ++v) dev[std::abs(v - median)] += hist[v];
    const int mad = Percentile(dev, int64_t(n), 0.5);
    const int strong = Percentile(hist, int64_t(n), 0.999);
    page.paperContrast = median;
    page.paperNoise = mad;
    page.threshold = std::clamp(std::max(median + 5 * mad + 8, int(0.35 * strong)), 1, 254);

    std::vector<uint8_t>& ink = page.ink;
    ink.assign(n, 0);
    for (size_t i = 0; i < n; ++i) ink[i] = dark[i] > page.threshold ? kInk : 0;
    std::vector<uint8_t>().swap(dark);

    // Dark ink is grey: a line whose neighbourhood is coloured is a river or
    // a road, even where JPEG has washed its own pixels grey. Ink under a
    // clearly coloured 3x3 mean is no boundary; a faint tint is marked.
    if (!options.ink) {
        auto chroma = [&](int x, int y) {
            const QRgb c = reinterpret_cast<const QRgb*>(scan.constScanLine(y))[x];
            return std::max({qRed(c), qGreen(c), qBlue(c)}) -
                   std::min({qRed(c), qGreen(c), qBlue(c)});
        };
        std::array<int64_t, 256> tint{};
        int64_t tinted = 0;
        for (int y = 0; y < h; y += 5)
            for (int x = 0; x < w; x += 5, ++tinted) ++tint[std::min(255, chroma(x, y))];
        const int paperTint = Percentile(tint, tinted, 0.5);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t& k = ink[size_t(y) * w + x];
                if (!k) continue;
                int sum = 0, count = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (x + dx >= 0 && y + dy >= 0 && x + dx < w && y + dy < h)
                            sum += chroma(x + dx, y + dy), ++count;
                const int excess = sum / count - paperTint;
                if (excess > 24)
                    k = 0;
                else if (excess > 12)
                    k |= kColoured;
            }
    }

    // Specks of a few pixels go (8-connected); larger ones would take the
    // dots of dash-dot lines with them. Compact blobs the size of letters
    // are marked, as is ink of another colour than the boundaries'.
    std::vector<int32_t> stack, members;
    std::vector<uint8_t> seen(n, 0);
    struct Blob {
        int x0, y0, x1, y1;
        size_t begin, end;  // its pixels in blobMembers
    };
    std::vector<Blob> blobs;
    std::vector<int32_t> blobMembers;
    int64_t inkCount = 0, r = 0, g = 0, b = 0;
    for (size_t start = 0; start < n; ++start) {
        if (!ink[start] || seen[start]) continue;
        members.clear();
        stack.assign(1, int32_t(start));
        seen[start] = 1;
        int x0 = w, y0 = h, x1 = -1, y1 = -1;
        while (!stack.empty()) {
            const int32_t p = stack.back();
            stack.pop_back();
            members.push_back(p);
            const int px = p % w, py = p / w;
            x0 = std::min(x0, px), x1 = std::max(x1, px), y0 = std::min(y0, py),
            y1 = std::max(y1, py);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
                    const size_t q = size_t(qy) * w + qx;
                    if (ink[q] && !seen[q]) {
                        seen[q] = 1;
                        stack.push_back(int32_t(q));
                    }
                }
        }
        if (members.size() <= 4) {
            for (int32_t p : members) ink[p] = 0;
            continue;
        }
        const bool blob = x1 - x0 <= 80 && y1 - y0 <= 80 && std::min(x1 - x0, y1 - y0) >= 5 &&
                          std::max(x1 - x0, y1 - y0) <= 3 * std::min(x1 - x0, y1 - y0);
        if (blob) {
            blobs.push_back({x0, y0, x1, y1, blobMembers.size(), 0});
            blobMembers.insert(blobMembers.end(), members.begin(), members.end());
            blobs.back().end = blobMembers.size();
        } else if (x1 - x0 < 5 && y1 - y0 >= 5 && y1 - y0 <= 80 &&
                   y1 - y0 >= 2 * (x1 - x0)) {
            // An upright stroke (1, l, I) is no blob, but stands in a word
            // beside its letters all the same.
            blobs.push_back({x0, y0, x1, y1, 0, 0});
        }
        for (int32_t p : members) {
            const QRgb c = reinterpret_cast<const QRgb*>(scan.constScanLine(p / w))[p % w];
            if (blob) ink[p] |= kBlob;
            r += qRed(c), g += qGreen(c), b += qBlue(c);
            ++inkCount;
        }
    }
    std::vector<uint8_t>().swap(seen);
    MarkWords(ink, blobs, blobMembers);
    if (inkCount) page.inkColour = qRgb(int(r / inkCount), int(g / inkCount), int(b / inkCount));
    page.inkShare = double(inkCount) / double(n);
    if (!tick(40)) return {};

    // The stroke width: the most common length of a short run of ink across
    // rows and columns.
    std::array<int64_t, 33> runHist{};
    for (int y = 0; y < h; y += 3) {
        int run = 0;
        for (int x = 0; x <= w; ++x) {
            if (x < w && ink[size_t(y) * w + x]) {
                ++run;
            } else if (run) {
                ++runHist[std::min(run, 32)];
                run = 0;
            }
        }
    }
    for (int x = 0; x < w; x += 3) {
        int run = 0;
        for (int y = 0; y <= h; ++y) {
            if (y < h && ink[size_t(y) * w + x]) {
                ++run;
            } else if (run) {
                ++runHist[std::min(run, 32)];
                run = 0;
            }
        }
    }
    page.lineWidth =
        int(std::max_element(runHist.begin() + 1, runHist.end() - 1) - runHist.begin());
    if (page.lineWidth <= 0) page.lineWidth = 1;
    MarkDarkMargins(ink, w, h, page.lineWidth);

    page.width = w;
    page.height = h;
    page.dist = DistanceToInk(ink, w, h);
    if (!tick(70)) return {};
    {
        int32_t parts = 0;
        const std::vector<Run> runs = PartsByRuns(
            w, h, [&](size_t i) { return ink[i] == 0; }, parts);
        std::vector<Page::Pocket> all(size_t(parts), Page::Pocket{-1, 0, 0});
        for (const Run& r : runs) {
            Page::Pocket& p = all[size_t(r.part)];
            p.area += r.x1 - r.x0 + 1;
            if (r.x0 > 0 && (ink[size_t(r.y) * w + r.x0 - 1] & kWord)) p.lettering = true;
            const size_t row = size_t(r.y) * w;
            for (int x = r.x0; x <= r.x1; ++x)
                if (p.pixel < 0 || page.dist[row + x] > p.widest)
                    p.pixel = int32_t(row + x), p.widest = page.dist[row + x];
        }
        for (const Page::Pocket& p : all)
            if (p.widest <= 8 * kMaxGap) page.pockets.push_back(p);
    }
    page.autoMinArea = std::max(64, 16 * page.lineWidth * page.lineWidth);
    page.regionsByGap = RegionsByGap(page.dist, w, h, page.autoMinArea);
    page.autoGap = ChooseGap(page.regionsByGap, page.lineWidth);
    tick(100);
    return page;
}

}  // namespace trace
