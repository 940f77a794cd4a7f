#include "compose/ProblemList.h"

namespace compose {

void ProblemList::Mark(int i, Surface& view) {
    marked = i;
    const Pt p = failures[size_t(i)].position;
    rect =
        network.FloodFillSurface(p.x, p.y, Black, Red) & QRect(0, 0, view.Width(), view.Height());
    under.assign(size_t(rect.width()) * size_t(rect.height()), 0);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (network.Pixel(x, y) != Red) continue;
            under[size_t(y - rect.top()) * size_t(rect.width()) + size_t(x - rect.left())] =
                view.Pixel(x, y);
            view.SetPixel(x, y, Red);
        }
}

QRect ProblemList::Unmark(Surface& view) {
    if (marked < 0) return QRect();
    const QRect was = rect;
    // A pixel drawn over since (a new line, a redraw) keeps what it shows now.
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (network.Pixel(x, y) == Red && view.Pixel(x, y) == Red)
                view.SetPixel(
                    x, y,
                    under[size_t(y - rect.top()) * size_t(rect.width()) + size_t(x - rect.left())]);
    const Pt p = failures[size_t(marked)].position;
    network.FloodFillSurface(p.x, p.y, Red, Black);
    marked = -1;
    rect = QRect();
    under.clear();
    return was;
}
}  // namespace compose
