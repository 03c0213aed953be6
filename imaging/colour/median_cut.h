// Median cut: chooses up to `colours` colours for a colour histogram.
#pragma once
#include <cstdint>

#include "imaging/colour/colour_types.h"

namespace imaging::colour {

// Splits the occupied part of `histogram` (kHistogramCells counts) into at
// most `colours` boxes (1..256) and writes each box's count-weighted mean
// colour to out[]. Returns the number of colours, fewer when no box can be
// split further; an empty histogram gives one colour, black.
int medianCut(const std::uint16_t* histogram, int colours, RgbTriple* out);

}  // namespace imaging::colour
