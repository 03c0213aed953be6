// Pixel moves on raw DIB memory: quarter turns, half turns and rectangle
// copies, for every bit count. Coordinates are image coordinates (row 0 at
// the top); the view maps them to memory rows for either row order.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/dib_types.h"
#include "imaging/quarter_turns.h"

namespace imaging {

struct PixelView {
  std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;  // always positive
  int bitCount = 0;
  std::size_t stride = 0;
  bool bottomUp = true;

  std::uint8_t* row(int y) const { return bits + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y); }
};

PixelView makeView(const DibHeader& header, std::uint8_t* bits);

std::uint32_t getPixel(const PixelView& view, int x, int y);
void setPixel(const PixelView& view, int x, int y, std::uint32_t value);

// Turns src into dst as seen on screen. dst must have the turned size and the
// same bit count; no turn is refused. Padding bits of dst rows are left as
// they were.
bool rotatePixels(const PixelView& src, const PixelView& dst, QuarterTurns turn);

// Copies the src rectangle whose top-left is (x, y) and whose size is dst's
// into dst; parts outside src are left untouched.
void copyPixelRect(const PixelView& src, int x, int y, const PixelView& dst);

}  // namespace imaging
