#include "render/RegionFills.h"

#include <algorithm>

#include "raster/RowScan.h"

namespace areas {

int RegionFills::RegionOf(const Surface& s, int x, int y) {
    Refresh(s);
    return labels_.RegionAt(x, y);
}

void RegionFills::Refresh(const Surface& s) {
    if (s.Changes() == changes_) return;
    labels_.Build(s, White, RegionLabels::Match::NotEqual);
    held_.clear();
    late_.clear();
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

uint8_t RegionFills::PixelAt(const Surface& s, int index, int region) const {
    const State& st = states_[size_t(region)];
    if (!st.held) return s.Data()[index];
    for (auto it = late_.rbegin(); it != late_.rend(); ++it)
        if (it->index == index) return it->colour;
    return st.colour;
}

uint8_t RegionFills::Pixel(const Surface& s, int x, int y) {
    Refresh(s);
    const int r = labels_.RegionAt(x, y);
    return r >= 0 ? PixelAt(s, y * s.Width() + x, r) : s.Pixel(x, y);
}

void RegionFills::LayDown(Surface& s) {
    if (held_.empty() && late_.empty()) return;
    if (!held_.empty()) {
        std::vector<uint8_t> colour(states_.size(), uint8_t(NoColour));
        for (int r : held_) {
            colour[size_t(r)] = states_[size_t(r)].colour;
            states_[size_t(r)].held = false;
        }
        labels_.PaintAll(s, colour);
        held_.clear();
    }
    const int w = s.Width();
    for (const Late& l : late_) s.SetPixel(l.index % w, l.index / w, l.colour);
    late_.clear();
    changes_ = s.Changes();
}

void RegionFills::Flush(Surface& s) {
    LayDown(s);
    deferring_ = false;
}

void RegionFills::Fill(Surface& s, int x, int y, uint8_t fill) {
    Refresh(s);
    const int r = labels_.RegionAt(x, y);
    if (r < 0) return;  // a white pixel or outside: the fill does nothing
    if (fill == White) {
        // Paints over the regions' borders: the labels no longer hold.
        LayDown(s);
        s.FloodFillBorder(x, y, White, fill);
        return;
    }
    State& st = states_[size_t(r)];
    if (!st.known) Learn(s, r);  // never a held region: those are known
    auto hasFill = [&](int i) { return PixelAt(s, i, r) == fill; };
    if (st.uniform && st.colour != fill && std::none_of(st.odd.begin(), st.odd.end(), hasFill)) {
        // Nothing in the region stops the fill: it covers the whole region.
        if (deferring_) {
            if (!st.held) held_.push_back(r);
            st.held = true;
            // Pixels set in it before are painted over.
            std::erase_if(late_, [r](const Late& l) { return l.region == r; });
        } else {
            labels_.Paint(s, r, fill);
        }
        st.colour = fill;
        st.odd.clear();
    } else {
        LayDown(s);
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
    if (wasWhite != (c == White) && s.Contains(x, y)) {
        // A border moved: label anew.
        LayDown(s);
        s.SetPixel(x, y, c);
        return;
    }
    if (r >= 0 && states_[size_t(r)].held)
        late_.push_back({y * s.Width() + x, r, c});
    else
        s.SetPixel(x, y, c);
    if (r >= 0) {
        State& st = states_[size_t(r)];
        if (st.known && st.uniform && c != st.colour) st.odd.push_back(y * s.Width() + x);
    }
    changes_ = s.Changes();
}

}  // namespace areas
