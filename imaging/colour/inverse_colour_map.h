// Lazily filled inverse colour map over the histogram cells.
#pragma once
#include <cstdint>

#include "imaging/colour/colour_types.h"

namespace imaging::colour {

// Weighted squared distance between two colours: blue x1, green x3, red x2.
inline int colourDistance(int db, int dg, int dr) { return db * db + 9 * dg * dg + 4 * dr * dr; }

// Fills the 4 x 8 x 4 block (blue x green x red cells) around the given cell
// of `map`: each cell gets the index + 1 of the colour nearest its centre
// (lowest index on a tie). Only colours that can be nearest to some cell of
// the block are compared.
void fillInverseBlock(std::uint16_t* map, const RgbTriple* colours, int count, int blueCell, int greenCell, int redCell);

}  // namespace imaging::colour
