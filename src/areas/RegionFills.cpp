#include "areas/RegionFills.h"

#include <algorithm>

#include "raster/RowScan.h"

namespace areas {

void RegionFills::Refresh(const Surface& s) {
    if (s.Changes() == changes_) return;
    labels_.Build(s, White, RegionLabels::Match::NotEqual);
    // The sweep saw each region's colours already: no second pass over them.
    states_.assign(size_t(labels_.Count()), State{});
    for (int r = 0; r < labels_.Count(); ++r) {
        State& st = states_[size_t(r)];
        st.known = true;
        st.colour = labels_.UniformColour(r);
        st.uniform = st.colour != NoColour;
        if (!st.uniform) st.colour = 0;
    }
    changes_ = s.Changes();
}

void RegionFills::Learn(const Surface& s, int region) {
    State& st = states_[size_t(region)];
    st.known = true;
    st.odd.clear();
    st.uniform = true;
    st.colour = 0;
    bool first = true;
    const uint8_t* px = s.Data();
    labels_.ForEachRun(region, [&](int y, int from, int to) {
        if (!st.uniform) return;
        const uint8_t* row = px + size_t(y) * size_t(s.Width());
        if (first) {
            st.colour = row[from];
            first = false;
        }
        if (rowscan::Next(row, from, to, rowscan::Test::Equal(st.colour), false) != to)
            st.uniform = false;
    });
}

void RegionFills::Fill(Surface& s, int x, int y, uint8_t fill) {
    Refresh(s);
    const int r = labels_.RegionAt(x, y);
    if (r < 0) return;  // a white pixel or outside: the fill does nothing
    if (fill == White) {
        // Paints over the regions' borders: the labels no longer hold.
        s.FloodFillBorder(x, y, White, fill);
        return;
    }
    State& st = states_[size_t(r)];
    if (!st.known) Learn(s, r);
    const int w = s.Width();
    auto hasFill = [&](int i) { return s.Pixel(i % w, i / w) == fill; };
    if (st.uniform && st.colour != fill && std::none_of(st.odd.begin(), st.odd.end(), hasFill)) {
        // Nothing in the region stops the fill: it covers the whole region.
        labels_.Paint(s, r, fill);
        st.colour = fill;
        st.odd.clear();
    } else {
        s.FloodFillBorder(x, y, White, fill);
        if (st.uniform && st.colour == fill)
            // Only odd pixels can have been reached: the rest already had the colour.
            std::erase_if(st.odd, hasFill);
        else
            st.known = false;
    }
    changes_ = s.Changes();
}

void RegionFills::SetPixel(Surface& s, int x, int y, uint8_t c) {
    Refresh(s);
    const int r = labels_.RegionAt(x, y);
    const bool wasWhite = r < 0 && s.Contains(x, y);
    s.SetPixel(x, y, c);
    if (wasWhite != (c == White) && s.Contains(x, y)) return;  // a border moved: label anew
    if (r >= 0) {
        State& st = states_[size_t(r)];
        if (st.known && st.uniform && c != st.colour) st.odd.push_back(y * s.Width() + x);
    }
    changes_ = s.Changes();
}

}  // namespace areas
