// Painting the map on the drawing surface. The editing commands find points
// and lines by reading pixel colours back, so the colours and the exact way
// segments and points are drawn here are what they rely on. Everything here
// reads the map and writes only the surface.
#pragma once

#include <cstdint>
#include <functional>

#include "raster/Surface.h"
#include "store/Store.h"

namespace render {

// The legend box is always this many pixels square.
constexpr int LegendSize = 100;

// Colour argument: a palette index, or -1 for the default (magenta lines,
// white points).
constexpr int DefaultColour = -1;

// One segment of a list: either end with x = 0 is a separator and draws no
// line; an end with x > 0 is a point.
void DrawSegment(Surface& s, int x1, int y1, int x2, int y2, int lineColour = DefaultColour,
                 int pointColour = DefaultColour);
void DrawPointList(const Store& st, Surface& s, int lineColour = DefaultColour,
                   int pointColour = DefaultColour);
// Each kind group in its colour: second boundaries yellow, divisions aqua,
// auxiliary lines green.
void DrawKindList(const Store& st, Surface& s);
// Black over the map's extent.
void ClearExtent(const Store& st, Surface& s);
// The under-drawing (decoded to palette indices) at the top-left corner.
void DrawPicture(const Surface& picture, Surface& s);
// The map over its background: the legend box, then the network.
void DrawMap(const Store& st, Surface& s);

// The work as the window shows it. With its under-drawing shown: the
// surface grey, grown to hold `picture` and with it drawn (nullptr: it could
// not be read). Otherwise the map extent cleared, the surface grown to hold
// the extent; a surface nobody sees is left alone when the legend lies within
// the extent, as nothing would then be drawn beyond it. Then the legend and
// the network.
void Work(const Store& st, Surface& s, const Surface* picture, bool unseen);

// Marks every point's pixel: colour c where one record has the coordinate,
// lime where two or more have it (a node). tick runs five times or so.
void MarkVertices(const Store& st, Surface& s, uint8_t c, const std::function<void()>& tick = {});
// The same for the kind list, over the kind view (white points).
void MarkKindVertices(const Store& st, Surface& s, const std::function<void()>& tick = {});

// The view the composition traces on: every segment and point yellow on
// black, the nodes lime. `whole` clears the whole surface rather than the
// map's extent.
void CompositionView(const Store& st, Surface& s, bool whole,
                     const std::function<void()>& tick = {});

}  // namespace render
