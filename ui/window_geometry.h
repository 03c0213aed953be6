// Rectangle arithmetic for placing windows and selections.
#pragma once
#include "imaging/pixel_types.h"

struct PixelPoint {
  int x = 0;
  int y = 0;
};

// Top-left corner that centres window on owner, kept inside a screen of
// screenWidth x screenHeight (0 wins when the window is larger than the screen).
PixelPoint CentredOrigin(const imaging::PixelRect& window, const imaging::PixelRect& owner, int screenWidth,
                         int screenHeight);

// left/top the smaller and right/bottom the larger of the two corners.
imaging::PixelRect NormaliseRect(int x1, int y1, int x2, int y2);
// NormaliseRect, then each edge limited to bounds.
imaging::PixelRect NormaliseAndClip(int x1, int y1, int x2, int y2, const imaging::PixelRect& bounds);
