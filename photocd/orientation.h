// Orientation of decoded pixels in the caller's buffer, and output
// rectangles mapped back onto the stored (landscape) image.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pcd_status.h"

// 0 to 7: bit 2 exchanges rows and columns, bits 0 and 1 flip.
using Orientation = std::uint8_t;
constexpr Orientation kOrientationSwapsAxes = 4;
constexpr Orientation kOrientationFlipsColumns = 2;
constexpr Orientation kOrientationFlipsRows = 1;

// Rotation code of an attribute byte (0 none, 1 quarter counter-clockwise,
// 2 half, 3 quarter clockwise) as an orientation.
Orientation PcdOrientationFromRotation(unsigned rotationCode);

// Where decoded pixels go for an output of `rows` x `columns` pixels in a
// buffer with row stride `stride` and `bytesPerPixel`: the byte offset of the
// first decoded pixel, the step to the next pixel of a stored row and the step
// to the next stored row. Code 0 gives a bottom-up bitmap.
struct PlacementSteps {
  std::ptrdiff_t start;
  std::ptrdiff_t pixelStep;
  std::ptrdiff_t rowStep;
};
PcdStatus PcdPlacementSteps(Orientation orientation, int rows, int columns, std::ptrdiff_t stride,
                            int bytesPerPixel, PlacementSteps& steps);

// Rows top..bottom and columns left..right (bottom and right exclusive).
struct OutputRect {
  std::int16_t top;
  std::int16_t left;
  std::int16_t bottom;
  std::int16_t right;
};

// Maps a rectangle of the oriented output image (outputWidth x outputHeight)
// to stored coordinates. 3001 when the rectangle is empty or not inside.
PcdStatus PcdMapRectToStored(Orientation orientation, const OutputRect& output, int outputWidth,
                             int outputHeight, OutputRect& stored);
