// A composed map out to the formats other tools read: GeoJSON, Shapefile and
// GeoPackage through GDAL/OGR, and SVG, PDF and PNG drawings for print.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "georef/GeoRef.h"
#include "store/Store.h"

namespace gis {

enum class ExportFormat { GeoJson, Shapefile, GeoPackage, Svg, Pdf, Png };

// By the output's extension (geojson/json, shp, gpkg, svg, pdf, png).
std::optional<ExportFormat> FormatForPath(const QString& path);
// The files besides `path` that an export to it writes, replaces or removes
// as one set with it: a Shapefile's side files (.shx, .dbf, .prj, ...).
QStringList ExportSideFiles(const QString& path);
// The file-dialog filter of every format, and the extension each adds.
QString ExportFilter();

struct AreaOutlines {
    int area = 0;
    QString name;
    Rec label;                            // the first position, where the name goes
    std::vector<std::vector<Rec>> rings;  // one closed outline per traced position
    // Per ring: the outlines of other areas lying directly inside it
    // (enclaves), which GIS tools expect as the polygon's holes.
    std::vector<std::vector<std::vector<Rec>>> holes;
};

// The outlines of a composed map, area by area: the n-th closed chain of the
// point list is the n-th traced position. Empty when the map is not composed.
std::vector<AreaOutlines> ComposedOutlines(const Store& st);

struct ExportResult {
    QString error;
    int features = 0, rings = 0;
    QStringList withoutOutline;  // areas the composition gave no outline, by name
    QStringList mended;  // areas whose outline had to be made valid (a ring touching itself)
};

// Writes the composed map. A georeference, when given, turns pixels into
// ground coordinates (densifying the outlines first when it warps); without
// it coordinates are (x, -y). The output is written beside its final name
// first, so a failure leaves an existing file as it was.
bool ExportMap(const Store& st, const georef::GeoRef* geo, const QString& path, ExportFormat format,
               ExportResult& r);

}  // namespace gis
