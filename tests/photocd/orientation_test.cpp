#include <gtest/gtest.h>

#include <vector>

#include "orientation.h"

namespace {

// The stored image    1 2 3
//                     4 5 6
// placed with each orientation into a bottom-up buffer of one byte per pixel
// with two spare bytes per row, then read back top-down.
std::vector<std::vector<int>> PlaceAndReadTopDown(Orientation orientation) {
  const int storedRows = 2, storedColumns = 3;
  const bool swaps = orientation & kOrientationSwapsAxes;
  const int rows = swaps ? storedColumns : storedRows;
  const int columns = swaps ? storedRows : storedColumns;
  const int stride = columns + 2;
  std::vector<int> buffer(rows * stride, 0);
  PlacementSteps steps{};
  EXPECT_EQ(PcdPlacementSteps(orientation, rows, columns, stride, 1, steps), kPcdOk);
  for (int r = 0; r < storedRows; ++r)
    for (int c = 0; c < storedColumns; ++c)
      buffer.at(steps.start + r * steps.rowStep + c * steps.pixelStep) = r * storedColumns + c + 1;
  std::vector<std::vector<int>> topDown;
  for (int r = rows - 1; r >= 0; --r)
    topDown.emplace_back(buffer.begin() + r * stride, buffer.begin() + r * stride + columns);
  return topDown;
}

TEST(Orientation, PlacementTableForAllCodes) {
  using Image = std::vector<std::vector<int>>;
  const Image expected[8] = {
      {{1, 2, 3}, {4, 5, 6}},        // as stored
      {{4, 5, 6}, {1, 2, 3}},        // flipped top to bottom
      {{3, 2, 1}, {6, 5, 4}},        // mirrored left to right
      {{6, 5, 4}, {3, 2, 1}},        // half turn
      {{3, 6}, {2, 5}, {1, 4}},      // quarter turn counter-clockwise
      {{1, 4}, {2, 5}, {3, 6}},      // transposed
      {{6, 3}, {5, 2}, {4, 1}},      // transposed the other way
      {{4, 1}, {5, 2}, {6, 3}},      // quarter turn clockwise
  };
  for (Orientation code = 0; code < 8; ++code) EXPECT_EQ(PlaceAndReadTopDown(code), expected[code]) << int(code);
  PlacementSteps steps{};
  EXPECT_EQ(PcdPlacementSteps(8, 2, 3, 3, 1, steps), kPcdInvalidArgument);
}

bool operator==(const OutputRect& a, const OutputRect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

OutputRect Mapped(Orientation orientation, OutputRect rect, int width, int height) {
  OutputRect stored{};
  EXPECT_EQ(PcdMapRectToStored(orientation, rect, width, height, stored), kPcdOk);
  return stored;
}

TEST(Orientation, OutputRectMapsToStoredCoordinates) {
  // BASE output 768 x 512 as stored, 512 x 768 when turned a quarter.
  const OutputRect band = {16, 10, 32, 100};
  EXPECT_TRUE(Mapped(0, band, 768, 512) == band);
  EXPECT_TRUE(Mapped(1, band, 768, 512) == (OutputRect{480, 10, 496, 100}));
  EXPECT_TRUE(Mapped(2, band, 768, 512) == (OutputRect{16, 668, 32, 758}));
  EXPECT_TRUE(Mapped(3, band, 768, 512) == (OutputRect{480, 668, 496, 758}));
  EXPECT_TRUE(Mapped(4, band, 512, 768) == (OutputRect{10, 736, 100, 752}));
  EXPECT_TRUE(Mapped(5, band, 512, 768) == (OutputRect{10, 16, 100, 32}));
  EXPECT_TRUE(Mapped(7, band, 512, 768) == (OutputRect{412, 16, 502, 32}));
}

TEST(Orientation, OutputRectMustLieInsideTheImage) {
  OutputRect stored{};
  EXPECT_EQ(PcdMapRectToStored(0, {0, 0, 513, 768}, 768, 512, stored), kPcdInvalidArgument);
  EXPECT_EQ(PcdMapRectToStored(0, {-1, 0, 16, 768}, 768, 512, stored), kPcdInvalidArgument);
  EXPECT_EQ(PcdMapRectToStored(0, {16, 0, 16, 768}, 768, 512, stored), kPcdInvalidArgument);
  EXPECT_EQ(PcdMapRectToStored(0, {0, 0, 512, 768}, 768, 512, stored), kPcdOk);
}

}  // namespace
