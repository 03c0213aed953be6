// A deterministic photo-like 24-bit picture for quality checks and benchmarks:
// smooth sky, textured ground, soft and hard edges, skin tones, fine fabric.
#pragma once
#include <cstdint>
#include <vector>

namespace colour_test {

// Rows of width x 3 bytes (blue, green, red), top row first, no padding.
std::vector<std::uint8_t> syntheticPhoto(int width, int height);

}  // namespace colour_test
