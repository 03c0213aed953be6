#include "imaging/dib_image.h"

#include <cstring>

#include "imaging/dib_format.h"
#include "imaging/dib_ops.h"
#include "imaging/gdi_backend.h"
#include "imaging/packed_dib.h"

namespace imaging {

namespace {

template <typename Handle, typename Deleter>
void replace(Handle& slot, bool& owns, Handle value, bool ownsValue, Deleter remove) {
  if (slot && owns && slot != value) remove(slot);
  slot = value;
  owns = ownsValue;
}

// A DIB section holding a copy of a packed DIB's pixels.
BitmapHandle sectionFrom(const PackedDib& packed) {
  const DibHeader* header = packed.header();
  if (!header || !packed.bits()) return nullptr;
  DibHeader h = *header;
  if (h.compression == kBiRgb && h.bitCount > 8) h.clrUsed = 0;  // a display palette is not a colour table
  const RgbQuad* colours = packed.colours();
  BitmapHandle bitmap =
      createDibSection(h, h.compression == kBiBitfields ? reinterpret_cast<const RgbQuad*>(packed.info() + 40)
                                                        : (h.bitCount <= 8 ? colours : nullptr));
  DibSectionInfo section;
  if (!bitmap || !describeDibSection(bitmap, section)) {
    deleteBitmap(bitmap);
    return nullptr;
  }
  std::size_t bytes = dibImageSize(h);
  std::memcpy(section.bits, packed.bits(), bytes < packed.bitsSize() ? bytes : packed.bitsSize());
  return bitmap;
}

PaletteHandle paletteFrom(const PackedDib& packed) {
  const DibHeader* header = packed.header();
  const RgbQuad* colours = packed.colours();
  if (!header || !colours) return nullptr;
  int count = header->bitCount <= 8 ? colourTableEntries(*header) : static_cast<int>(header->clrUsed);
  // A 24-bit picture's display palette stands for the 8-bit bitmap it was made for.
  DibHeader asPalette = *header;
  asPalette.bitCount = 8;
  return createPalette(asPalette, colours, count);
}

}  // namespace

void DibImage::releaseBitmaps() {
  setDisplayBitmap(nullptr, true);
  setFullBitmap(nullptr, true);
  setPalette(nullptr, true);
}

void DibImage::setDisplayBitmap(BitmapHandle bitmap, bool owns) {
  replace(displayBitmap, ownsDisplay, bitmap, owns, deleteBitmap);
}

void DibImage::setFullBitmap(BitmapHandle bitmap, bool owns) {
  replace(fullBitmap, ownsFull, bitmap, owns, deleteBitmap);
}

void DibImage::setPalette(PaletteHandle value, bool owns) {
  if (sharedPalette) {  // the picture keeps its palette; this frame only forgets it
    palette = nullptr;
    sharedPalette = false;
  }
  replace(palette, ownsPalette, value, owns, deletePalette);
}

bool DibImage::rotate(QuarterTurns turn) {
  BitmapHandle display = displayBitmap ? imaging::rotate(displayBitmap, turn) : nullptr;
  BitmapHandle full = fullBitmap ? imaging::rotate(fullBitmap, turn) : nullptr;
  if ((displayBitmap && !display) || (fullBitmap && !full) || (!display && !full)) {
    deleteBitmap(display);
    deleteBitmap(full);
    return false;
  }
  if (display) setDisplayBitmap(display, true);
  if (full) setFullBitmap(full, true);
  if (turn.swapsSides()) {
    std::swap(sourceWidth, sourceHeight);
    std::swap(width, height);
  }
  return true;
}

bool DibImage::assignPacked(const PackedDib* display, const PackedDib* full) {
  BitmapHandle d = display ? sectionFrom(*display) : nullptr;
  BitmapHandle f = full ? sectionFrom(*full) : nullptr;
  if ((display && !d) || (full && !f)) {
    deleteBitmap(d);
    deleteBitmap(f);
    return false;
  }
  setDisplayBitmap(d, true);
  setFullBitmap(f, true);
  PaletteHandle p = display ? paletteFrom(*display) : nullptr;
  if (!p && full) p = paletteFrom(*full);
  setPalette(p, true);
  const DibHeader* first = display ? display->header() : full ? full->header() : nullptr;
  if (first) {
    sourceWidth = width = static_cast<std::int16_t>(first->width);
    sourceHeight = height = static_cast<std::int16_t>(absHeight(*first));
    displayBits = static_cast<std::uint8_t>(first->bitCount);
  }
  const DibHeader* last = full ? full->header() : first;
  if (last) sourceBits = static_cast<std::uint8_t>(last->bitCount);
  return true;
}

}  // namespace imaging
