// Size, depth, palette and line-scaling rules of the reader's output stage.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/dib_types.h"

namespace imaging {

struct OutputSize {
  int width = 1;
  int height = 1;
};

// Fits the source into the box (a zero box side takes the source's), never
// enlarging; each side at least 1. An unknown source size gives 1 x 1.
OutputSize fitOutputSize(int sourceWidth, int sourceHeight, int boxWidth, int boxHeight);

struct OutputDepths {
  int display = 0;  // display bitmap
  int full = 0;     // full-depth copy
  int row = 0;      // rows as delivered: 1, 8 (indices or grey), 16 (5-5-5) or 24
};

OutputDepths chooseDepths(int sourceBits, int displayDepth);

struct PalettePlan {
  std::vector<RgbTriple> entries;  // empty: no palette
  std::uint16_t indices[256];      // header index table: pixel value -> palette entry
  int declaredColours = 0;         // colours used in the bitmap headers
};

// ownPalette empty means a grey source (a ramp is built); cubeColours holds
// the cube's palette when a colour cube reduces the display rows.
PalettePlan planPalette(int sourceBits, bool grey, const std::vector<RgbTriple>& ownPalette, int displayBits,
                        int displayDepth, const std::vector<RgbTriple>& cubeColours);

enum class LineKind { Bits1, Index8, Grey8, Rgb555, Bgr24 };

// Shrinks a line of inCount pixels to outCount (outCount <= inCount) by
// averaging the pixels that fall on each output pixel; palette indices and
// 1-bit pixels take the middle sample of their group instead.
void reduceLine(const std::uint8_t* in, int inCount, std::uint8_t* out, int outCount, LineKind kind);

}  // namespace imaging
