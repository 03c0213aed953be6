// The small value types every layer shares: a colour and a rectangle.
#pragma once
#include <cstdint>

namespace imaging {

// A colour as palettes, reducers and the reader hand them around.
struct RgbTriple {
  std::uint8_t red = 0, green = 0, blue = 0;
};

inline bool operator==(const RgbTriple& a, const RgbTriple& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// A rectangle in pixels, top row 0; right and bottom exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
};

inline bool operator==(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace imaging
