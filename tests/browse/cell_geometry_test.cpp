#include "browse/cell_geometry.h"

#include <gtest/gtest.h>

namespace browse {
namespace {

using imaging::PixelRect;

const CellMetrics kDefault{96, 96, 8};
// An icon rectangle such as the list reports for a 112 x 112 cell.
const PixelRect kIcon{10, 20, 130, 140};

TEST(CellGeometry, CellIsCentredInTheIconRectangle) {
  EXPECT_EQ(kDefault.cellWidth(), 112);
  EXPECT_EQ(kDefault.spacingX(), 120);
  EXPECT_EQ(CellRect(kDefault, kIcon), (PixelRect{14, 24, 126, 136}));
  // Centres truncate toward zero, also left of the origin.
  EXPECT_EQ(CellRect(kDefault, PixelRect{-121, 0, 0, 112}).left, -60 - 56);
}

TEST(CellGeometry, SmallThumbnailKeepsItsOwnSize) {
  CellMetrics big{200, 150, 4};
  PixelRect photo = PhotoRect(big, kIcon, 96, 64);
  EXPECT_EQ(photo.width(), 96);
  EXPECT_EQ(photo.height(), 64);
  EXPECT_EQ(photo.left, 70 - 48);
  EXPECT_EQ(photo.top, 80 - 32);
}

TEST(CellGeometry, LargeThumbnailIsReducedKeepingItsProportions) {
  // 192 x 128 into a 96 x 96 box: scale 0.5 -> 96 x 64.
  PixelRect photo = PhotoRect(kDefault, kIcon, 192, 128);
  EXPECT_EQ(photo, (PixelRect{22, 48, 118, 112}));
  // A portrait thumbnail stored with a negative (top-down) height.
  photo = PhotoRect(kDefault, kIcon, 128, -192);
  EXPECT_EQ(photo.width(), 64);
  EXPECT_EQ(photo.height(), 96);
  // Rounding: 100 x 33 into 96 x 96 -> 96 x 31.68 -> 32.
  EXPECT_EQ(PhotoRect(kDefault, kIcon, 100, 33).height(), 32);
  EXPECT_EQ(PhotoRect(kDefault, kIcon, 0, 10).width(), 0);
}

TEST(CellGeometry, CellBitmapCutsOversizePhotosEvenly) {
  // Placeholder: a photo the size of the cell.
  CellBitmapLayout layout = LayoutCellBitmap(kDefault, 112, 112);
  EXPECT_EQ(layout.width, 112);
  EXPECT_EQ(layout.destX, 0);
  // 96 x 64 sits in the middle.
  layout = LayoutCellBitmap(kDefault, 96, 64);
  EXPECT_EQ(layout.destX, 8);
  EXPECT_EQ(layout.destY, 24);
  EXPECT_EQ(layout.sourceX, 0);
  // 192 x 128 is wider than the cell: 113 columns from (39, 7).
  layout = LayoutCellBitmap(kDefault, 192, 128);
  EXPECT_EQ(layout.width, 113);
  EXPECT_EQ(layout.height, 113);
  EXPECT_EQ(layout.sourceX, 39);
  EXPECT_EQ(layout.sourceY, 7);
  EXPECT_EQ(layout.destX, 0);
}

}  // namespace
}  // namespace browse
