// Records and handle types shared by every producer and consumer of bitmaps.
// Portable: no platform header is included here.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/pixel_types.h"

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

}  // namespace imaging
