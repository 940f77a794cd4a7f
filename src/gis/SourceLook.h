// A first look at boundary data before it is imported: its layers, the
// attributes of one layer with their first values, and for a Shapefile the
// encoding its attribute table declares or its bytes suggest.
#pragma once

#include <QString>

#include "base/ImportFields.h"

namespace gis {

// Fills what `f` offers for f.layer and f.encoding (empty: the first layer
// holding polygons; the encoding declared or found) and settles every
// choice left empty or no longer offered: the layer, the name field (the
// first text attribute) and the encoding. f.error is set when the source
// cannot be read. At most `samples` values are shown per attribute.
void LookAtSource(const QString& path, ImportFields& f, int samples = 3);

}  // namespace gis
