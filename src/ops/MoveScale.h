// Moving and scaling the whole map: a whole-pixel shift followed by a scale
// about the surface origin, applied to the picture, both lists, the area
// positions and the legend.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

#include "store/Store.h"

struct MoveFields;

struct MoveScale {
    int dx = 0, dy = 0;
    long double f = 1.0L;
    bool Trivial() const { return dx == 0 && dy == 0 && f == 1.0L; }
    // Where v (one coordinate) goes: shift, then scale, rounded with halves
    // to the even neighbour.
    long double MapX(int v) const;
    long double MapY(int v) const;
};

// Reads the three boxes; on a box that is not a number returns the message to
// show and leaves out untouched.
std::optional<QString> ParseMoveFields(const MoveFields& fields, MoveScale& out);

// Looks at every record the transform would change and returns the message for
// the first one that would leave the 16-bit range or turn a point into a
// separator (X <= 0); empty when all of them fit.
QString CheckMoveScale(const Store& st, const MoveScale& m);

// Applies the transform to the point list, the kind list, the area positions
// and the legend (only when LegendX > 0). Call CheckMoveScale first.
void ApplyMoveScale(Store& st, const MoveScale& m);

// The picture shifted (black strips where it grows, cut where it shrinks) and
// then stretched, reduced to the 16 surface colours. Null with a message when
// the result would be empty or too large.
QImage MoveScalePicture(const QImage& pic, const MoveScale& m, QString* error);
