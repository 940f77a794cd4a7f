#include "gis/MapTransform.h"

namespace gis {

georef::GeoRef ToGeoRef(const MapTransform& t) {
    georef::GeoRef g;
    g.wkt = t.wkt;
    g.hasAffine = true;
    const double c = t.geographic ? t.cosLat : 1.0;
    g.affine = {(t.minX - t.margin / t.scale) / c,
                1.0 / (t.scale * c),
                0.0,
                t.maxY + t.margin / t.scale,
                0.0,
                -1.0 / t.scale};
    return g;
}

}  // namespace gis
