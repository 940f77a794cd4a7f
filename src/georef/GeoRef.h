// Where a map's pixels lie on the ground. The network stays in pixels; this
// says how to turn them into real coordinates: an affine fit (from an import
// or from control points), or a warp through control points.
#pragma once

#include <QString>
#include <array>
#include <vector>

namespace georef {

enum class Method { Affine, Poly2, Poly3, Tps };

struct ControlPoint {
    double px = 0, py = 0;  // on the map, in the network's coordinates
    double x = 0, y = 0;    // on the ground; longitude first for a geographic system
    bool enabled = true;
    bool operator==(const ControlPoint&) const = default;
};

struct GeoRef {
    QString crs;  // as the person gave it ("EPSG:6677"); empty when only the WKT is known
    QString wkt;  // the coordinate system; empty when unknown
    // X = a0 + a1 px + a2 py, Y = a3 + a4 px + a5 py, for a point's own
    // coordinates (the centre of its pixel). With control points, their
    // affine fit, so a world file can be written without a GIS library.
    bool hasAffine = false;
    std::array<double, 6> affine{};
    Method method = Method::Affine;
    std::vector<ControlPoint> points;

    bool Empty() const { return !hasAffine && points.empty(); }
    // Whether export needs the control points rather than the affine.
    bool Warped() const { return method != Method::Affine && !points.empty(); }
    bool operator==(const GeoRef&) const = default;
};

const char* MethodName(Method m);  // "affine", "poly2", "poly3", "tps"
bool MethodFromName(const QString& name, Method* m);

}  // namespace georef
