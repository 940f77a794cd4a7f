// A red mark laid over the view for a while (the region a composition failed
// in, the spot to look at): what it covers is kept, so that taking it back
// restores the view wherever nothing has been drawn over it since.
#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

#include "raster/Surface.h"

class RedMark {
  public:
    // The mark's shape: every red pixel of `from`, and a ring of radius
    // `ring` around `spot` when spot lies on the surface.
    void TakeShape(const Surface& from, QPoint spot, int ring);
    bool Empty() const { return rect_.isEmpty(); }
    // Paints the shape red on view, keeping what was there; the rectangle
    // that changed.
    QRect Lay(Surface& view);
    // Puts back what the mark covered where the view still shows it red, and
    // forgets the mark; the rectangle that may have changed.
    QRect TakeBack(Surface& view);

  private:
    QRect Paint(Surface& view, bool lay);
    QRect rect_;
    std::vector<bool> shape_;  // row by row over rect_
    std::vector<uint8_t> under_;
    bool laid_ = false;
};
