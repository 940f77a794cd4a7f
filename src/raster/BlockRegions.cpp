#include "raster/BlockRegions.h"

#include <algorithm>
#include <cstdint>

#include "raster/LinePixels.h"

namespace {
constexpr int16_t kEmptyFrom = 0x7F7F;  // an empty span starts beyond every column
}  // namespace

int32_t BlockRegions::Find(int32_t i) const {
    while (parent_[size_t(i)] != i) {
        parent_[size_t(i)] = parent_[size_t(parent_[size_t(i)])];  // path halving
        i = parent_[size_t(i)];
    }
    return i;
}

int BlockRegions::RegionAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return -1;
    // The row's runs in the order the sweep numbered them: the gaps its
    // sorted spans leave.
    const Span* s = spans_.get() + start_[size_t(y)];
    const Span* const last = spans_.get() + start_[size_t(y) + 1];
    const uint16_t* node = runNode_.get() + runStart_[size_t(y)];
    int32_t clear = 0;  // pixels before it are covered or in runs passed
    for (; s < last && s->from != kEmptyFrom; ++s) {
        if (s->from > clear) {
            if (x < s->from) return Find(*node);
            ++node;
        }
        if (s->to > clear) clear = s->to;
        if (x < clear) return -1;
    }
    return Find(*node);
}

bool BlockRegions::Build(const LineCover& cover) {
    const int w = cover.Width(), h = cover.Height();
    // Spans are kept as 16-bit columns; the end of a run is at most w, and
    // an empty span's start lies beyond it.
    if (!cover.Spanned() || w >= kEmptyFrom) return false;
    w_ = w, h_ = h;
    parent_.clear();
    boxes_.clear();

    // Every line has one span on each row from its top to its bottom, every
    // point one on its row: counted by row first, then traced straight into
    // their rows' places. Lines are traced from left to right, so that a
    // row's spans come nearly in order and sorting them moves little.
    std::vector<int32_t>& start = start_;
    start.assign(size_t(h) + 2, 0);
    // Lines by their left end, counted into columns: sorting the lines
    // would cost more than the rows' own sorting saves.
    // (runStart_ is free until the sweep: it counts the lines' columns, then
    // the rows' places being filled.)
    std::vector<int32_t>& byLeft = runStart_;
    byLeft.assign(size_t(w) + 2, 0);
    auto leftOf = [](const LineCover::Line& l) {
        return size_t(std::max(std::min(l.x1, l.x2), -1) + 1);
    };
    for (const LineCover::Line& l : cover.lines_) {
        ++start[size_t(l.top) + 1];
        --start[size_t(l.bottom) + 2];
        ++byLeft[leftOf(l) + 1];
    }
    for (size_t k = 1; k < byLeft.size(); ++k) byLeft[k] += byLeft[k - 1];
    std::vector<uint32_t>& order = order_;
    order.resize(cover.lines_.size());
    for (size_t i = 0; i < cover.lines_.size(); ++i)
        order[size_t(byLeft[leftOf(cover.lines_[i])]++)] = uint32_t(i);
    for (uint64_t p : cover.pixels_) {
        ++start[size_t(p >> 32) + 1];
        --start[size_t(p >> 32) + 2];
    }
    // The spans of each row, and where its first goes, in one pass.
    int32_t most = 0;  // spans on the fullest row
    for (int32_t y = 1, spansOfRow = 0, at = 0; y <= h; ++y) {
        spansOfRow += start[size_t(y)];
        most = std::max(most, spansOfRow);
        start[size_t(y)] = at += spansOfRow;
    }
    // A row a line does not reach (clipped at the sides, or the row of an
    // end it leaves out) keeps an empty span; the empty ones sort after
    // every other.
    constexpr Span kEmpty{kEmptyFrom, kEmptyFrom};
    if (size_t(start[size_t(h)]) > spanRoom_) {
        spanRoom_ = size_t(start[size_t(h)]);
        spans_.reset(new Span[spanRoom_]);
    }
    runStart_.assign(start.begin(), start.end() - 1);
    int32_t* fill = runStart_.data();
    Span* spans = spans_.get();
    for (uint32_t o : order) {
        const LineCover::Line& l = cover.lines_[size_t(o)];
        if (std::min(l.x1, l.x2) >= 0 && std::max(l.x1, l.x2) < w && std::min(l.y1, l.y2) >= 0 &&
            std::max(l.y1, l.y2) < h) {
            linepixels::ForEachRow(l.x1, l.y1, l.x2, l.y2,
                                   [&](int64_t y, int64_t from, int64_t to) {
                                       spans[fill[y]++] = {int16_t(from), int16_t(to + 1)};
                                   });
            continue;
        }
        linepixels::ForEachRow(l.x1, l.y1, l.x2, l.y2, [&](int64_t y, int64_t from, int64_t to) {
            if (y < l.top || y > l.bottom) return;
            from = std::max<int64_t>(from, 0), to = std::min<int64_t>(to, w - 1);
            spans[fill[y]++] = from <= to ? Span{int16_t(from), int16_t(to + 1)} : kEmpty;
        });
    }
    for (uint64_t p : cover.pixels_) {
        const int16_t x = int16_t(uint32_t(p));
        spans[fill[p >> 32]++] = {x, int16_t(x + 1)};
    }

    // Every run's region, row by row in the sweep's order: a row has at
    // most one run more than its spans.
    if (size_t(start[size_t(h)]) + size_t(h) > runRoom_) {
        runRoom_ = size_t(start[size_t(h)]) + size_t(h);
        runNode_.reset(new uint16_t[runRoom_]);
    }
    uint16_t* runNode = runNode_.get();
    uint16_t* const nodesFrom = runNode;
    std::vector<int32_t>& runStart = runStart_;
    runStart.resize(size_t(h) + 1);

    // Each row's runs end with one that starts beyond every column, so that
    // the walks along the row above need no other bound.
    constexpr Run kEnd{INT32_MAX, INT32_MAX, -1};
    bool tooMany = false;  // regions beyond what a run's 16-bit number holds
    // Runs renamed by unions. Real networks join a few regions a row; many
    // on one wide row (a comb of thousands of teeth) would cost the square
    // of the row, and the whole labelling is then asked instead.
    size_t renamed = 0;
    const size_t renameRoom = 4 * size_t(start[size_t(h)]) + 65536;
    // Room for every run of a row (one more than its spans) and the end.
    std::unique_ptr<Run[]> buffers(new Run[2 * (size_t(most) + 2)]);
    Run* above = buffers.get();
    Run* row = above + most + 2;
    above[0] = kEnd;
    const int32_t* const rowStart = start.data();
    for (int y = 0; y < h; ++y) {
        // Until now the row's entry marked where its traced spans end.
        Span* const first = spans + rowStart[y];
        Span* const last = spans + rowStart[y + 1];
        for (Span* e = spans + runStart[size_t(y)]; e < last; ++e) *e = kEmpty;
        runStart[size_t(y)] = int32_t(runNode - nodesFrom);
        for (Span* s = first + 1; s < last; ++s) {
            const Span v = *s;
            if (s[-1].from <= v.from) continue;
            Span* t = s;
            for (; t > first && t[-1].from > v.from; --t) *t = t[-1];
            *t = v;
        }
        Run* out = row;
        Run* up = above;
        int32_t* parent = parent_.data();
        // A run joins the region of the first run above it that it overlaps
        // (touching through an edge); any further one is united with it.
        auto add = [&](int32_t from, int32_t to) __attribute__((always_inline)) {
            while (up->to <= from) ++up;
            int32_t node;
            if (up->from < to) {
                node = up->node;
                for (Run* u = up + 1; u->from < to; ++u) {
                    const int32_t r = u->node;
                    if (r == node) continue;
                    const int32_t keep = std::min(r, node), gone = std::max(r, node);
                    parent[gone] = keep;
                    // The two rows in hand keep naming roots, so that no run
                    // needs a search: the few unions rename what they hold.
                    if (renamed <= renameRoom) {
                        for (Run* p = row; p < out; ++p)
                            if (p->node == gone) p->node = keep;
                        Run* p = u;
                        for (; p->from != INT32_MAX; ++p)
                            if (p->node == gone) p->node = keep;
                        renamed += size_t(out - row) + size_t(p - u);
                    }
                    Box& k = boxes_[size_t(keep)];
                    const Box& g = boxes_[size_t(gone)];
                    k = {std::min(k.x0, g.x0), std::min(k.y0, g.y0), std::max(k.x1, g.x1),
                         std::max(k.y1, g.y1)};
                    node = keep;
                }
                Box& b = boxes_[size_t(node)];
                if (from < b.x0) b.x0 = from;
                if (to - 1 > b.x1) b.x1 = to - 1;
                b.y1 = y;
            } else {
                node = int32_t(parent_.size());
                if (node >= kNone) node = 0, tooMany = true;
                parent_.push_back(node);
                parent = parent_.data();
                boxes_.push_back({from, y, to - 1, y});
            }
            *out++ = {from, to, node};
            *runNode++ = uint16_t(node);
        };
        // What the lines leave clear between their spans is background.
        int32_t x = 0;
        for (const Span* s = first; s < last && s->from != kEmptyFrom; ++s) {
            if (s->from > x) add(x, s->from);
            if (s->to > x) x = s->to;
        }
        if (x < w) add(x, w);
        *out = kEnd;

        std::swap(above, row);
    }
    runStart[size_t(h)] = int32_t(runNode - nodesFrom);
    return !tooMany && renamed <= renameRoom;
}
