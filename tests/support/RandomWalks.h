// A large, untidy network for benchmarks: chains of random walks scattered
// over a surface, as a point list ready for Store::AssignPoints.
#pragma once

#include <cstdint>
#include <vector>

#include "store/Store.h"

// points records in chains of chainLength, each chain starting at a random
// place and stepping up to 12 pixels at a time, kept inside w x h (x >= 1).
std::vector<Rec> RandomWalkNetwork(int points, int w, int h, uint32_t seed, int chainLength = 50);
