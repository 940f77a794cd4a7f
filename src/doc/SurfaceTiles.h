// The drawing surface kept for undo in 64 x 64 tiles: a step shares every
// tile it did not change with the step before, so a click costs a tile or
// two, not the whole surface.
#pragma once

#include <QRect>
#include <QRegion>
#include <memory>
#include <vector>

#include "raster/Surface.h"

class SurfaceTiles {
  public:
    static constexpr int Side = 64;

    // The surface as it is now; tiles equal to those of `prev` are shared.
    // `changed` receives the tiles that differ (everything on a new size).
    static SurfaceTiles Take(const Surface& s, const SurfaceTiles* prev, QRect* changed);
    // Puts these pixels onto the surface (resizing it when the size differs);
    // returns the tiles that differed. False in `resized` unless it resized.
    QRect ApplyTo(Surface& s, bool* resized) const;

    int Width() const { return w_; }
    int Height() const { return h_; }
    // Bytes held that `other` does not share (all of them when null).
    size_t UnsharedBytes(const SurfaceTiles* other) const;

  private:
    using Tile = std::shared_ptr<const std::vector<uint8_t>>;
    QRect TileRect(size_t i) const;
    int w_ = 0, h_ = 0, cols_ = 0;
    std::vector<Tile> tiles_;
};
