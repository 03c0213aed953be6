// Residual rows that are lost (not found, unreadable, past the end of the
// data) are filled from the nearest whole rows of the same plane above and
// below: an edge that crosses a lost row leaves residuals in the rows around
// it, which zeros would drop.
#pragma once
#include <cstdint>

#include "decode_internal.h"

// The residuals of a row of a level (4, 5 or 6) and plane that could not be
// decoded, made from its neighbours (zeros where none is whole), in values;
// gives back damage, the reason it was lost, or kPcdOutOfMemory.
PcdStatus PcdFillLostRow(ImagePack& pack, DecodeState& state, int level, int plane, int row, PcdStatus damage,
                         const std::int8_t*& values);
