// Finding a point record by its pixel.
#pragma once

#include <cstdint>

#include "store/Store.h"

// The first point record with exactly these coordinates, or -1. Only x >= 1
// is a point: a pixel at x = 0 (the under-drawing can be white there) must
// never find the leading record or a separator.
inline int32_t PointRecordAt(const Store& st, int x, int y) {
    if (x < 1 || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX) return -1;
    const Rec want{int16_t(x), int16_t(y)};
    for (int32_t i = 1; i <= st.PointLast; ++i)
        if (st.Point(i) == want) return i;
    return -1;
}

inline int16_t Clamp16(int v) {
    return int16_t(v < INT16_MIN ? INT16_MIN : (v > INT16_MAX ? INT16_MAX : v));
}
