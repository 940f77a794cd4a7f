// A work's georeference as a working transform: pixels to ground
// coordinates, through the affine or through GDAL's polynomial or thin plate
// spline transformers fitted to the enabled control points.
#pragma once

#include <gdal.h>

#include <QString>
#include <memory>
#include <vector>

#include "georef/GeoRef.h"

namespace gis {

// The enabled control points as GDAL takes them.
std::vector<GDAL_GCP> EnabledGcps(const georef::GeoRef& g);

class GroundTransform {
  public:
    // Fits the transform; Ok() false (with Error()) when it cannot be.
    explicit GroundTransform(const georef::GeoRef& g);
    ~GroundTransform();
    GroundTransform(const GroundTransform&) = delete;
    GroundTransform& operator=(const GroundTransform&) = delete;

    bool Ok() const { return ok_; }
    const QString& Error() const { return error_; }
    // Whether straight pixel segments stay straight on the ground.
    bool Linear() const { return !warp_; }
    // A point's coordinates (the centre of its pixel) to the ground, and
    // back; false where the transform gives no answer.
    bool ToGround(double px, double py, double& x, double& y) const;
    bool ToPixel(double x, double y, double& px, double& py) const;

  private:
    bool ok_ = false;
    QString error_;
    double a_[6] = {};
    void* warp_ = nullptr;
    bool tps_ = false;
};

// The fewest enabled points each method needs.
int MinimumPoints(georef::Method m);

}  // namespace gis
