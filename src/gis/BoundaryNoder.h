// Snap-rounds boundary rings onto the pixel grid with GEOS and chains the
// noded segments between junctions, so that a border two areas share is one
// chain, every crossing or touch is a shared point and no segment lies on
// another. Also finds, per polygon part, a pixel deep enough inside it to
// hold an area position, and features lying on or inside others.
#pragma once

#include <QPointF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "store/Store.h"

namespace gis {

using Ring = std::vector<QPointF>;  // closed: first == last
struct Part {
    Ring shell;
    std::vector<Ring> holes;
};

class BoundaryNoder {
  public:
    BoundaryNoder();
    ~BoundaryNoder();
    BoundaryNoder(const BoundaryNoder&) = delete;
    BoundaryNoder& operator=(const BoundaryNoder&) = delete;

    // Nodes every ring of every part at a precision of one pixel. False with
    // a message when GEOS refuses the linework.
    bool Node(const std::vector<const Part*>& parts, QString& error);
    // The noded network as chains of pixels, each joined to others only at
    // its ends; a closed loop starts and ends on the same pixel.
    const std::vector<std::vector<Rec>>& Chains() const { return chains_; }

    // The part's area in square pixels (0 for a broken ring).
    double Area(const Part& part);
    // A pixel inside the part at least minDistance from the noded network,
    // near the centre of the largest circle the part holds; none when the
    // part is too thin.
    std::optional<Rec> InteriorPosition(const Part& part, double minDistance);

    // Features lying on or in others, by their parts (pixels or source
    // coordinates alike): two of the same shape; two of the same name whose
    // insides overlap; one lying wholly inside another's polygon (not in a
    // hole of it). Each pair once, the earlier feature first.
    enum class Relation { SameShape, SameNameOverlapping, Inside };
    struct FeaturePair {
        Relation relation;
        size_t first, second;  // Inside: the inner feature, then the outer one
    };
    std::vector<FeaturePair> OverlappingFeatures(
        const std::vector<std::vector<const Part*>>& features, const std::vector<QString>& names);

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    std::vector<std::vector<Rec>> chains_;
};

}  // namespace gis
