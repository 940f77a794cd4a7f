// Snapping to map points while tracing: the window finds the point a press
// means, and the editor receives that point's surface pixel.
#pragma once

#include <QPoint>
#include <optional>

#include "app/ViewScale.h"

class Store;

// The map point nearest widget pixel w, if one is within tol widget pixels
// of the square that shows it; points at except (the one being dragged) do
// not count. Of equally near points the one nearest in surface pixels wins.
std::optional<QPoint> SnapTarget(const Store& st, ViewScale sc, QPoint w, int tol,
                                 std::optional<QPoint> except = std::nullopt);
