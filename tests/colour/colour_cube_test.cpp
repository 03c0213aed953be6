#include "imaging/colour/colour_cube.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "reference_diffusion.h"
#include "synthetic_photo.h"

using namespace imaging::colour;
using imaging::RgbTriple;

namespace {

std::vector<std::uint8_t> flatRow(int width, int blue, int green, int red) {
  std::vector<std::uint8_t> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {std::uint8_t(blue), std::uint8_t(green), std::uint8_t(red)});
  return row;
}

// Index that a cube in `mode` gives one pixel in the first row.
int firstIndex(int mode, int blue, int green, int red) {
  ColourCube cube(240, mode, 1);
  std::uint8_t out = 0;
  EXPECT_TRUE(cube.reduceRow(flatRow(1, blue, green, red).data(), &out));
  return out;
}

}  // namespace

TEST(ColourCube, SizesTheCube) {
  EXPECT_EQ(cubeLevels(240), (std::array<int, 3>{5, 8, 6}));  // blue, green, red
  EXPECT_EQ(cubeLevels(216), (std::array<int, 3>{6, 6, 6}));
  EXPECT_EQ(cubeLevels(256), (std::array<int, 3>{6, 7, 6}));  // green grows, red cannot: stop
  EXPECT_EQ(cubeLevels(100), (std::array<int, 3>{4, 5, 5}));
  EXPECT_EQ(cubeLevels(27), (std::array<int, 3>{3, 3, 3}));
  EXPECT_EQ(cubeLevels(7), (std::array<int, 3>{0, 0, 0}));

  RgbTriple palette[256];
  EXPECT_EQ(ColourCube(256, kCubeNone, 4).palette(palette), 252);
  EXPECT_FALSE(ColourCube(7, kCubeNone, 4).valid());
  ColourCube sixteenBit(0, kCubeOrdered555, 4);
  EXPECT_TRUE(sixteenBit.valid());
  EXPECT_EQ(sixteenBit.palette(palette), 0);
}

TEST(ColourCube, PaletteCubeLevels) {
  ColourCube cube(240, kCubeNone, 1);
  RgbTriple palette[256];
  ASSERT_EQ(cube.palette(palette), 240);
  const int blue[] = {0, 64, 128, 191, 255};
  const int green[] = {0, 36, 73, 109, 146, 182, 219, 255};
  const int red[] = {0, 51, 102, 153, 204, 255};
  for (int b = 0; b < 5; ++b) EXPECT_EQ(palette[b * 48].blue, blue[b]);
  for (int g = 0; g < 8; ++g) EXPECT_EQ(palette[g * 6].green, green[g]);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(palette[r].red, red[r]);
  EXPECT_EQ(palette[239], (RgbTriple{255, 255, 255}));
  EXPECT_EQ(palette[1 * 48 + 2 * 6 + 3], (RgbTriple{153, 73, 64}));
}

TEST(ColourCube, NoDitherPicksNearestLevel) {
  EXPECT_EQ(firstIndex(kCubeNone, 255, 255, 255), 239);
  EXPECT_EQ(firstIndex(kCubeNone, 0, 0, 0), 0);
  // Level boundaries: blue 32 | 33, green 18 | 19, red 26 | 27.
  EXPECT_EQ(firstIndex(kCubeNone, 32, 18, 26), 0);
  EXPECT_EQ(firstIndex(kCubeNone, 33, 0, 0), 48);
  EXPECT_EQ(firstIndex(kCubeNone, 0, 19, 0), 6);
  EXPECT_EQ(firstIndex(kCubeNone, 0, 0, 27), 1);
}

TEST(ColourCube, OrderedDitherFollowsMatrix) {
  ColourCube cube(240, kCubeOrdered, 8);
  std::vector<std::uint8_t> out(8);
  for (int y = 0; y < 8; ++y) {
    // Matrix value 0 (row 0, column 0) lifts blue by 31: 2 becomes level 1.
    // Matrix value 63 (row 7, column 0) lowers by 29 (truncated, not 30): 62
    // becomes 33, still level 1.
    auto row = flatRow(8, y == 7 ? 62 : 2, 0, 0);
    ASSERT_TRUE(cube.reduceRow(row.data(), out.data()));
    if (y == 0) {
      EXPECT_EQ(out[0], 48);
      EXPECT_EQ(out[1], 0);  // matrix value 32: no offset
    }
    if (y == 7) {
      EXPECT_EQ(out[0], 48);
    }
  }
  // Out-of-range values clamp: white and black stay put in every cell.
  for (int y = 0; y < 8; ++y) {
    auto white = flatRow(8, 255, 255, 255), black = flatRow(8, 0, 0, 0);
    ASSERT_TRUE(cube.reduceRow(y % 2 ? white.data() : black.data(), out.data()));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(out[x], y % 2 ? 239 : 0);
  }
}

TEST(ColourCube, OrderedDitherAveragesFlatAreas) {
  RgbTriple palette[256];
  ColourCube(240, kCubeNone, 1).palette(palette);
  for (int grey : {20, 77, 128, 200}) {
    ColourCube cube(240, kCubeOrdered, 8);
    std::vector<std::uint8_t> out(8);
    auto row = flatRow(8, grey, grey, grey);
    int sum[3] = {0, 0, 0};
    for (int y = 0; y < 8; ++y) {
      ASSERT_TRUE(cube.reduceRow(row.data(), out.data()));
      for (int x = 0; x < 8; ++x) {
        sum[0] += palette[out[x]].blue;
        sum[1] += palette[out[x]].green;
        sum[2] += palette[out[x]].red;
      }
    }
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(sum[c] / 64.0, grey, 3.0) << "grey " << grey << " component " << c;
  }
}

TEST(ColourCube, FloydSteinbergMatchesPlainDiffusion) {
  const int width = 37, height = 23;  // odd sizes: both scan directions end on the edges
  auto pixels = colour_test::syntheticPhoto(width, height);
  ColourCube cube(240, kCubeFloydSteinberg, width);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    ASSERT_TRUE(cube.reduceRow(&pixels[static_cast<std::size_t>(y) * width * 3], &out[static_cast<std::size_t>(y) * width]));

  RgbTriple palette[256];
  cube.palette(palette);
  auto expected = colour_test::referenceDiffusion(
      pixels, width, height, [](int e) { return e; },
      [&](const int value[3], int chosen[3]) {
        std::uint8_t index = static_cast<std::uint8_t>(firstIndex(kCubeNone, value[0], value[1], value[2]));
        chosen[0] = palette[index].blue;
        chosen[1] = palette[index].green;
        chosen[2] = palette[index].red;
        return index;
      });
  EXPECT_EQ(out, expected);
}

TEST(ColourCube, FiveBitOrderedDither) {
  // Over one full matrix period: 0 becomes 8 only at matrix value 0 (row 0,
  // column 0); 255 stays 255 everywhere (clamped from 256).
  for (int grey : {0, 255}) {
    ColourCube to24(0, kCubeOrdered5Bit24, 8), to555(0, kCubeOrdered555, 8);
    auto row = flatRow(8, grey, grey, grey);
    for (int y = 0; y < 8; ++y) {
      std::vector<std::uint8_t> out24(24), out16(16);
      ASSERT_TRUE(to24.reduceRow(row.data(), out24.data()));
      ASSERT_TRUE(to555.reduceRow(row.data(), out16.data()));
      for (int x = 0; x < 8; ++x) {
        int expected = grey == 255 ? 255 : (y == 0 && x == 0) ? 8 : 0;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(out24[x * 3 + c], expected) << y << "," << x;
        int five = expected >> 3;
        EXPECT_EQ(out16[x * 2] | out16[x * 2 + 1] << 8, five << 10 | five << 5 | five) << y << "," << x;
      }
    }
  }
}

TEST(ColourCube, FiveBitModesWriteOnlyTheAskedPixels) {
  ColourCube cube(0, kCubeOrdered555, 8);
  auto row = flatRow(8, 255, 255, 255);
  std::vector<std::uint8_t> out(16, 0xAB);
  ASSERT_TRUE(cube.reduceRow(row.data(), out.data(), 2, 4));
  for (int x = 0; x < 8; ++x) {
    bool written = x >= 2 && x <= 4;
    EXPECT_EQ(out[x * 2] | out[x * 2 + 1] << 8, written ? 0x7FFF : 0xABAB) << x;
  }
}

TEST(ColourCube, RejectsBadArguments) {
  EXPECT_FALSE(ColourCube(240, kCubeNone, 0).valid());
  EXPECT_FALSE(ColourCube(240, -1, 8).valid());
  EXPECT_FALSE(ColourCube(240, 5, 8).valid());
  EXPECT_FALSE(ColourCube(257, kCubeNone, 8).valid());
  ColourCube cube(0, kCubeOrdered555, 8);
  auto row = flatRow(8, 1, 2, 3);
  std::vector<std::uint8_t> out(16);
  EXPECT_FALSE(cube.reduceRow(row.data(), out.data(), 5, 4));
  EXPECT_FALSE(cube.reduceRow(row.data(), out.data(), 0, 8));
  EXPECT_FALSE(cube.reduceRow(row.data(), out.data(), -1, 3));
  EXPECT_FALSE(cube.reduceRow(nullptr, out.data()));
  EXPECT_FALSE(cube.reduceRow(row.data(), nullptr));
}
