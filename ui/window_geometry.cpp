#include "ui/window_geometry.h"

#include <algorithm>

namespace {

// Limits value to 0 .. highest; 0 wins when highest is negative.
int ClampToScreen(int value, int highest) { return std::max(0, std::min(value, highest)); }

}  // namespace

PixelPoint CentredOrigin(const imaging::PixelRect& window, const imaging::PixelRect& owner, int screenWidth,
                         int screenHeight) {
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  PixelPoint origin;
  origin.x = (owner.left + owner.right) / 2 - (width + 1) / 2;
  origin.y = (owner.top + owner.bottom) / 2 - (height + 1) / 2;
  origin.x = ClampToScreen(origin.x, screenWidth - width - 1);
  origin.y = ClampToScreen(origin.y, screenHeight - height - 1);
  return origin;
}

imaging::PixelRect NormaliseRect(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

imaging::PixelRect NormaliseAndClip(int x1, int y1, int x2, int y2, const imaging::PixelRect& bounds) {
  imaging::PixelRect r = NormaliseRect(x1, y1, x2, y2);
  r.left = std::max(r.left, bounds.left);
  r.top = std::max(r.top, bounds.top);
  r.right = std::min(r.right, bounds.right);
  r.bottom = std::min(r.bottom, bounds.bottom);
  return r;
}
