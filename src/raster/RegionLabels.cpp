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

}  // namespace

void LineCover::AddLine(int x1, int y1, int x2, int y2) {
    // Entirely beyond one edge: nothing is drawn.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w_ && x2 >= w_) ||
        (y1 >= h_ && y2 >= h_))
        return;
    if (spanned_) {
        if (x1 == x2 && y1 == y2) return;
        lines_.push_back({x1, y1, x2, y2, std::max(std::min(y1, y2), 0),
                          std::min(std::max(y1, y2), h_ - 1)});
        return;
    }
    // Both ends inside: so is every pixel between them.
    if (x1 >= 0 && y1 >= 0 && x2 >= 0 && y2 >= 0 && x1 < w_ && y1 < h_ && x2 < w_ && y2 < h_) {
        linepixels::ForEach(x1, y1, x2, y2, [this](int64_t x, int64_t y) { Set(int(x), int(y)); });
        return;
    }
    linepixels::ForEach(x1, y1, x2, y2, [this](int64_t x, int64_t y) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) Set(int(x), int(y));
    });
}

bool LineCover::Covers(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return false;
    if (!spanned_) return bits_[size_t(y) * stride_ + size_t(x) / 64] >> (x % 64) & 1;
    if (std::find(pixels_.begin(), pixels_.end(), uint64_t(uint32_t(y)) << 32 | uint32_t(x)) !=
        pixels_.end())
        return true;
    bool hit = false;
    for (const Line& l : lines_)
        linepixels::ForEach(l.x1, l.y1, l.x2, l.y2,
                            [&](int64_t px, int64_t py) { hit = hit || (px == x && py == y); });
    return hit;
}

LineCover::Rows::Rows(const LineCover& c) : c_(c) {
    std::sort(c.pixels_.begin(), c.pixels_.end());
    order_.reserve(c.lines_.size());
    for (size_t i = 0; i < c.lines_.size(); ++i)
        order_.push_back(uint64_t(uint32_t(c.lines_[i].top)) << 32 | uint32_t(i));
    std::sort(order_.begin(), order_.end());
}

void LineCover::Rows::Trace(const Active& a, const Line& l) {
    Span* rows = arena_.data() + a.at;
    const int64_t w = c_.w_;
    linepixels::ForEachRow(l.x1, l.y1, l.x2, l.y2, [&](int64_t y, int64_t from, int64_t to) {
        from = std::max<int64_t>(from, 0), to = std::min(to, w - 1);
        if (y >= a.top && y <= a.bottom && from <= to)
            rows[y - a.top] = {int32_t(from), int32_t(to + 1)};
    });
}

const std::vector<LineCover::Span>& LineCover::Rows::Row(int y) {
    // Lines from here down are traced now; when most of the arena holds
    // lines already passed, what is still needed moves to its front.
    for (; nextLine_ < order_.size() && int32_t(order_[nextLine_] >> 32) <= y; ++nextLine_) {
        const Line& l = c_.lines_[size_t(uint32_t(order_[nextLine_]))];
        if (l.bottom < y) continue;
        if (arena_.size() > 4096 && 2 * held_ < arena_.size()) {
            spare_.clear();
            for (Active& a : active_) {
                const size_t n = size_t(a.bottom - a.top) + 1;
                spare_.insert(spare_.end(), arena_.begin() + std::ptrdiff_t(a.at),
                              arena_.begin() + std::ptrdiff_t(a.at + n));
                a.at = spare_.size() - n;
            }
            arena_.swap(spare_);
        }
        const Active a{l.top, l.bottom, arena_.size(), {}};
        const size_t n = size_t(l.bottom - l.top) + 1;
        arena_.resize(arena_.size() + n, Span{INT32_MAX, 0});
        held_ += n;
        Trace(a, l);
        active_.push_back(a);
    }
    // The lines keep the order of the row above, sorted by where they are
    // on this one: lines of a network seldom pass each other, so the sort
    // has little to move. Lines whose last row this is go after it.
    row_.clear();
    const size_t n = active_.size();
    size_t kept = 0;
    for (size_t k = 0; k < n; ++k) {
        Active a = active_[k];
        const Span now = arena_[a.at + size_t(y - a.top)];
        if (now.from != INT32_MAX) {
            size_t j = row_.size();
            row_.push_back(now);
            for (; j > 0 && row_[j - 1].from > now.from; --j) row_[j] = row_[j - 1];
            row_[j] = now;
        }
        if (a.bottom <= y) {
            held_ -= size_t(a.bottom - a.top) + 1;
            continue;
        }
        // Kept in the order of this row, for the next.
        a.now = now;
        size_t j = kept++;
        for (; j > 0 && active_[j - 1].now.from > now.from; --j) active_[j] = active_[j - 1];
        active_[j] = a;
    }
    active_.resize(kept);
    // The points of the row, which come sorted.
    const std::vector<uint64_t>& px = c_.pixels_;
    for (; nextPixel_ < px.size() && int32_t(px[nextPixel_] >> 32) <= y; ++nextPixel_) {
        if (int32_t(px[nextPixel_] >> 32) < y) continue;
        const int32_t x = int32_t(uint32_t(px[nextPixel_]));
        size_t j = row_.size();
        row_.push_back({x, x + 1});
        for (; j > 0 && row_[j - 1].from > x; --j) row_[j] = row_[j - 1];
        row_[j] = {x, x + 1};
    }
    return row_;
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
            while (up < upEnd && runs_[size_t(up)].to <= x) ++up;
            // The last overlapping run may reach under the next run too. The
            // new run joins the first one's region; any further one above is
            // united with it, the lower index staying the root.
            int32_t root = self;
            for (int32_t u = up; u < upEnd && runs_[size_t(u)].from < end; ++u) {
                const int32_t r = Find(parent, u);
                if (root == self) {
                    root = r;
                } else if (r < root) {
                    parent[size_t(root)] = r;
                    root = r;
                } else if (r > root) {
                    parent[size_t(r)] = root;
                }
            }
            parent.push_back(root);
        });
    }
    rowStart_[size_t(h_)] = int32_t(runs_.size());

    // Number the regions by their first run.
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
    listed_ = false;
}

void RegionLabels::ListRuns() const {
    listed_ = true;
    const int32_t n = int32_t(runs_.size());
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
        LineCover::Rows rows(cover);
        Sweep(w, cover.Height(), [&](int y, auto add) {
            int x = 0;
            for (const LineCover::Span& s : rows.Row(y)) {
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
