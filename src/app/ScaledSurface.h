// The drawing surface as the view shows it at any magnification.
#pragma once

#include <QImage>
#include <QRect>

#include "app/ViewScale.h"

class Surface;

// Widget pixels r of the surface shown at scale sc, picked by nearest
// neighbour (zoomed out, each widget pixel shows the top-left surface pixel
// of its block, the one a click there reaches). r is cut to the surface's
// extent; the result has r's size after the cut.
QImage ScaledSurface(const Surface& s, ViewScale sc, QRect r);
