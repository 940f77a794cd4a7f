#include "support/RandomWalks.h"

#include <algorithm>
#include <random>

std::vector<Rec> RandomWalkNetwork(int points, int w, int h, uint32_t seed, int chainLength) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> step(-12, 12), startX(1, w - 1), startY(0, h - 1);
    std::vector<Rec> v{{0, 0}};
    v.reserve(size_t(points) + size_t(points) / size_t(chainLength) + 2);
    int x = 0, y = 0;
    for (int i = 0; i < points; ++i) {
        if (i % chainLength == 0) {
            if (i) v.push_back({0, 0});
            x = startX(rng);
            y = startY(rng);
        } else {
            x = std::clamp(x + step(rng), 1, w - 1);
            y = std::clamp(y + step(rng), 0, h - 1);
        }
        v.push_back({int16_t(x), int16_t(y)});
    }
    v.push_back({0, 0});
    return v;
}
