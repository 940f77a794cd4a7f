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

bool BlockRegions::Build(const LineCover& cover, std::vector<Corner> blocks) {
    constexpr int n = kSide * kSide;
    const int w = cover.Width(), h = cover.Height();
    // Spans are kept as 16-bit columns; the end of a run is at most w, and
    // an empty span's start lies beyond it.
    if (!cover.Spanned() || w >= kEmptyFrom) return false;
    blocks_ = std::move(blocks);
    // The sweep writes each block's rows on the surface; rows above or below
    // it are nothing's.
    at_.reset(new uint16_t[blocks_.size() * n]);
    for (size_t b = 0; b < blocks_.size(); ++b)
        for (int dy = 0; dy < kSide; ++dy)
            if (blocks_[b].y + dy < 0 || blocks_[b].y + dy >= h)
                std::fill_n(at_.get() + b * n + size_t(dy) * kSide, kSide, kNone);
    parent_.clear();
    boxes_.clear();

    // Every line has one span on each row from its top to its bottom, every
    // point one on its row: counted by row first, then traced straight into
    // their rows' places. Lines are traced from left to right, so that a
    // row's spans come nearly in order and sorting them moves little.
    std::vector<int32_t>& start = start_;
    start.assign(size_t(h) + 2, 0);
    std::vector<uint64_t>& order = order_;
    order.clear();
    for (size_t i = 0; i < cover.lines_.size(); ++i) {
        const LineCover::Line& l = cover.lines_[i];
        ++start[size_t(l.top) + 1];
        --start[size_t(l.bottom) + 2];
        const int32_t left = std::max(std::min(l.x1, l.x2), -1);
        order.push_back(uint64_t(uint32_t(left + 1)) << 32 | uint32_t(i));
    }
    std::sort(order.begin(), order.end());
    for (int y = 1; y <= h; ++y) start[size_t(y)] += start[size_t(y) - 1];
    for (uint64_t p : cover.pixels_) ++start[size_t(p >> 32) + 1];
    for (int y = 1; y <= h; ++y) start[size_t(y)] += start[size_t(y) - 1];
    // A row a line does not reach (clipped at the sides, or the row of an
    // end it leaves out) keeps an empty span; the empty ones sort after
    // every other.
    constexpr Span kEmpty{kEmptyFrom, kEmptyFrom};
    if (size_t(start[size_t(h)]) > spanRoom_) {
        spanRoom_ = size_t(start[size_t(h)]);
        spans_.reset(new Span[spanRoom_]);
    }
    fill_.assign(start.begin(), start.end() - 1);
    int32_t* fill = fill_.data();
    Span* spans = spans_.get();
    for (uint64_t o : order) {
        const LineCover::Line& l = cover.lines_[size_t(uint32_t(o))];
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
    for (int y = 0; y < h; ++y)
        for (int32_t k = fill[y]; k < start[size_t(y) + 1]; ++k) spans[k] = kEmpty;

    // Blocks by their top row (counted as the spans were); those across the
    // current row are `open`.
    std::vector<int32_t>& blockAt = blockAt_;
    blockAt.assign(size_t(h) + 1, 0);
    for (const Corner& c : blocks_)
        if (c.y + kSide > 0 && c.y < h) ++blockAt[size_t(std::max(c.y, 0)) + 1];
    for (int y = 1; y <= h; ++y) blockAt[size_t(y)] += blockAt[size_t(y) - 1];
    std::vector<int32_t>& byTop = byTop_;
    byTop.resize(size_t(blockAt[size_t(h)]));
    fill_.assign(blockAt.begin(), blockAt.end() - 1);
    for (size_t b = 0; b < blocks_.size(); ++b)
        if (blocks_[b].y + kSide > 0 && blocks_[b].y < h)
            byTop[size_t(fill[std::max(blocks_[b].y, 0)]++)] = int32_t(b);
    std::vector<int32_t> open;

    // Each row's runs end with one that starts beyond every column, so that
    // the walks along the row above need no other bound.
    constexpr Run kEnd{INT32_MAX, INT32_MAX, -1};
    bool tooMany = false;  // regions beyond what a block's 16-bit answer holds
    int32_t most = 0;      // spans on the fullest row
    for (int y = 0; y < h; ++y) most = std::max(most, start[size_t(y) + 1] - start[size_t(y)]);
    // Room for every run of a row (one more than its spans) and the end.
    std::unique_ptr<Run[]> buffers(new Run[2 * (size_t(most) + 2)]);
    Run* above = buffers.get();
    Run* row = above + most + 2;
    above[0] = kEnd;
    const int32_t* const rowStart = start.data();
    const int32_t* const blocksFrom = blockAt.data();
    for (int y = 0; y < h; ++y) {
        Span* const first = spans + rowStart[y];
        Span* const last = spans + rowStart[y + 1];
        for (Span* s = first + 1; s < last; ++s) {
            const Span v = *s;
            if (s[-1].from <= v.from) continue;
            Span* t = s;
            for (; t > first && t[-1].from > v.from; --t) *t = t[-1];
            *t = v;
        }
        Run* out = row;
        const Run* up = above;
        int32_t* parent = parent_.data();
        // A run joins the region of the first run above it that it overlaps
        // (touching through an edge); any further one is united with it.
        auto add = [&](int32_t from, int32_t to) __attribute__((always_inline)) {
            while (up->to <= from) ++up;
            int32_t node;
            if (up->from < to) {
                node = up->node;
                if (parent[node] != node) node = Find(node);
                for (const Run* u = up + 1; u->from < to; ++u) {
                    int32_t r = u->node;
                    if (parent[r] != r) r = Find(r);
                    if (r == node) continue;
                    const int32_t keep = std::min(r, node), gone = std::max(r, node);
                    parent[gone] = keep;
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
        };
        // What the lines leave clear between their spans is background.
        int32_t x = 0;
        for (const Span* s = first; s < last && s->from != kEmptyFrom; ++s) {
            if (s->from > x) add(x, s->from);
            if (s->to > x) x = s->to;
        }
        if (x < w) add(x, w);
        *out = kEnd;

        // The open blocks are kept in column order, so that one walk along
        // the row finds the run at each block's first column.
        for (int32_t k = blocksFrom[y]; k < blocksFrom[y + 1]; ++k) {
            const int32_t b = byTop[size_t(k)];
            const int32_t bx = blocks_[size_t(b)].x;
            open.push_back(b);
            size_t i = open.size() - 1;
            for (; i > 0 && blocks_[size_t(open[i - 1])].x > bx; --i) open[i] = open[i - 1];
            open[i] = b;
        }
        size_t kept = 0;
        const Run* at = row;
        for (int32_t b : open) {
            const Corner c = blocks_[size_t(b)];
            const int dy = y - c.y;
            uint16_t* res = at_.get() + size_t(b) * n + size_t(dy) * kSide;
            while (at->to <= c.x) ++at;
            if (at->from <= c.x && at->to >= c.x + kSide && c.x >= 0) {
                // One run holds the block's whole row.
                const uint16_t v = uint16_t(at->node);
                for (int dx = 0; dx < kSide; ++dx) res[dx] = v;
            } else {
                const Run* r = at;
                for (int dx = 0; dx < kSide; ++dx) {
                    const int32_t px = c.x + dx;
                    while (r->to <= px) ++r;
                    res[dx] = r->from <= px && px >= 0 ? uint16_t(r->node) : kNone;
                }
            }
            if (dy + 1 < kSide) open[kept++] = b;
        }
        open.resize(kept);
        std::swap(above, row);
    }
    return !tooMany;
}
