#include "usecases/GeoReference.h"

#include <gdal_alg.h>
#include <ogr_spatialref.h>

#include <cmath>

#include "gis/GdalSession.h"
#include "gis/GroundTransform.h"

namespace usecase {

namespace {

// The affine least-squares fit of the enabled points, for the world file.
bool AffineFit(const georef::GeoRef& g, std::array<double, 6>& a) {
    std::vector<GDAL_GCP> gcps = gis::EnabledGcps(g);
    double gt[6];
    if (gcps.size() < 3 || !GDALGCPsToGeoTransform(int(gcps.size()), gcps.data(), gt, TRUE))
        return false;
    // From the pixel's corner to its centre, where a point lies.
    a = {gt[0] + 0.5 * gt[1] + 0.5 * gt[2], gt[1], gt[2],
         gt[3] + 0.5 * gt[4] + 0.5 * gt[5], gt[4], gt[5]};
    for (double v : a)
        if (!std::isfinite(v)) return false;
    return std::abs(a[1] * a[5] - a[2] * a[4]) > 0;
}

// How thin the enabled points' spread is: the smaller over the larger
// principal axis of their pixel positions (0: on one line).
double Thinness(const georef::GeoRef& g, double* spanX, double* spanY) {
    double n = 0, mx = 0, my = 0;
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (const auto& p : g.points)
        if (p.enabled) {
            n += 1, mx += p.px, my += p.py;
            x0 = std::min(x0, p.px), x1 = std::max(x1, p.px);
            y0 = std::min(y0, p.py), y1 = std::max(y1, p.py);
        }
    *spanX = x1 - x0, *spanY = y1 - y0;
    if (n < 2) return 0;
    mx /= n, my /= n;
    double sxx = 0, syy = 0, sxy = 0;
    for (const auto& p : g.points)
        if (p.enabled) {
            sxx += (p.px - mx) * (p.px - mx);
            syy += (p.py - my) * (p.py - my);
            sxy += (p.px - mx) * (p.py - my);
        }
    const double tr = sxx + syy, det = sxx * syy - sxy * sxy;
    const double disc = std::sqrt(std::max(0.0, tr * tr / 4 - det));
    const double big = tr / 2 + disc, small = tr / 2 - disc;
    return big > 0 ? std::sqrt(std::max(0.0, small) / big) : 0;
}

// The first place on a grid over the map where the transform turns the map
// over (its Jacobian changes sign from the centre's); false when none.
bool FindFold(const gis::GroundTransform& t, QSize size, QPointF* where) {
    auto det = [&](double px, double py, double* d) {
        double x0, y0, x1, y1, x2, y2;
        if (!t.ToGround(px, py, x0, y0) || !t.ToGround(px + 1, py, x1, y1) ||
            !t.ToGround(px, py + 1, x2, y2))
            return false;
        *d = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
        return true;
    };
    double centre;
    if (!det(size.width() / 2.0, size.height() / 2.0, &centre) || centre == 0) return false;
    constexpr int kSteps = 24;
    for (int j = 0; j <= kSteps; ++j)
        for (int i = 0; i <= kSteps; ++i) {
            const double px = size.width() * double(i) / kSteps,
                         py = size.height() * double(j) / kSteps;
            double d;
            if (det(px, py, &d) && (d == 0 || (d > 0) != (centre > 0))) {
                *where = QPointF(px, py);
                return true;
            }
        }
    return false;
}

// Fitted minus given, on the ground and on the scan; false without a fit.
// The scan's share is the ground error taken back through the transform's
// local scale: a polynomial's way back is a fit of its own and would add
// its own error.
bool Residual(const gis::GroundTransform& t, const georef::ControlPoint& p, double* ground,
              double* pixels, double* dx = nullptr, double* dy = nullptr) {
    double x, y, x1, y1, x2, y2;
    if (!t.ToGround(p.px, p.py, x, y) || !t.ToGround(p.px + 1, p.py, x1, y1) ||
        !t.ToGround(p.px, p.py + 1, x2, y2))
        return false;
    const double ex = x - p.x, ey = y - p.y;
    if (dx) *dx = ex;
    if (dy) *dy = ey;
    *ground = std::hypot(ex, ey);
    const double a = x1 - x, b = x2 - x, c = y1 - y, d = y2 - y, det = a * d - b * c;
    *pixels = det != 0 ? std::hypot((d * ex - b * ey) / det, (a * ey - c * ex) / det) : NAN;
    return true;
}

}  // namespace

bool CrsToWkt(const QString& crs, QString* wkt) {
    gis::EnsureGdal();
    OGRSpatialReference srs;
    if (crs.trimmed().isEmpty() ||
        srs.SetFromUserInput(crs.trimmed().toUtf8().constData()) != OGRERR_NONE)
        return false;
    char* text = nullptr;
    if (srs.exportToWkt(&text) != OGRERR_NONE) {
        CPLFree(text);
        return false;
    }
    *wkt = QString::fromUtf8(text);
    CPLFree(text);
    return true;
}

bool CrsIsGeographic(const QString& wkt) {
    OGRSpatialReference srs;
    return srs.importFromWkt(wkt.toUtf8().constData()) == OGRERR_NONE && srs.IsGeographic();
}

GeoRefBackend GdalGeoRefBackend() {
    return {FitControlPoints, CrsToWkt, CrsIsGeographic};
}

GeoRefFit FitControlPoints(const georef::GeoRef& g, QSize mapSize) {
    GeoRefFit out;
    out.geo = g;
    out.points.resize(g.points.size());
    int enabled = 0;
    for (size_t i = 0; i < g.points.size(); ++i) {
        out.points[i].enabled = g.points[i].enabled;
        enabled += g.points[i].enabled;
    }
    const int need = gis::MinimumPoints(g.method);
    auto fail = [&](Message m) {
        out.result = {false, m, {}};
        return out;
    };
    if (enabled < need)
        return fail(Say(Msg::GeoRefTooFew,
                        {QLatin1String(georef::MethodName(g.method)), QString::number(need),
                         QString::number(enabled)},
                        Msg::CapControlPoints, MsgIcon::Warning));
    double spanX, spanY;
    if (Thinness(g, &spanX, &spanY) < 0.02)
        return fail(Say(Msg::GeoRefCollinear, {}, Msg::CapControlPoints, MsgIcon::Warning));
    out.geo.hasAffine = AffineFit(g, out.geo.affine);
    if (!out.geo.hasAffine)
        return fail(Say(Msg::GeoRefCollinear, {}, Msg::CapControlPoints, MsgIcon::Warning));
    const gis::GroundTransform t(out.geo);
    if (!t.Ok())
        return fail(
            Say(Msg::GeoRefNotSolvable, {t.Error()}, Msg::CapControlPoints, MsgIcon::Warning));

    double sum = 0, sumPx = 0, sumLoo = 0, sumLooPx = 0;
    int looCount = 0;
    for (size_t i = 0; i < g.points.size(); ++i) {
        const georef::ControlPoint& p = g.points[i];
        PointFit& f = out.points[i];
        f.fitted = Residual(t, p, &f.residual, &f.residualPx, &f.dx, &f.dy);
        if (!p.enabled || !f.fitted) continue;
        sum += f.residual * f.residual;
        sumPx += f.residualPx * f.residualPx;
        georef::GeoRef without = out.geo;
        without.points[i].enabled = false;
        if (!without.Warped()) AffineFit(without, without.affine);
        double spreadX, spreadY;
        if (enabled - 1 < need || Thinness(without, &spreadX, &spreadY) < 0.02) continue;
        const gis::GroundTransform others(without);
        f.leftOut = others.Ok() && Residual(others, p, &f.leaveOneOut, &f.leaveOneOutPx);
        if (f.leftOut) {
            sumLoo += f.leaveOneOut * f.leaveOneOut;
            sumLooPx += f.leaveOneOutPx * f.leaveOneOutPx;
            ++looCount;
        }
    }
    out.rms = std::sqrt(sum / enabled);
    out.rmsPx = std::sqrt(sumPx / enabled);
    if (looCount) {
        out.leaveOneOutRms = std::sqrt(sumLoo / looCount);
        out.leaveOneOutRmsPx = std::sqrt(sumLooPx / looCount);
    }
    QPointF fold;
    if (!t.Linear() && FindFold(t, mapSize, &fold))
        out.warnings << msg::Format(
            Msg::GeoRefFolds, {QString::number(int(fold.x())), QString::number(int(fold.y()))});
    if (spanX < mapSize.width() / 4.0 && spanY < mapSize.height() / 4.0)
        out.warnings << msg::Text(Msg::GeoRefClustered);
    out.result.ok = true;
    return out;
}

}  // namespace usecase
