// The generated maps the composition benchmarks share, so that their figures
// are of the same maps.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "support/MapGenerator.h"

namespace benchmaps {

// A generated map of about `cells` cells, with line kinds and a second
// position in every tenth area; `step` pixels between traced points.
inline MapRecipe Generated(int cells, int step = 2) {
    MapRecipe s;
    s.cells = cells;
    s.unitW = 32;
    s.unitH = 34;
    s.step = step;
    s.kinds = true;
    s.extraPositionEvery = 10;
    s.seed = 42;
    return s;
}

// Stretches a generated map's points and area positions to w x h.
inline void Stretch(Store& st, const GeneratedMap& g, int w, int h) {
    const double sx = double(w) / g.width, sy = double(h) / g.height;
    std::vector<Rec> v = st.PointsToVector();
    auto scale = [&](Rec& p) {
        if (p.x <= 0) return;
        p.x = int16_t(std::lround(p.x * sx));
        p.y = int16_t(std::lround(p.y * sy));
    };
    for (Rec& p : v) scale(p);
    st.AssignPoints(v);
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) scale(st.AreaPos(k, a));
    st.MapWidth = int16_t(w);
    st.MapHeight = int16_t(h);
}

// A map the size of a real scanned one (8126 x 4758 pixels, 3,240 cells):
// the generated cells drawn at 4758 x 4758 and stretched sideways.
inline void GenerateLarge(Store& st) {
    MapRecipe r;
    r.cells = 3240;
    r.unitW = 56;
    r.unitH = 62;
    r.step = 9;
    r.jitter = 12;
    r.seed = 7;
    Stretch(st, GenerateMap(r, st), 8126, 4758);
}

// A sparse map of large extent, as a scanned prefecture map is (6995 x 8255
// pixels, under 5,000 records): 50 cells with a point every 40 pixels,
// stretched to that size.
inline void GenerateSparse(Store& st) {
    MapRecipe r;
    r.cells = 50;
    r.unitW = 700;
    r.unitH = 800;
    r.step = 40;
    r.jitter = 60;
    r.seed = 47;
    Stretch(st, GenerateMap(r, st), 6995, 8255);
}

}  // namespace benchmaps
