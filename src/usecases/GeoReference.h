// Georeferencing a traced scan by control points, for the window and
// velmot-cli-gis alike: the fit, each point's residual and leave-one-out
// error, and what makes the fit doubtful. Built into the GIS library.
#pragma once

#include <QSize>
#include <QStringList>
#include <functional>
#include <vector>

#include "georef/GeoRef.h"
#include "usecases/Result.h"

namespace usecase {

struct PointFit {
    bool enabled = true;
    bool fitted = false;    // the fit gave a residual (enabled points)
    double dx = 0, dy = 0;  // fitted minus given, in map units
    double residual = 0;    // |(dx, dy)|
    double residualPx = 0;  // the same in pixels: where the fit puts the point on the scan
    bool leftOut = false;   // the points without this one still give a fit
    double leaveOneOut = 0, leaveOneOutPx = 0;  // the error at this point of that fit
};

struct GeoRefFit {
    Result result;                 // ok: the points give a transform
    georef::GeoRef geo;            // the input with its affine fit filled in
    std::vector<PointFit> points;  // one per control point, in order
    double rms = 0, rmsPx = 0;     // over the enabled points
    double leaveOneOutRms = 0, leaveOneOutRmsPx = 0;
    QStringList warnings;  // doubts that do not stop the fit (folds, clustering)
};

// Fits the control points of g by its method. mapSize is the scan's extent,
// over which fold-over and the points' spread are judged.
GeoRefFit FitControlPoints(const georef::GeoRef& g, QSize mapSize);

// "EPSG:6677", "epsg:4326" or a WKT text: the coordinate system's WKT.
// False when it is unknown.
bool CrsToWkt(const QString& crs, QString* wkt);
// Whether a coordinate system is geographic (longitude and latitude).
bool CrsIsGeographic(const QString& wkt);

// The three above, for the window's core, which links no GDAL: the window
// hands them in (GdalGeoRefBackend), and without them it shows no fit.
struct GeoRefBackend {
    std::function<GeoRefFit(const georef::GeoRef&, QSize)> fit;
    std::function<bool(const QString& crs, QString* wkt)> crsToWkt;
    std::function<bool(const QString& wkt)> isGeographic;
    explicit operator bool() const { return bool(fit); }
};
GeoRefBackend GdalGeoRefBackend();

}  // namespace usecase
