// The exact Euclidean distance from every pixel to the nearest ink pixel
// (separable lower envelope of parabolas), in eighths of a pixel.
#pragma once

#include <cstdint>
#include <vector>

namespace trace {

constexpr uint16_t kFar = 65535;  // no ink on the page, or farther than 8191 px

// ink: width * height bytes, non-zero for ink. Returns width * height
// distances in 1/8 px (0 on ink), capped at kFar.
std::vector<uint16_t> DistanceToInk(const std::vector<uint8_t>& ink, int width, int height);

}  // namespace trace
