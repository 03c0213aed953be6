#include "imaging/global_dib.h"

#include <cstring>

namespace imaging {

GlobalDibLayout globalDibLayout(int width, int height, int bitCount, bool displayPalette) {
  GlobalDibLayout layout;
  int bytesPerPixel = bitCount / 8;
  if ((bitCount != 8 && bitCount != 24) || width <= 0 || height <= 0 || width > 65535 || height > 65535)
    return layout;
  std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
  if (rowBytes % 4 != 0 || static_cast<std::size_t>(height) > (std::size_t{1} << 30) / rowBytes) return layout;
  bool table = bitCount == 8 || displayPalette;
  layout.colourOffset = sizeof(DibHeader);
  layout.pixelOffset = layout.colourOffset + (table ? 1024 : 0);
  layout.pixelBytes = rowBytes * static_cast<std::size_t>(height);
  layout.blockSize = layout.pixelOffset + layout.pixelBytes + 12;
  return layout;
}

void writeGlobalDibHeader(std::uint8_t* block, int width, int height, int bitCount, bool displayPalette) {
  GlobalDibLayout layout = globalDibLayout(width, height, bitCount, displayPalette);
  DibHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(bitCount);
  header.sizeImage = static_cast<std::uint32_t>(layout.pixelBytes);
  header.clrUsed = bitCount == 24 && displayPalette ? 256 : 0;
  std::memcpy(block, &header, sizeof header);
}

}  // namespace imaging
