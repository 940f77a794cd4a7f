// GDAL/OGR set up once per process, with its error messages kept for ours
// instead of printed.
#pragma once

#include <QString>

namespace gis {

void EnsureGdal();
// The last message GDAL reported, for quoting in our own.
QString LastGdalError();
void ClearGdalError();

}  // namespace gis
