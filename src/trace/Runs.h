// The 4-connected parts of a predicate over the page, found a run of pixels
// at a time: far fewer unions than pixels on a page of wide regions.
#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

namespace trace {

struct Run {
    int32_t y, x0, x1;  // x1 included
    int32_t part;       // after PartsByRuns: the number of its part, 0-based
};

// Runs of `inside(i)` (i = y * w + x) in page order, each numbered by its
// part; parts numbered in the order their first run appears. `parts` is set
// to how many there are.
template <class Inside>
std::vector<Run> PartsByRuns(int w, int h, Inside inside, int32_t& parts) {
    std::vector<Run> runs;
    std::vector<int32_t> parent;
    auto find = [&](int32_t a) {
        while (parent[a] != a) a = parent[a] = parent[parent[a]];
        return a;
    };
    size_t prevFrom = 0, prevTo = 0;
    for (int y = 0; y < h; ++y) {
        const size_t from = runs.size();
        const size_t row = size_t(y) * w;
        for (int x = 0; x < w;) {
            if (!inside(row + x)) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < w && inside(row + x)) ++x;
            const int32_t id = int32_t(runs.size());
            runs.push_back({y, x0, x - 1, id});
            parent.push_back(id);
            // Overlapping runs of the row above join this one.
            while (prevFrom < prevTo && runs[prevFrom].x1 < x0) ++prevFrom;
            for (size_t k = prevFrom; k < prevTo && runs[k].x0 <= x - 1; ++k) {
                const int32_t a = find(int32_t(k)), b = find(id);
                if (a != b) parent[std::max(a, b)] = std::min(a, b);
            }
        }
        prevFrom = from;
        prevTo = runs.size();
    }
    std::vector<int32_t> number(runs.size(), -1);
    parts = 0;
    for (size_t k = 0; k < runs.size(); ++k) {
        const int32_t root = find(int32_t(k));
        if (number[root] < 0) number[root] = parts++;
        runs[k].part = number[root];
    }
    return runs;
}

}  // namespace trace
