#include <gtest/gtest.h>

#include "desktop/wallpaper_request.h"

namespace desktop {
namespace {

TEST(WallpaperRequest, TurnsFollowTheViewerAndTheSelectionFillsTheScreen) {
  EXPECT_EQ(kTurnLeft, RotationFlags(90));
  EXPECT_EQ(kHalfTurn, RotationFlags(180));
  EXPECT_EQ(kTurnRight, RotationFlags(270));
  EXPECT_EQ(-90, WallpaperTurn(RotationFlags(90) | kTileWallpaper));
  EXPECT_EQ(180, WallpaperTurn(kHalfTurn | kTurnLeft));

  const Extent screen{1024, 768}, photo{3072, 2048};
  Extent whole = WallpaperTarget(screen, kTurnLeft, photo, nullptr);
  EXPECT_EQ(768, whole.width);
  EXPECT_EQ(1024, whole.height);
  // A tall selection of a third of the width and three quarters of the height:
  // each side grows by what the photo has beyond the selection on that side.
  const Selection tall{0, 0, 1023, 1535}, wide{0, 0, 999, 2047};
  Extent target = WallpaperTarget(screen, 0, photo, &tall);
  EXPECT_EQ(3072, target.width);
  EXPECT_EQ(1024, target.height);
  // 1024 x 3072 / 1000 = 3145.7 rounds to the nearest pixel.
  EXPECT_EQ(3146, WallpaperTarget(screen, 0, photo, &wide).width);
  // Decoded at half size, the selection becomes half as big, clipped to the bitmap.
  Selection scaled;
  ASSERT_TRUE(ScaleSelection({10, 20, 5000, 1535}, photo, {1536, 1024}, &scaled));
  EXPECT_EQ(5, scaled.left);
  EXPECT_EQ(10, scaled.top);
  EXPECT_EQ(1535, scaled.right);
  EXPECT_EQ(767, scaled.bottom);
  EXPECT_FALSE(ScaleSelection({4000, 0, 5000, 10}, photo, {1536, 1024}, &scaled));
}

}  // namespace
}  // namespace desktop
