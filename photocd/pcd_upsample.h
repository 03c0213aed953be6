// The enlargement arithmetic shared by the writer and the decoder of the
// levels above BASE: a plane's known samples sit on every second (or fourth)
// position of the finer grid, and the missing samples are filled bilinearly
// with the integer rounding below. The writer builds residuals against exactly
// these results, so both sides use the same code; the decoder enlarges only
// the windows it needs, and a window's samples equal the same samples of the
// whole enlarged plane.
#pragma once
#include <cstddef>
#include <cstdint>

// Widens a row of n samples to 2n: even outputs copy, odd outputs are the
// rounded mean of the two neighbours; the last two outputs repeat s[n - 1].
void PcdWidenRow2x(const std::uint8_t* src, int n, std::uint8_t* dst);

// The row between two widened rows p (above) and q (below) of 2n samples:
// known columns (a + c + 1) >> 1, between them the mean of the four known
// neighbours (a + b + c + d + 2) >> 2; the last sample repeats the one before.
void PcdBlendRows2x(const std::uint8_t* p, const std::uint8_t* q, int width2n, std::uint8_t* dst);

// Part of a plane: rows top .. top + rows - 1 and columns left ..
// left + columns - 1, sample (top, left) at samples[0].
struct PcdPlaneWindow {
  std::uint8_t* samples;
  std::ptrdiff_t stride;
  int top;
  int left;
  int rows;
  int columns;
};

// The window of a width x height plane that enlarging by factor 2 or 4 needs
// to fill the given window of the enlarged plane (each sample's cell corner
// and its right and lower neighbours, clamped to the plane).
PcdPlaneWindow PcdSourceWindow(const PcdPlaneWindow& enlarged, int factor, int width, int height);

// Fills the window dst of the plane enlarged 2x (or 4x) from a width x height
// plane, reading src, which must cover PcdSourceWindow(dst, ...).
// 2x: a new sample between two known ones of a row is (a + b + 1) >> 1; in a
// new row, known columns (a + c + 1) >> 1 and between them
// (a + b + c + d + 2) >> 2. 4x: the sample i rows below and j columns right of
// a known sample a, with b right of it, c below and d diagonal, is
// ((4-i)(4-j)a + (4-i)j b + i(4-j)c + ij d + 8) >> 4. Past the last known row
// or column the last known value stands in.
void PcdEnlargeWindow2x(const PcdPlaneWindow& src, int width, int height, const PcdPlaneWindow& dst);
void PcdEnlargeWindow4x(const PcdPlaneWindow& src, int width, int height, const PcdPlaneWindow& dst);

// Whole planes: w x h to 2w x 2h and 4w x 4h by the rules above.
void PcdEnlarge2x(const std::uint8_t* src, int w, int h, std::uint8_t* dst);
void PcdEnlarge4x(const std::uint8_t* src, int w, int h, std::uint8_t* dst);
