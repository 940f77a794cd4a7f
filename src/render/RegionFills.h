// Border fills of the area-position dialog, answered from region labels. The
// dialog floods every position's region on opening and on each list click; on
// a large map that is millions of pixels each time. The regions (everything
// that is not a white line) are labelled once, and a fill paints the region's
// runs whenever it is certain to give the pixels a flood fill would give: the
// region holds one colour apart from a few pixels set one by one, and none of
// those has the fill colour. Otherwise the flood fill itself runs. Anything
// else that changes the surface is noticed and the labels are made anew.
#pragma once

#include <vector>

#include "raster/RegionLabels.h"

namespace areas {

class RegionFills {
  public:
    // The same pixels as s.FloodFillBorder(x, y, White, fill).
    void Fill(Surface& s, int x, int y, uint8_t fill);
    // The same as s.SetPixel(x, y, c).
    void SetPixel(Surface& s, int x, int y, uint8_t c);
    // The region between white lines that holds (x, y); -1 on a line or off
    // the surface. Not while painting is deferred.
    int RegionOf(const Surface& s, int x, int y);
    // The same as s.Pixel(x, y), held-back paints included.
    uint8_t Pixel(const Surface& s, int x, int y);

    // Between Defer and Flush, whole regions are not painted at once but laid
    // down together at Flush, in one pass down the surface: painting thousands
    // of regions one by one costs several times that on a large map. Pixel
    // answers as if they had been painted; nothing else may read or change
    // the surface in between.
    void Defer() { deferring_ = true; }
    void Flush(Surface& s);

  private:
    struct State {
        bool known = false;    // colour and odd pixels worked out
        bool uniform = false;  // every pixel but the odd ones has `colour`
        bool held = false;     // painted in `colour` at the next flush
        uint8_t colour = 0;
        std::vector<int> odd;  // pixel indices set one by one since
    };
    // A pixel set in a held-back region, to go on top of its paint.
    struct Late {
        int index, region;
        uint8_t colour;
    };
    void Refresh(const Surface& s);
    void Learn(const Surface& s, int region);
    // Puts what is held back on the surface.
    void LayDown(Surface& s);
    uint8_t PixelAt(const Surface& s, int index, int region) const;
    RegionLabels labels_;
    std::vector<State> states_;
    uint64_t changes_ = ~uint64_t(0);
    bool deferring_ = false;
    std::vector<int> held_;  // regions held back, each once
    std::vector<Late> late_;
};

}  // namespace areas
