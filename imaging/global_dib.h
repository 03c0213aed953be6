// The global-memory packed DIB used for thumbnails and the clipboard: one
// movable, zero-filled block holding the 40-byte header, a 1024-byte colour
// table (8-bit images, and 24-bit images carrying a display palette), the
// unpadded pixel rows and 12 spare bytes - the CF_DIB layout.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/dib_types.h"

namespace imaging {

struct GlobalDibLayout {
  std::size_t colourOffset = 0;  // 40
  std::size_t pixelOffset = 0;
  std::size_t pixelBytes = 0;
  std::size_t blockSize = 0;     // 0 when the parameters are refused
};

// bitCount 8 or 24; width x bytes per pixel must be a multiple of 4 (Photo CD
// widths are multiples of 32), since rows are not padded.
GlobalDibLayout globalDibLayout(int width, int height, int bitCount, bool displayPalette);

// Fills the header of a freshly allocated, zeroed block (for the two backends).
void writeGlobalDibHeader(std::uint8_t* block, int width, int height, int bitCount, bool displayPalette);

// Allocates and fills the header; the caller fills the colour table and
// pixels through lockGlobal. Null when the size is refused or memory is short.
GlobalHandle allocGlobalDib(int width, int height, int bitCount, bool displayPalette);
std::uint8_t* lockGlobal(GlobalHandle block);
void unlockGlobal(GlobalHandle block);
std::size_t globalSize(GlobalHandle block);
// Unlocks the block as often as it is locked, then frees it.
void freeGlobalDib(GlobalHandle block);

}  // namespace imaging
