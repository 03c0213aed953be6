// The 32 x 64 x 32 colour histogram of the two-pass quantiser (blue 5 bits,
// green 6 bits, red 5 bits). After the colours are chosen the same cells hold
// the inverse colour map: colour index + 1, or 0 while not yet computed.
#pragma once
#include <cstddef>
#include <cstdint>

namespace imaging::colour {

constexpr int kBlueCells = 32, kGreenCells = 64, kRedCells = 32;
constexpr std::size_t kHistogramCells = static_cast<std::size_t>(kBlueCells) * kGreenCells * kRedCells;

// Sample value at the centre of cell i along each axis.
inline int blueCentre(int i) { return i * 8 + 4; }
inline int greenCentre(int j) { return j * 4 + 2; }
inline int redCentre(int k) { return k * 8 + 4; }

inline std::size_t cellIndex(int blueCell, int greenCell, int redCell) {
  return (static_cast<std::size_t>(blueCell) * kGreenCells + greenCell) * kRedCells + redCell;
}

inline std::size_t cellOfPixel(int blue, int green, int red) { return cellIndex(blue >> 3, green >> 2, red >> 3); }

}  // namespace imaging::colour
