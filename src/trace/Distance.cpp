#include "trace/Distance.h"

#include <cmath>
#include <limits>

namespace trace {

std::vector<uint16_t> DistanceToInk(const std::vector<uint8_t>& ink, int width, int height) {
    const size_t n = size_t(width) * size_t(height);
    // First the distance along each column (as a count of rows), two sweeps
    // down and up over whole rows so that memory is read in order; the same
    // buffer then takes the final distances row by row.
    constexpr uint16_t none = 65535;
    std::vector<uint16_t> d(n);
    for (int x = 0; x < width; ++x) d[x] = ink[x] ? 0 : none;
    for (int y = 1; y < height; ++y) {
        const size_t r = size_t(y) * width;
        for (int x = 0; x < width; ++x)
            d[r + x] = ink[r + x] ? 0 : (d[r - width + x] == none ? none : d[r - width + x] + 1);
    }
    for (int y = height - 2; y >= 0; --y) {
        const size_t r = size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint16_t below = d[r + width + x];
            if (below != none && below + 1 < d[r + x]) d[r + x] = below + 1;
        }
    }

    // Along each row: the lower envelope of the parabolas (x - i)^2 + g(i)^2.
    std::vector<int64_t> f(width);
    std::vector<int> v(width);
    std::vector<double> z(width + 1);
    // Square roots of small squared distances come from a table.
    constexpr int kTable = 1 << 16;
    static const std::vector<uint16_t> root = [] {
        std::vector<uint16_t> t(kTable);
        for (int i = 0; i < kTable; ++i) t[i] = uint16_t(std::lround(8.0 * std::sqrt(double(i))));
        return t;
    }();
    for (int y = 0; y < height; ++y) {
        uint16_t* row = d.data() + size_t(y) * width;
        int k = -1;
        for (int i = 0; i < width; ++i) {
            if (row[i] == none) continue;
            f[i] = int64_t(row[i]) * row[i];
            double s = 0;
            while (k >= 0) {
                const int j = v[k];
                s = double((f[i] + int64_t(i) * i) - (f[j] + int64_t(j) * j)) / double(2 * (i - j));
                if (s > z[k]) break;
                --k;
            }
            ++k;
            v[k] = i;
            z[k] = k == 0 ? -std::numeric_limits<double>::infinity() : s;
            z[k + 1] = std::numeric_limits<double>::infinity();
        }
        if (k < 0) {
            for (int x = 0; x < width; ++x) row[x] = kFar;
            continue;
        }
        int j = 0;
        for (int x = 0; x < width; ++x) {
            while (z[j + 1] < x) ++j;
            const int64_t dx = x - v[j];
            const int64_t d2 = dx * dx + f[v[j]];
            row[x] =
                d2 < kTable
                    ? root[d2]
                    : uint16_t(std::min<double>(kFar, std::lround(8.0 * std::sqrt(double(d2)))));
        }
    }
    return d;
}

}  // namespace trace
