// Records and handle types shared by every producer and consumer of bitmaps.
// Portable: no platform header is included here.
#pragma once
#include <cstddef>
#include <cstdint>

namespace imaging {

// Opaque handles. In the Win32 build they are the GDI and kernel handles
// themselves (HBITMAP, HPALETTE, HDC, HGLOBAL); natively they point at
// plain-memory objects of the same behaviour.
struct BitmapObject;
struct PaletteObject;
struct DeviceContextObject;
struct GlobalBlockObject;
using BitmapHandle = BitmapObject*;
using PaletteHandle = PaletteObject*;
using DeviceContext = DeviceContextObject*;
using GlobalHandle = GlobalBlockObject*;

// Same layout as the 40-byte BITMAPINFOHEADER.
struct DibHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: bottom-up rows, negative: top-down
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};
static_assert(sizeof(DibHeader) == 40, "DibHeader must match BITMAPINFOHEADER");

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// Colour-table entry as stored in a DIB: blue, green, red, reserved.
struct RgbQuad {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};
static_assert(sizeof(RgbQuad) == 4, "RgbQuad must match RGBQUAD");

// Palette entry as the reader and the reducers hand colours around.
struct RgbTriple {
  std::uint8_t red = 0, green = 0, blue = 0;
};

inline bool operator==(const RgbTriple& a, const RgbTriple& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// A rectangle in output pixels, top row 0; right and bottom exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

}  // namespace imaging
