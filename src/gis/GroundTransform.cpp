#include "gis/GroundTransform.h"

#include <gdal_alg.h>

#include <cmath>
#include <vector>

#include "gis/GdalSession.h"

namespace gis {

std::vector<GDAL_GCP> EnabledGcps(const georef::GeoRef& g) {
    // GDAL counts pixels from the image's corner; a point is a pixel's centre.
    std::vector<GDAL_GCP> gcps;
    for (const georef::ControlPoint& p : g.points) {
        if (!p.enabled) continue;
        GDAL_GCP c{};
        c.pszId = const_cast<char*>("");
        c.pszInfo = const_cast<char*>("");
        c.dfGCPPixel = p.px + 0.5;
        c.dfGCPLine = p.py + 0.5;
        c.dfGCPX = p.x;
        c.dfGCPY = p.y;
        gcps.push_back(c);
    }
    return gcps;
}

int MinimumPoints(georef::Method m) {
    switch (m) {
        case georef::Method::Poly2:
            return 6;
        case georef::Method::Poly3:
            return 10;
        default:
            return 3;
    }
}

GroundTransform::GroundTransform(const georef::GeoRef& g) {
    EnsureGdal();
    if (!g.Warped()) {
        if (!g.hasAffine) {
            error_ = QStringLiteral("no transform");
            return;
        }
        for (int i = 0; i < 6; ++i) a_[i] = g.affine[size_t(i)];
        ok_ = std::abs(a_[1] * a_[5] - a_[2] * a_[4]) > 0;
        if (!ok_) error_ = QStringLiteral("the affine is singular");
        return;
    }
    std::vector<GDAL_GCP> gcps = EnabledGcps(g);
    if (int(gcps.size()) < MinimumPoints(g.method)) {
        error_ = QStringLiteral("too few control points");
        return;
    }
    ClearGdalError();
    tps_ = g.method == georef::Method::Tps;
    warp_ = tps_ ? GDALCreateTPSTransformer(int(gcps.size()), gcps.data(), FALSE)
                 : GDALCreateGCPTransformer(int(gcps.size()), gcps.data(),
                                            g.method == georef::Method::Poly2 ? 2 : 3, FALSE);
    ok_ = warp_ != nullptr;
    if (!ok_) error_ = LastGdalError();
}

GroundTransform::~GroundTransform() {
    if (!warp_) return;
    if (tps_)
        GDALDestroyTPSTransformer(warp_);
    else
        GDALDestroyGCPTransformer(warp_);
}

bool GroundTransform::ToGround(double px, double py, double& x, double& y) const {
    if (!ok_) return false;
    if (!warp_) {
        x = a_[0] + a_[1] * px + a_[2] * py;
        y = a_[3] + a_[4] * px + a_[5] * py;
        return true;
    }
    double z = 0;
    int success = 0;
    x = px + 0.5;
    y = py + 0.5;
    const int r = tps_ ? GDALTPSTransform(warp_, FALSE, 1, &x, &y, &z, &success)
                       : GDALGCPTransform(warp_, FALSE, 1, &x, &y, &z, &success);
    return r && success && std::isfinite(x) && std::isfinite(y);
}

bool GroundTransform::ToPixel(double x, double y, double& px, double& py) const {
    if (!ok_) return false;
    if (!warp_) {
        const double det = a_[1] * a_[5] - a_[2] * a_[4];
        const double dx = x - a_[0], dy = y - a_[3];
        px = (a_[5] * dx - a_[2] * dy) / det;
        py = (a_[1] * dy - a_[4] * dx) / det;
        return true;
    }
    double z = 0;
    int success = 0;
    px = x;
    py = y;
    const int r = tps_ ? GDALTPSTransform(warp_, TRUE, 1, &px, &py, &z, &success)
                       : GDALGCPTransform(warp_, TRUE, 1, &px, &py, &z, &success);
    px -= 0.5;
    py -= 0.5;
    return r && success && std::isfinite(px) && std::isfinite(py);
}

}  // namespace gis
