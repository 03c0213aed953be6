// Pixel layout rules every bitmap in the program follows: 1, 4, 8, 16 (5-5-5)
// and 24 (blue, green, red) bits per pixel, rows padded to 4 bytes, colour
// tables only up to 8 bits.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "imaging/dib_types.h"

namespace imaging {

// Bytes per row: (bits x width + 7) / 8 rounded up to 4. Negative or absurd
// sizes give 0 so callers can refuse them.
std::size_t dibStride(int width, int bitCount);

// 2, 16 or 256 for 1, 4 and 8 bits (or clrUsed when set and smaller), else 0.
int colourTableEntries(const DibHeader& header);

// Bytes after the 40-byte header: the colour table, or 12 for bit-field masks.
std::size_t colourBlockSize(const DibHeader& header);

// stride x |height|, or 0 when the size cannot be represented.
std::size_t dibImageSize(const DibHeader& header);

inline int absHeight(const DibHeader& header) { return std::abs(header.height); }
inline bool isBottomUp(const DibHeader& header) { return header.height > 0; }

// A display header for a bitmap the program makes: BI_RGB, resolution 0.
DibHeader makeDibHeader(int width, int height, int bitCount, bool bottomUp, int coloursUsed);

// Memory row that holds image row r (0 = top) of an h-row bitmap.
inline int memoryRow(int r, int height, bool bottomUp) { return bottomUp ? height - 1 - r : r; }

inline std::uint16_t pack555(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  return static_cast<std::uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

// A 5-bit component widened to 8 bits so that 31 becomes 255.
inline std::uint8_t widen5(unsigned v) { return static_cast<std::uint8_t>(v << 3 | v >> 2); }

// Pixel x of a row of 1 bit per pixel; the leftmost pixel is the top bit of a byte.
inline unsigned bitAt(const std::uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1u; }
inline void setBitAt(std::uint8_t* row, int x, bool on) {
  const auto mask = static_cast<std::uint8_t>(0x80u >> (x & 7));
  row[x >> 3] = static_cast<std::uint8_t>(on ? row[x >> 3] | mask : row[x >> 3] & ~mask);
}

// The palette index of pixel x in a row of 1, 4 or 8 bits per pixel.
inline unsigned indexAt(const std::uint8_t* row, int x, int bits) {
  if (bits == 8) return row[x];
  if (bits == 4) return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4u;
  return bitAt(row, x);
}

// Copies count 3-byte pixels with the first and third byte exchanged: blue,
// green, red becomes red, green, blue (the files' order) and back.
void swapRedBlue(const std::uint8_t* in, int count, std::uint8_t* out);

// Widens count 5-5-5 pixels (two bytes each, low byte first) to 3-byte pixels in
// blue, green, red order, or red, green, blue with redFirst.
void widen555(const std::uint8_t* in, int count, std::uint8_t* out, bool redFirst = false);

}  // namespace imaging
