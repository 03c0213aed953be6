// Small shared pieces of the colour reducers: the colour count, the ordered
// dither matrix and sample clamping. Palette colours are imaging::RgbTriple.
#pragma once
#include <cstdint>

#include "imaging/pixel_types.h"

namespace imaging::colour {

// Palette indices are bytes, so no reducer makes more colours than this.
constexpr int kMaxColours = 256;

// Component order inside a 24-bit pixel.
enum Component { kBlue = 0, kGreen = 1, kRed = 2 };

// 8 x 8 ordered-dither matrix: row = output row mod 8, column = pixel mod 8.
inline constexpr std::uint8_t kDitherMatrix[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

inline int clampSample(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

}  // namespace imaging::colour
