// The finished map as a drawing: outlines, each area's name at its first
// position and the title with its remarks, for SVG, PDF, PNG and the printer.
#pragma once

#include <QRectF>
#include <vector>

#include "gis/MapExport.h"
#include "store/Store.h"

class QPainter;

namespace gis {

// Draws the map scaled to fit target, keeping its aspect ratio.
void DrawMap(QPainter& p, const Store& st, const std::vector<AreaOutlines>& outlines,
             const QRectF& target);

}  // namespace gis
