// Floyd-Steinberg written plainly over a whole picture, to check the reducers'
// row-by-row bookkeeping: each pixel collects what it is owed in sixteenths,
// rows alternate direction starting left to right, and error that would fall
// past either edge is dropped.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace colour_test {

// limit(int) adjusts the rounded owed error; choose(const int value[3],
// int chosen[3]) returns the index for the adjusted samples and its colour.
template <class Limit, class Choose>
std::vector<std::uint8_t> referenceDiffusion(const std::vector<std::uint8_t>& pixels, int width, int height,
                                             Limit limit, Choose choose) {
  std::vector<int> owed(pixels.size(), 0);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
  auto give = [&](int x, int y, int c, int amount) {
    if (x >= 0 && x < width && y < height) owed[(static_cast<std::size_t>(y) * width + x) * 3 + c] += amount;
  };
  for (int y = 0; y < height; ++y) {
    int dir = y % 2 == 0 ? 1 : -1;
    for (int n = 0; n < width; ++n) {
      int x = dir > 0 ? n : width - 1 - n;
      std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
      int value[3], chosen[3];
      for (int c = 0; c < 3; ++c) value[c] = std::clamp(pixels[at + c] + limit((owed[at + c] + 8) >> 4), 0, 255);
      out[static_cast<std::size_t>(y) * width + x] = choose(value, chosen);
      for (int c = 0; c < 3; ++c) {
        int e = value[c] - chosen[c];
        give(x + dir, y, c, 7 * e);
        give(x - dir, y + 1, c, 3 * e);
        give(x, y + 1, c, 5 * e);
        give(x + dir, y + 1, c, e);
      }
    }
  }
  return out;
}

}  // namespace colour_test
