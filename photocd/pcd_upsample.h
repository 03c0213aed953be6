// The enlargement arithmetic shared by the writer and the decoder of the
// levels above BASE: a plane's known samples sit on every second (or fourth)
// position of the finer grid, and the missing samples are filled bilinearly
// with the integer rounding below. The writer builds residuals against exactly
// these results, so both sides must use the same code.
#pragma once
#include <cstdint>

// Widens a row of n samples to 2n: even outputs copy, odd outputs are the
// rounded mean of the two neighbours; the last two outputs repeat s[n - 1].
void PcdWidenRow2x(const std::uint8_t* src, int n, std::uint8_t* dst);

// The row between two widened rows p (above) and q (below) of 2n samples:
// known columns (a + c + 1) >> 1, between them the mean of the four known
// neighbours (a + b + c + d + 2) >> 2; the last sample repeats the one before.
void PcdBlendRows2x(const std::uint8_t* p, const std::uint8_t* q, int width2n, std::uint8_t* dst);

// Enlarges a whole w x h plane to 2w x 2h with the two rules above; the last
// row repeats the row before it.
void PcdEnlarge2x(const std::uint8_t* src, int w, int h, std::uint8_t* dst);

// Enlarges a whole w x h plane to 4w x 4h in one bilinear step: the sample i
// rows below and j columns right of a known sample a, with b right of it, c
// below and d diagonal, is ((4-i)(4-j)a + (4-i)j b + i(4-j)c + ij d + 8) >> 4.
// Past the last known row or column the last known value stands in.
void PcdEnlarge4x(const std::uint8_t* src, int w, int h, std::uint8_t* dst);
