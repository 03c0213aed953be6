// Rectangle arithmetic for placing windows and selections.
#pragma once

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
};

// Top-left corner that centres window on owner, kept inside a screen of
// screenWidth x screenHeight (0 wins when the window is larger than the screen).
PixelPoint CentredOrigin(const PixelRect& window, const PixelRect& owner, int screenWidth,
                         int screenHeight);

// left/top the smaller and right/bottom the larger of the two corners.
PixelRect NormaliseRect(int x1, int y1, int x2, int y2);
// NormaliseRect, then each edge limited to bounds.
PixelRect NormaliseAndClip(int x1, int y1, int x2, int y2, const PixelRect& bounds);
