// Keeping what a damaged residual row still holds. A wrong bit makes one code
// wrong and shifts the codes after it, but Huffman codes fall back into step
// within a few codes: the codes before the damage are right where they stand,
// and the codes after it are right counted back from the row's end (the next
// row's sync). Where the damage lies is taken from the data: the first bits
// that start no code, and the split that best matches the row below.
#pragma once
#include <cstdint>
#include <vector>

#include "bit_reader.h"
#include "huffman_table.h"

// The row's place among the headers: the plane code (0, 2, 3) and the header
// row number of the next row of the same plane.
struct RecoveryRow {
  int planeCode;
  int nextHeaderRow;
};

// Re-decodes the damaged row whose first code starts at bit `start` into
// values (width samples). kPcdOk when the row's end was found and both ends
// of it are kept (bits then stands at the next row's sync); kPcdRowBadCode
// when only the codes before the damage could be kept (the rest are zero);
// kPcdOutOfMemory.
PcdStatus PcdRecoverRow(BitReader& bits, const HuffmanTable& table, std::uint64_t start, int width,
                        const RecoveryRow& place, std::int8_t* values);
