#include "doc/SurfaceTiles.h"

#include <algorithm>
#include <cstring>

namespace {

bool SameRows(const uint8_t* surface, int stride, const QRect& r, const uint8_t* tile) {
    for (int y = 0; y < r.height(); ++y)
        if (std::memcmp(surface + size_t(r.y() + y) * size_t(stride) + size_t(r.x()),
                        tile + size_t(y) * size_t(r.width()), size_t(r.width())))
            return false;
    return true;
}

}  // namespace

QRect SurfaceTiles::TileRect(size_t i) const {
    const int x = int(i % size_t(cols_)) * Side, y = int(i / size_t(cols_)) * Side;
    return QRect(x, y, std::min(Side, w_ - x), std::min(Side, h_ - y));
}

SurfaceTiles SurfaceTiles::Take(const Surface& s, const SurfaceTiles* prev, QRect* changed) {
    SurfaceTiles t;
    t.w_ = s.Width();
    t.h_ = s.Height();
    t.cols_ = (t.w_ + Side - 1) / Side;
    const int rows = (t.h_ + Side - 1) / Side;
    t.tiles_.resize(size_t(t.cols_) * size_t(rows));
    const bool sameSize = prev && prev->w_ == t.w_ && prev->h_ == t.h_;
    for (size_t i = 0; i < t.tiles_.size(); ++i) {
        const QRect r = t.TileRect(i);
        if (sameSize && SameRows(s.Data(), t.w_, r, prev->tiles_[i]->data())) {
            t.tiles_[i] = prev->tiles_[i];
            continue;
        }
        auto tile = std::make_shared<std::vector<uint8_t>>(size_t(r.width()) * size_t(r.height()));
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(tile->data() + size_t(y) * size_t(r.width()),
                        s.Data() + size_t(r.y() + y) * size_t(t.w_) + size_t(r.x()),
                        size_t(r.width()));
        t.tiles_[i] = std::move(tile);
        if (changed && sameSize) *changed |= r;
    }
    if (changed && !sameSize) *changed = QRect(0, 0, t.w_, t.h_);
    return t;
}

QRect SurfaceTiles::ApplyTo(Surface& s, bool* resized) const {
    *resized = false;
    if (s.Width() != w_ || s.Height() != h_) {
        if (!s.Resize(w_, h_)) return {};
        *resized = true;
    }
    QRect changed;
    uint8_t* bits = s.Bits();
    for (size_t i = 0; i < tiles_.size(); ++i) {
        const QRect r = TileRect(i);
        const uint8_t* tile = tiles_[i]->data();
        if (SameRows(bits, w_, r, tile)) continue;
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(bits + size_t(r.y() + y) * size_t(w_) + size_t(r.x()),
                        tile + size_t(y) * size_t(r.width()), size_t(r.width()));
        changed |= r;
    }
    return changed;
}

size_t SurfaceTiles::UnsharedBytes(const SurfaceTiles* other) const {
    const bool comparable = other && other->tiles_.size() == tiles_.size();
    size_t n = 0;
    for (size_t i = 0; i < tiles_.size(); ++i)
        if (!comparable || tiles_[i] != other->tiles_[i]) n += tiles_[i]->size();
    return n;
}
