// Operations on single bitmaps: palette from a colour table, quarter and half
// turns, cropping. Every operation leaves its source untouched and reports
// failure by a null handle.
#pragma once
#include "imaging/dib_types.h"

namespace imaging {

// A logical palette from the first count colour-table entries; null above 8 bits.
PaletteHandle createPalette(const DibHeader& header, const RgbQuad* colourTable, int count);

// A new DIB section holding bitmap turned by 90 (clockwise), -90 or 270
// (counter-clockwise) or 180 degrees, with the source's colour table.
// Angle 0 and other angles give null. The caller owns the result.
BitmapHandle rotate(BitmapHandle bitmap, int angle);

// A new bitmap of the same format holding the width x height rectangle whose
// top-left is (x, y). The caller owns the result.
BitmapHandle crop(BitmapHandle bitmap, int x, int y, int width, int height);

}  // namespace imaging
