// Operations on single bitmaps: palette from a colour table, quarter and half
// turns, cropping. Every operation leaves its source untouched and reports
// failure by a null handle.
#pragma once
#include "imaging/dib_types.h"
#include "imaging/quarter_turns.h"

namespace imaging {

// A logical palette from the first count colour-table entries; null above 8 bits.
PaletteHandle createPalette(const DibHeader& header, const RgbQuad* colourTable, int count);

// A new DIB section holding bitmap turned, with the source's colour table.
// No turn gives null. The caller owns the result.
BitmapHandle rotate(BitmapHandle bitmap, QuarterTurns turn);

// A new bitmap of the same format holding the width x height rectangle whose
// top-left is (x, y). The caller owns the result.
BitmapHandle crop(BitmapHandle bitmap, int x, int y, int width, int height);

}  // namespace imaging
