// What the view shows at magnifications other than 1:1. The drawing surface
// stays the working raster (hit tests, fills and the composition read it);
// the view only looks at it differently:
//  - zoomed out, each screen pixel is the mean colour of the surface pixels
//    it covers that are not the traced network, and the network is drawn
//    over that from the map itself as antialiased lines of constant screen
//    width, so no line thins into dashes or vanishes at 1/8;
//  - zoomed in, the surface without the network is smoothly magnified, and
//    the network is drawn over it from the map itself as antialiased lines
//    of constant screen width, with its points as small handles.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/NetworkIndex.h"
#include "app/ViewScale.h"

class QPainter;
class Store;
class Surface;

namespace view {

// The zoomed-out levels (1/2, 1/4, 1/8) of the surface, built when first
// shown and mended where the surface changed.
class ZoomedOut {
  public:
    void Invalidate() {
        whole_ = true;
        dirty_.clear();
    }
    void Invalidate(QRect surfaceRect) {
        if (!whole_) dirty_.push_back(surfaceRect);
    }
    // Widget pixels r at scale sc (zoomed out).
    QImage Part(const Surface& s, const NetworkIndex& net, ViewScale sc, QRect r);

  private:
    // The averages of every level over surfaceRect (whole blocks of 8).
    void Build(const Surface& s, const NetworkIndex& net, QRect surfaceRect);
    // Level k's picture over surfaceRect: its average and the lines.
    void Draw(int k, const Surface& s, const NetworkIndex& net, QRect surfaceRect);
    // Told only that the surface changed, the rectangles that differ from
    // the copy the levels were made from: a dragged point's rubber band
    // redraws a few lines, not a million.
    void FindChanges(const Surface& s);
    void Remember(const Surface& s, QRect surfaceRect);
    struct Level {
        QImage base;                  // the surface without the network, averaged
        std::vector<uint8_t> weight;  // how many surface pixels that average holds
        QImage shown;                 // base with the network drawn over it
        bool shownWhole = true;
        std::vector<QRect> shownDirty;  // surface rectangles, whole blocks of 8
    };
    Level levels_[3];
    int w_ = 0, h_ = 0;
    bool whole_ = true;
    std::vector<QRect> dirty_;
    std::vector<uint8_t> made_;                           // the surface the levels show
    static constexpr size_t MaxCopied = size_t(1) << 26;  // 64M pixels
};

// Paints widget pixels r of the surface at scale sc (zoomed in) with the
// network drawn from the map.
void PaintZoomedIn(QPainter& p, const Surface& s, const NetworkIndex& net, ViewScale sc, QRect r);

// The work's control points as numbered rings over widget pixels r, the same
// size at every magnification; a switched-off point is grey. at(i) says where
// point i is shown (a dragged one follows the pointer).
void PaintControlPoints(QPainter& p, const Store& st, ViewScale sc, QRect r,
                        const std::function<QPointF(int, QPointF)>& at);

}  // namespace view
