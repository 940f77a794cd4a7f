// The regions of a surface, labelled once: every 4-connected set of pixels
// that match a colour test, stored as horizontal runs. A region can then be
// asked about ("is this pixel in it?", its bounding box) and painted or
// cleared from its runs, without flood-filling it pixel by pixel each time.
// The labels describe the surface as it was when they were built; they stay
// valid for as long as no matching pixel changes.
#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/Surface.h"

// What lines cover of a surface that is black but for them. Where lines are
// dense, one bit a pixel (an eighth of the surface, read a word at a time);
// where they cover little of a large surface, row spans, whose memory and
// time grow with the lines rather than with the empty paper. The pixels are
// those Surface::Line and SetPixel would set, clipped to the surface.
class LineCover {
  public:
    // spans: keep row spans instead of bits.
    LineCover(int w, int h, bool spans = false)
        : w_(std::max(w, 0)),
          h_(std::max(h, 0)),
          spanned_(spans),
          stride_((size_t(w_) + 63) / 64),
          bits_(spans ? 0 : stride_ * size_t(h_), 0) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Spanned() const { return spanned_; }
    void AddLine(int x1, int y1, int x2, int y2);
    void AddPixel(int x, int y) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        if (spanned_)
            Add(y, x, x + 1);
        else
            Set(x, y);
    }
    bool Covers(int x, int y) const;
    // Room for about n spans, so that adding them copies nothing.
    void Reserve(size_t n) {
        if (spanned_) spans_.reserve(n);
    }

  private:
    friend class RegionLabels;
    void Set(int x, int y) {
        bits_[size_t(y) * stride_ + size_t(x) / 64] |= uint64_t(1) << (x % 64);
    }
    struct Span {
        int32_t y, from, to;  // [from, to) of row y
    };
    // Appends a span, or widens the last one where this continues it.
    void Add(int y, int from, int to) {
        sealed_ = false;
        if (!spans_.empty()) {
            Span& b = spans_.back();
            if (b.y == y && from <= b.to && to >= b.from) {
                b.from = std::min(b.from, int32_t(from));
                b.to = std::max(b.to, int32_t(to));
                return;
            }
        }
        spans_.push_back({y, from, to});
    }
    // Orders the spans by row and then by start, joining those that overlap
    // or touch; row y's are rowStart_[y] .. rowStart_[y + 1].
    void Seal() const;
    int w_, h_;
    bool spanned_;
    size_t stride_;  // words a row
    std::vector<uint64_t> bits_;
    mutable std::vector<Span> spans_;
    mutable std::vector<int32_t> rowStart_;
    mutable bool sealed_ = false;
};

class RegionLabels {
  public:
    // Which pixels make up the regions: those of the colour, or all others.
    enum class Match { Equal, NotEqual };

    // One sequential sweep: the matching runs of every row, joined to the
    // overlapping runs of the row above (union-find). Regions are numbered in
    // the order of their first pixel (top row first, then left to right).
    void Build(const Surface& s, uint8_t colour, Match m);
    // The same for the black pixels of a surface that shows nothing but the
    // lines of `cover`, without the surface: the regions are the gaps
    // between the lines.
    void Build(const LineCover& cover);

    int Width() const { return w_; }
    int Height() const { return h_; }
    int Count() const { return int(boxes_.size()); }
    // The region holding (x, y); -1 for a pixel that does not match or lies
    // outside the surface.
    int RegionAt(int x, int y) const;
    // The bounding box of a region's pixels.
    QRect Bounds(int region) const { return boxes_[size_t(region)]; }
    int64_t PixelCount(int region) const;
    // The one colour all pixels of the region had when the labels were
    // built, or NoColour when they had more than one.
    uint8_t UniformColour(int region) const { return colours_[size_t(region)]; }

    // Calls f(y, from, to) for every run of the region, [from, to) of row y,
    // top row first and left to right.
    template <class F>
    void ForEachRun(int region, F f) const {
        for (int32_t k = regionStart_[size_t(region)]; k < regionStart_[size_t(region) + 1]; ++k) {
            const Run& r = runs_[size_t(regionRuns_[size_t(k)])];
            f(int(r.y), int(r.from), int(r.to));
        }
    }
    // Sets every pixel of the region to colour c (copy, whatever the surface's
    // raster operation).
    void Paint(Surface& s, int region, uint8_t c) const;
    // Paints many regions at once: region r in colour[r], none where that is
    // NoColour. The runs are laid down in raster order, one pass down the
    // surface; painted region by region, each run of a large surface lies in
    // another memory page, and that costs several times as much.
    void PaintAll(Surface& s, const std::vector<uint8_t>& colour) const;

  private:
    // The sweep shared by both sources: rows(y, add) calls add(from, to) for
    // the runs of row y, left to right.
    template <class Rows>
    void Sweep(int w, int h, Rows rows);
    struct Run {
        int32_t y, from, to;  // [from, to) of row y
        int32_t region;
    };
    int w_ = 0, h_ = 0;
    std::vector<Run> runs_;          // in raster order
    std::vector<int32_t> rowStart_;  // runs of row y: rowStart_[y] .. rowStart_[y + 1]
    std::vector<QRect> boxes_;
    std::vector<uint8_t> colours_;  // by region
    // Run indices of region r: regionRuns_[regionStart_[r] .. regionStart_[r + 1]).
    std::vector<int32_t> regionStart_, regionRuns_;
    // Work space of the sweep, kept so that building again allocates nothing.
    std::vector<int32_t> parent_, fill_;
    std::vector<uint8_t> runColour_;
};
