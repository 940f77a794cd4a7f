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
// where they cover little of a large surface, the lines and points
// themselves, turned into row spans one row at a time as the labels are
// swept, so that memory and time grow with the lines rather than with the
// empty paper. The pixels are those Surface::Line and SetPixel would set,
// clipped to the surface.
class LineCover {
  public:
    // spans: keep the lines and give their row spans, instead of bits.
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
            pixels_.push_back(uint64_t(uint32_t(y)) << 32 | uint32_t(x));
        else
            Set(x, y);
    }
    bool Covers(int x, int y) const;
    // Room for about n lines and n points, so that adding them copies nothing.
    void Reserve(size_t n) {
        if (!spanned_) return;
        lines_.reserve(n);
        pixels_.reserve(n);
    }

  private:
    struct Line {
        int32_t x1, y1, x2, y2;
        int32_t top, bottom;  // rows on the surface
    };

  public:
    struct Span {
        int32_t from, to;  // [from, to)
    };
    // The rows of a spanned cover, top to bottom. A line is traced into its
    // own rows when the first of them is asked for and dropped after the
    // last, so only the lines across the current row are held.
    class Rows {
      public:
        explicit Rows(const LineCover& c);
        // The covered spans of row y by start (they may overlap); y must
        // grow from call to call.
        const std::vector<Span>& Row(int y);

      private:
        struct Active {
            int32_t top, bottom;
            size_t at;  // row top's span in arena_
            Span now;   // on the current row; from = INT32_MAX when empty
        };
        void Trace(const Active& a, const Line& l);
        const LineCover& c_;
        std::vector<uint64_t> order_;  // (top row, line) ascending
        size_t nextLine_ = 0, nextPixel_ = 0;
        std::vector<Active> active_;
        std::vector<Span> arena_, spare_, row_;
        size_t held_ = 0;  // spans of active lines in arena_
    };

  private:
    friend class RegionLabels;
    friend class BlockRegions;
    void Set(int x, int y) {
        bits_[size_t(y) * stride_ + size_t(x) / 64] |= uint64_t(1) << (x % 64);
    }
    int w_, h_;
    bool spanned_;
    size_t stride_;  // words a row
    std::vector<uint64_t> bits_;
    std::vector<Line> lines_;
    mutable std::vector<uint64_t> pixels_;  // (y, x), sorted when the rows are read
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
        if (!listed_) ListRuns();
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
    // Run indices of region r: regionRuns_[regionStart_[r] .. regionStart_[r + 1]),
    // listed when first asked for (the composition without a surface never does).
    void ListRuns() const;
    mutable std::vector<int32_t> regionStart_, regionRuns_;
    mutable bool listed_ = false;
    // Work space of the sweep, kept so that building again allocates nothing.
    std::vector<int32_t> parent_;
    mutable std::vector<int32_t> fill_;
    std::vector<uint8_t> runColour_;
};
