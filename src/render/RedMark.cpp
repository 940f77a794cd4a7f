#include "render/RedMark.h"

#include <cmath>

void RedMark::TakeShape(const Surface& from, QPoint spot, int ring) {
    const QRect all(0, 0, from.Width(), from.Height());
    std::vector<QPoint> circle;
    if (all.contains(spot) && ring > 0)
        for (int a = 0; a < 8 * ring; ++a) {
            const double t = 2 * M_PI * a / (8 * ring);
            const QPoint p(spot.x() + int(std::lround(ring * std::cos(t))),
                           spot.y() + int(std::lround(ring * std::sin(t))));
            if (all.contains(p)) circle.push_back(p);
        }
    QRect box;
    for (int y = 0; y < from.Height(); ++y)
        for (int x = 0; x < from.Width(); ++x)
            if (from.Pixel(x, y) == Red) box |= QRect(x, y, 1, 1);
    for (QPoint p : circle) box |= QRect(p, QSize(1, 1));
    rect_ = box;
    laid_ = false;
    shape_.assign(size_t(box.width()) * size_t(box.height()), false);
    under_.assign(shape_.size(), 0);
    auto at = [&](int x, int y) {
        return size_t(y - box.top()) * size_t(box.width()) + size_t(x - box.left());
    };
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (from.Pixel(x, y) == Red) shape_[at(x, y)] = true;
    for (QPoint p : circle) shape_[at(p.x(), p.y())] = true;
}

QRect RedMark::Paint(Surface& view, bool lay) {
    // The view may have shrunk since the shape was taken.
    const QRect r = rect_ & QRect(0, 0, view.Width(), view.Height());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const size_t i = size_t(y - rect_.top()) * size_t(rect_.width()) + size_t(x - rect_.left());
            if (!shape_[i]) continue;
            if (lay) {
                under_[i] = view.Pixel(x, y);
                view.SetPixel(x, y, Red);
            } else if (view.Pixel(x, y) == Red) {
                // A pixel drawn over since keeps what it shows now.
                view.SetPixel(x, y, under_[i]);
            }
        }
    return r;
}

QRect RedMark::Lay(Surface& view) {
    if (Empty() || laid_) return QRect();
    laid_ = true;
    return Paint(view, true);
}

QRect RedMark::TakeBack(Surface& view) {
    if (Empty()) return QRect();
    const QRect was = laid_ ? Paint(view, false) : QRect();
    *this = RedMark();
    return was;
}
