#include "imaging/dib_format.h"

namespace imaging {

namespace {
// Largest pixel block the program accepts; keeps size arithmetic in range on 32-bit builds.
constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;
}

std::size_t dibStride(int width, int bitCount) {
  if (width <= 0 || bitCount <= 0 || bitCount > 32 || width > (1 << 24)) return 0;
  std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount);
  return ((bits + 31) / 32) * 4;
}

int colourTableEntries(const DibHeader& header) {
  if (header.bitCount > 8) return 0;
  int full = 1 << header.bitCount;
  if (header.clrUsed != 0 && header.clrUsed < static_cast<std::uint32_t>(full))
    return static_cast<int>(header.clrUsed);
  return full;
}

std::size_t colourBlockSize(const DibHeader& header) {
  if (header.compression == kBiBitfields) return 12;
  return static_cast<std::size_t>(colourTableEntries(header)) * sizeof(RgbQuad);
}

std::size_t dibImageSize(const DibHeader& header) {
  std::size_t stride = dibStride(header.width, header.bitCount);
  std::size_t rows = static_cast<std::size_t>(absHeight(header));
  if (stride == 0 || rows == 0 || rows > kMaxImageBytes / stride) return 0;
  return stride * rows;
}

DibHeader makeDibHeader(int width, int height, int bitCount, bool bottomUp, int coloursUsed) {
  DibHeader h;
  h.width = width;
  h.height = bottomUp ? height : -height;
  h.bitCount = static_cast<std::uint16_t>(bitCount);
  h.clrUsed = static_cast<std::uint32_t>(coloursUsed);
  return h;
}

void swapRedBlue(const std::uint8_t* in, int count, std::uint8_t* out) {
  for (int i = 0; i < count; ++i, in += 3, out += 3) {
    const std::uint8_t first = in[0];
    out[0] = in[2];
    out[1] = in[1];
    out[2] = first;
  }
}

void widen555(const std::uint8_t* in, int count, std::uint8_t* out, bool redFirst) {
  const int blue = redFirst ? 2 : 0, red = 2 - blue;
  for (int i = 0; i < count; ++i, in += 2, out += 3) {
    const unsigned p = in[0] | in[1] << 8;
    out[blue] = widen5(p & 31);
    out[1] = widen5((p >> 5) & 31);
    out[red] = widen5((p >> 10) & 31);
  }
}

}  // namespace imaging
