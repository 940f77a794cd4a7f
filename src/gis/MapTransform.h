// How an imported map's pixels relate to the coordinates it came from. The
// work keeps it as its georeference (an affine), so that an export can write
// the original coordinates back.
#pragma once

#include <QPointF>
#include <QString>

#include "georef/GeoRef.h"

namespace gis {

struct MapTransform {
    QString wkt;              // the source's coordinate system, empty when it had none
    bool geographic = false;  // longitudes were scaled by cosLat before fitting
    double cosLat = 1.0;
    double minX = 0, maxY = 0;  // the source extent's top-left, after the cosLat scaling
    double scale = 1.0;         // pixels per (scaled) source unit
    double margin = 0;          // pixels left free round the fitted data
    int width = 0, height = 0;  // the pixel size the data was fitted to

    QPointF ToPixel(double x, double y) const {
        const double sx = geographic ? x * cosLat : x;
        return {margin + (sx - minX) * scale, margin + (maxY - y) * scale};
    }
    QPointF ToSource(double px, double py) const {
        const double sx = minX + (px - margin) / scale;
        return {geographic ? sx / cosLat : sx, maxY - (py - margin) / scale};
    }
};

// The same transform as the work's georeference: pixels to source
// coordinates, affine in both.
georef::GeoRef ToGeoRef(const MapTransform& t);

}  // namespace gis
