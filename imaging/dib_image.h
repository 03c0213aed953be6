// One frame of a decoded picture: the display bitmap, an optional full-depth
// copy and the palette, each with an ownership flag so that every handle has
// exactly one owner at any time.
#pragma once
#include <cstdint>

#include "imaging/dib_types.h"
#include "imaging/quarter_turns.h"

namespace imaging {

class PackedDib;

struct DibImage {
  std::int16_t sourceWidth = 0;   // picture in the file
  std::int16_t sourceHeight = 0;
  std::int16_t width = 0;         // decoded bitmaps
  std::int16_t height = 0;
  std::uint8_t sourceBits = 0;
  std::uint8_t displayBits = 0;
  std::uint8_t colourType = 0;    // reported by the reader, carried through
  bool complete = false;
  BitmapHandle displayBitmap = nullptr;
  BitmapHandle fullBitmap = nullptr;
  PaletteHandle palette = nullptr;
  bool ownsDisplay = true;
  bool ownsFull = true;
  bool ownsPalette = true;
  bool sharedPalette = false;     // belongs to the whole picture, never freed here

  DibImage() = default;
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;
  ~DibImage() { releaseBitmaps(); }

  // Deletes each handle this frame owns and clears all three.
  void releaseBitmaps();
  // Replace one handle, deleting the old one when this frame owned it.
  void setDisplayBitmap(BitmapHandle bitmap, bool owns);
  void setFullBitmap(BitmapHandle bitmap, bool owns);
  void setPalette(PaletteHandle palette, bool owns);

  // Turns the display and full bitmaps (each when present); swaps the sizes
  // on quarter turns. True when a bitmap turned; on failure the frame is left
  // as it was.
  bool rotate(QuarterTurns turn);

  // Wraps packed DIBs: the display bitmap from the first, the full bitmap
  // from the second (each when given), the palette from the first's colour
  // table or else the second's. Sizes come from the headers.
  bool assignPacked(const PackedDib* display, const PackedDib* full);
};

}  // namespace imaging
