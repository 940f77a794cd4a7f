// The finished map as a drawing: outlines, each area's name at its first
// position, the legend box where the work places it, and the title with its
// remarks above the map, for SVG, PDF, PNG and the printer.
#pragma once

#include <QRectF>
#include <vector>

#include "gis/MapExport.h"
#include "store/Store.h"

class QPainter;

namespace gis {

// Where things went, in the painter's coordinates.
struct MapPlacement {
    QRectF map;     // the map's extent
    QRectF header;  // the title and remarks; empty without them
    QRectF legend;  // empty when the work places none
    double nameSize = 0, titleSize = 0;  // text heights, in the device's pixels
};

// Draws the map scaled to fit target below its title and remarks, keeping
// its aspect ratio. Texts are never smaller than a size readable on paper,
// judged from the device's resolution.
MapPlacement DrawMap(QPainter& p, const Store& st, const std::vector<AreaOutlines>& outlines,
                     const QRectF& target);

}  // namespace gis
