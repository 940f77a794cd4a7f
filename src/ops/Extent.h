// Where the map itself lies on the surface: what 全体表示 fits.
#pragma once

#include <QRect>

#include "store/Store.h"

// The smallest rectangle holding every point of the lines and kinds, every
// area position and the legend box (100 x 100 from its corner). Empty for a
// map with none of these.
inline QRect MapContentBounds(const Store& st) {
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    auto take = [&](int x, int y) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    };
    // x = 0 is the separator between lines, never a point.
    for (int32_t i = 0; i <= st.PointLast; ++i)
        if (const Rec r = st.Point(i); r.x > 0) take(r.x, r.y);
    for (int32_t i = 0; i <= st.KindLast; ++i)
        if (const Rec r = st.KindRec(i); r.x > 0) take(r.x, r.y);
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k)
            take(st.AreaPos(k, a).x, st.AreaPos(k, a).y);
    if (st.LegendX >= 0 && st.LegendY >= 0) {
        take(st.LegendX, st.LegendY);
        take(st.LegendX + 100, st.LegendY + 100);
    }
    if (x0 > x1) return QRect();
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}
