// Boundary data (any polygon layer GDAL/OGR reads: GeoJSON, Shapefile,
// GeoPackage, ...) into a work file ready to compose: fitted to a pixel
// size, snap-rounded and noded, one area per feature with a position in
// each of its largest parts.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "gis/MapTransform.h"
#include "store/Store.h"

namespace gis {

struct ImportOptions {
    QString nameField;                // empty: the first string field
    int width = 2560, height = 1920;  // the pixel box the data is fitted into
    QString layer;                    // empty: the first layer holding polygons
    QString encoding;  // of a Shapefile without .cpg (e.g. CP932); empty: the driver's guess
    // The memory the import may take, judged from the source's vertices
    // before anything is built; 0: no bound.
    int64_t maxBytes = 0;
    // How far a shared boundary may stray when simplified, px; 0: kept as noded.
    double simplify = 0;
};

struct ImportResult {
    QString error;      // set when nothing may be written
    QStringList notes;  // names cut or changed, parts dropped or too small
    QString layer, nameField;
    // Refused for the memory it would take: the source's vertices (counted,
    // or reckoned from the features read so far) and the bytes they cost.
    bool overBudget = false;
    int64_t vertices = 0, neededBytes = 0;
    int features = 0, areas = 0, parts = 0, positions = 0, chains = 0, points = 0;
    int pointsBeforeSimplify = 0;  // the point list's length before it; 0 without it
    struct FeatureRef {
        long long fid = 0;
        QString name;
    };
    // Features lying on or inside others, named before the composition
    // finds two positions in one region: "same-shape" (the same polygons),
    // "same-name" (the same name, overlapping) or "inside" (the first lies
    // wholly in the second, which has no hole for it).
    struct Overlap {
        QString kind;
        FeatureRef first, second;
    };
    std::vector<Overlap> overlaps;
    // Moved 360° east so that data crossing the antimeridian is one range.
    std::vector<FeatureRef> shifted;
    MapTransform transform;
};

// Fills a fresh store with the imported map, its georeference the fit to
// the source's coordinates. False (with r.error) on bad input.
bool ImportBoundaries(const QString& input, const ImportOptions& options, Store& st,
                      ImportResult& r);

}  // namespace gis
