#include "raster/RegionLabels.h"

#include <algorithm>
#include <bit>

#include "raster/LinePixels.h"
#include "raster/RowScan.h"

namespace {

int32_t Find(std::vector<int32_t>& parent, int32_t i) {
    while (parent[size_t(i)] != i) {
        parent[size_t(i)] = parent[size_t(parent[size_t(i)])];  // path halving
        i = parent[size_t(i)];
    }
    return i;
}

void Unite(std::vector<int32_t>& parent, int32_t a, int32_t b) {
    a = Find(parent, a);
    b = Find(parent, b);
    // The lower run index stays the root, so a region's root is its first run.
    if (a < b)
        parent[size_t(b)] = a;
    else if (b < a)
        parent[size_t(a)] = b;
}

}  // namespace

void LineCover::AddLine(int x1, int y1, int x2, int y2) {
    // Entirely beyond one edge: nothing is drawn.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w_ && x2 >= w_) ||
        (y1 >= h_ && y2 >= h_))
        return;
    const bool inside =
        x1 >= 0 && y1 >= 0 && x2 >= 0 && y2 >= 0 && x1 < w_ && y1 < h_ && x2 < w_ && y2 < h_;
    if (!spanned_) {
        // Both ends inside: so is every pixel between them.
        if (inside) {
            linepixels::ForEach(x1, y1, x2, y2,
                                [this](int64_t x, int64_t y) { Set(int(x), int(y)); });
            return;
        }
        linepixels::ForEach(x1, y1, x2, y2, [this](int64_t x, int64_t y) {
            if (x >= 0 && y >= 0 && x < w_ && y < h_) Set(int(x), int(y));
        });
        return;
    }
    // A line's pixels on one row come one after another: gathered into one
    // span before it is added.
    int ry = -1, rfrom = 0, rto = 0;
    auto plot = [&](int64_t x, int64_t y) {
        if (int(y) == ry && int(x) + 1 >= rfrom && int(x) <= rto) {
            rfrom = std::min(rfrom, int(x));
            rto = std::max(rto, int(x) + 1);
            return;
        }
        if (ry >= 0) Add(ry, rfrom, rto);
        ry = int(y), rfrom = int(x), rto = int(x) + 1;
    };
    if (inside) {
        linepixels::ForEach(x1, y1, x2, y2, plot);
    } else {
        linepixels::ForEach(x1, y1, x2, y2, [&](int64_t x, int64_t y) {
            if (x >= 0 && y >= 0 && x < w_ && y < h_) plot(x, y);
        });
    }
    if (ry >= 0) Add(ry, rfrom, rto);
}

void LineCover::Seal() const {
    if (sealed_) return;
    sealed_ = true;
    // By row in one counting pass, then each row's few spans by start.
    rowStart_.assign(size_t(h_) + 1, 0);
    for (const Span& s : spans_) ++rowStart_[size_t(s.y) + 1];
    for (size_t y = 1; y < rowStart_.size(); ++y) rowStart_[y] += rowStart_[y - 1];
    std::vector<Span> sorted(spans_.size());
    std::vector<int32_t> fill(rowStart_.begin(), rowStart_.end() - 1);
    for (const Span& s : spans_) sorted[size_t(fill[size_t(s.y)]++)] = s;
    size_t out = 0;
    for (int y = 0; y < h_; ++y) {
        const auto b = sorted.begin() + rowStart_[size_t(y)];
        const auto e = sorted.begin() + rowStart_[size_t(y) + 1];
        std::sort(b, e, [](const Span& p, const Span& q) { return p.from < q.from; });
        rowStart_[size_t(y)] = int32_t(out);
        for (auto it = b; it != e; ++it) {
            if (out > size_t(rowStart_[size_t(y)]) && it->from <= sorted[out - 1].to)
                sorted[out - 1].to = std::max(sorted[out - 1].to, it->to);
            else
                sorted[out++] = *it;
        }
    }
    rowStart_[size_t(h_)] = int32_t(out);
    sorted.resize(out);
    spans_.swap(sorted);
}

bool LineCover::Covers(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return false;
    if (!spanned_) return bits_[size_t(y) * stride_ + size_t(x) / 64] >> (x % 64) & 1;
    Seal();
    const auto b = spans_.begin() + rowStart_[size_t(y)];
    const auto e = spans_.begin() + rowStart_[size_t(y) + 1];
    auto it = std::upper_bound(b, e, x, [](int v, const Span& s) { return v < s.from; });
    return it != b && x < (it - 1)->to;
}

template <class Rows>
void RegionLabels::Sweep(int w, int h, Rows rows) {
    w_ = w;
    h_ = h;
    runs_.clear();
    rowStart_.assign(size_t(h_) + 1, 0);
    // Room for a map's worth of runs from the start: growing by doubling
    // copies the runs and touches fresh pages several times over, while
    // room never used costs no memory.
    runs_.reserve(std::max(runs_.capacity(), size_t(h_) * 64));
    std::vector<int32_t>& parent = parent_;
    parent.clear();
    parent.reserve(runs_.capacity());
    for (int y = 0; y < h_; ++y) {
        const int32_t first = int32_t(runs_.size());
        rowStart_[size_t(y)] = first;
        // Runs of the row above, walked alongside: overlapping runs touch
        // through an edge and so belong to one region.
        int32_t up = y > 0 ? rowStart_[size_t(y) - 1] : first;
        const int32_t upEnd = first;
        rows(y, [&](int x, int end) {
            const int32_t self = int32_t(runs_.size());
            runs_.push_back({y, x, end, 0});
            parent.push_back(self);
            while (up < upEnd && runs_[size_t(up)].to <= x) ++up;
            // The last overlapping run may reach under the next run too.
            for (int32_t u = up; u < upEnd && runs_[size_t(u)].from < end; ++u)
                Unite(parent, u, self);
        });
    }
    rowStart_[size_t(h_)] = int32_t(runs_.size());

    // Number the regions by their first run, then list each region's runs.
    boxes_.clear();
    const int32_t n = int32_t(runs_.size());
    for (int32_t i = 0; i < n; ++i) {
        const int32_t root = Find(parent, i);
        Run& r = runs_[size_t(i)];
        if (root == i) {
            r.region = int32_t(boxes_.size());
            boxes_.push_back(QRect(QPoint(r.from, r.y), QPoint(r.to - 1, r.y)));
        } else {
            r.region = runs_[size_t(root)].region;
            QRect& b = boxes_[size_t(r.region)];
            b.setLeft(std::min(b.left(), int(r.from)));
            b.setRight(std::max(b.right(), int(r.to) - 1));
            b.setBottom(r.y);
        }
    }
    regionStart_.assign(boxes_.size() + 1, 0);
    for (const Run& r : runs_) ++regionStart_[size_t(r.region) + 1];
    for (size_t k = 1; k < regionStart_.size(); ++k) regionStart_[k] += regionStart_[k - 1];
    regionRuns_.resize(size_t(n));
    std::vector<int32_t>& fill = fill_;
    fill.assign(regionStart_.begin(), regionStart_.end() - 1);
    for (int32_t i = 0; i < n; ++i)
        regionRuns_[size_t(fill[size_t(runs_[size_t(i)].region)]++)] = i;
}

void RegionLabels::Build(const Surface& s, uint8_t colour, Match m) {
    const rowscan::Test test =
        m == Match::Equal ? rowscan::Test::Equal(colour) : rowscan::Test::NotEqual(colour);
    const uint8_t* px = s.Data();
    const int w = s.Width();
    // Regions of one colour are uniform by definition; of "all but one" each
    // run's colours are looked at in the same scan that finds its end: it
    // stops at the first pixel unlike the run's first, and only when that is
    // not yet the end does the run hold more than one colour.
    std::vector<uint8_t>& runColour = runColour_;
    runColour.clear();
    if (m == Match::NotEqual)
        runColour.reserve(std::max(runs_.capacity(), size_t(s.Height()) * 64));
    Sweep(w, s.Height(), [&](int y, auto add) {
        const uint8_t* row = px + size_t(y) * size_t(w);
        for (int x = rowscan::Next(row, 0, w, test, true); x < w;) {
            int end;
            if (m == Match::Equal) {
                end = rowscan::Next(row, x, w, test, false);
            } else {
                const uint8_t c = row[x];
                end = rowscan::Next(row, x, w, rowscan::Test::Equal(c), false);
                if (end < w && row[end] != colour) {
                    end = rowscan::Next(row, end, w, test, false);
                    runColour.push_back(uint8_t(NoColour));
                } else {
                    runColour.push_back(c);
                }
            }
            add(x, end);
            x = rowscan::Next(row, end, w, test, true);
        }
    });
    if (m == Match::Equal) {
        colours_.assign(boxes_.size(), colour);
        return;
    }
    // Runs are in raster order and regions numbered by their first run, so
    // each region's first run is met before its others.
    colours_.clear();
    colours_.reserve(boxes_.size());
    for (size_t i = 0; i < runs_.size(); ++i) {
        const size_t r = size_t(runs_[i].region);
        if (r == colours_.size())
            colours_.push_back(runColour[i]);
        else if (colours_[r] != runColour[i])
            colours_[r] = NoColour;
    }
}

void RegionLabels::Build(const LineCover& cover) {
    const int w = cover.Width();
    if (cover.Spanned()) {
        // What the lines leave clear between their spans is background.
        cover.Seal();
        Sweep(w, cover.Height(), [&](int y, auto add) {
            int x = 0;
            for (int32_t k = cover.rowStart_[size_t(y)]; k < cover.rowStart_[size_t(y) + 1]; ++k) {
                const LineCover::Span& s = cover.spans_[size_t(k)];
                if (s.from > x) add(x, int(s.from));
                x = std::max(x, int(s.to));
            }
            if (x < w) add(x, w);
        });
        colours_.assign(boxes_.size(), Black);
        return;
    }
    // What the lines leave clear is background; bits beyond the last column
    // are clear, so a search that runs into them stops at the row's end.
    Sweep(w, cover.Height(), [&](int y, auto add) {
        const uint64_t* row = cover.bits_.data() + size_t(y) * cover.stride_;
        // The first x from `x` whose bit is `set`, or w.
        auto next = [&](int x, bool set) {
            while (x < w) {
                const size_t k = size_t(x) / 64;
                const uint64_t word = (set ? row[k] : ~row[k]) & (~uint64_t(0) << (x % 64));
                if (word) return std::min(w, int(k * 64) + std::countr_zero(word));
                x = int(k * 64) + 64;
            }
            return w;
        };
        for (int x = next(0, false); x < w;) {
            const int end = next(x, true);
            add(x, end);
            x = next(end, false);
        }
    });
    colours_.assign(boxes_.size(), Black);
}

int RegionLabels::RegionAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return -1;
    const auto begin = runs_.begin() + rowStart_[size_t(y)];
    const auto end = runs_.begin() + rowStart_[size_t(y) + 1];
    // The first run starting beyond x; the one before it may hold x.
    auto it = std::upper_bound(begin, end, x, [](int v, const Run& r) { return v < r.from; });
    if (it == begin) return -1;
    --it;
    return x < it->to ? int(it->region) : -1;
}

int64_t RegionLabels::PixelCount(int region) const {
    int64_t n = 0;
    ForEachRun(region, [&](int, int from, int to) { n += to - from; });
    return n;
}

void RegionLabels::Paint(Surface& s, int region, uint8_t c) const {
    ForEachRun(region, [&](int y, int from, int to) { s.FillSpan(y, from, to, c); });
}

void RegionLabels::PaintAll(Surface& s, const std::vector<uint8_t>& colour) const {
    for (const Run& r : runs_) {
        const uint8_t c = colour[size_t(r.region)];
        if (c != NoColour) s.FillSpan(int(r.y), int(r.from), int(r.to), c);
    }
}
