// The pixels of a line as the surface draws it: integer Bresenham,
// 8-connected, leaving out the final pixel. The set does not depend on the
// direction: the line is always traced from the same end (left end of a flat
// line, top end of a steep one), and when that is the final pixel the first
// one is skipped instead. An XOR rubber band drawn the other way round then
// erases a segment exactly, and a segment blanked in either direction leaves
// no residue. Whoever needs to know which pixels a line covers without
// drawing it asks here, so both always agree.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace linepixels {

// Calls plot(x, y) for the steps lo..hi from a to b (step 0 is a, step
// max(|dx|, |dy|) is b).
template <class Plot>
void Trace(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t lo, int64_t hi, Plot plot) {
    const int64_t dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int64_t sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int64_t err = dx + dy, x = ax, y = ay;
    for (int64_t i = 0; i <= hi; ++i) {
        if (i >= lo) plot(x, y);
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// Every pixel of the line from (x1, y1) to (x2, y2), unclipped; none when
// both ends are the same pixel.
template <class Plot>
void ForEach(int x1, int y1, int x2, int y2, Plot plot) {
    if (x1 == x2 && y1 == y2) return;
    const int64_t adx = std::abs(int64_t(x2) - x1), ady = std::abs(int64_t(y2) - y1);
    const int64_t steps = std::max(adx, ady);
    const bool flat = adx >= ady;
    const bool reversed = flat ? (x2 < x1 || (x2 == x1 && y2 < y1)) : (y2 < y1);
    const int64_t lo = reversed ? 1 : 0, hi = reversed ? steps : steps - 1;
    int64_t ax = x1, ay = y1, bx = x2, by = y2;
    if (reversed) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    Trace(ax, ay, bx, by, lo, hi, plot);
}

// The same pixels a row at a time: run(y, from, to) for each row the line
// touches, with its pixels from..to (inclusive) there, in the order Trace
// meets them. A line passes each row once, its pixels on a row side by side.
template <class Run>
void ForEachRow(int x1, int y1, int x2, int y2, Run run) {
    if (x1 == x2 && y1 == y2) return;
    const int64_t adx = std::abs(int64_t(x2) - x1), ady = std::abs(int64_t(y2) - y1);
    const bool flat = adx >= ady;
    const bool reversed = flat ? (x2 < x1 || (x2 == x1 && y2 < y1)) : (y2 < y1);
    const int64_t ax = reversed ? x2 : x1, ay = reversed ? y2 : y1;
    const int64_t bx = reversed ? x1 : x2, by = reversed ? y1 : y2;
    const int64_t lo = reversed ? 1 : 0,
                  hi = reversed ? std::max(adx, ady) : std::max(adx, ady) - 1;
    // Trace's steps, unrolled into rows.
    const int64_t dx = adx, dy = -ady, sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    if (!flat) {
        // Steeper than diagonal: every step goes a row down (the trace
        // starts at the top end), with one pixel on each row.
        int64_t err = dx + dy, x = ax, y = ay;
        for (int64_t i = 0; i <= hi; ++i) {
            if (i >= lo) run(y, x, x);
            if (2 * err >= dy) err += dy, x += sx;
            err += dx, ++y;
        }
        return;
    }
    // A flat line is traced from its left end and steps right every time
    // (err never falls below -ady / 2), so a row holds the pixels up to the
    // step whose 2 * err is at most dx, counted at once: each step within
    // the row takes ady off err, the step that leaves it adds dx - ady.
    int64_t err = dx + dy, x = ax, y = ay, left = hi;
    bool skipFirst = lo != 0;
    for (;;) {
        int64_t j = 0;  // further pixels on this row
        if (2 * err > dx) j = ady == 0 ? left : (2 * err - dx + 2 * ady - 1) / (2 * ady);
        const int64_t from = skipFirst ? x + 1 : x;
        if (j >= left) {
            if (from <= x + left) run(y, from, x + left);
            return;
        }
        if (from <= x + j) run(y, from, x + j);
        skipFirst = false;
        err += dx + dy - j * ady;
        x += j + 1;
        y += sy;
        left -= j + 1;
    }
}

}  // namespace linepixels
