// One-pass colour reduction of 24-bit blue, green, red rows onto a fixed
// colour cube (palette displays), or an ordered dither to 5 bits per
// component (15/16-bit displays).
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/colour/colour_types.h"
#include "imaging/colour/error_diffusion.h"

namespace imaging::colour {

enum CubeMode {
  kCubeNone = 0,            // nearest cube colour
  kCubeOrdered = 1,         // 8 x 8 ordered dither onto the cube
  kCubeFloydSteinberg = 2,  // serpentine error diffusion onto the cube
  kCubeOrdered555 = 3,      // ordered dither to 5 bits, 16-bit 5-5-5 pixels
  kCubeOrdered5Bit24 = 4,   // ordered dither to 5 bits, kept in 24-bit pixels
};

// Levels per component (blue, green, red) of a cube of at most `colours`
// colours; all zero when the cube would have a single level.
std::array<int, 3> cubeLevels(int colours);

class ColourCube {
 public:
  // `colours` sizes the cube (240 for palette displays, 0 is fine for modes
  // 3 and 4); `width` is the row length in pixels.
  ColourCube(int colours, int mode, int width);

  // False for an unknown mode, a width below 1, or a palette mode whose
  // colour count gives no cube (below 8 or above 256).
  bool valid() const { return valid_; }
  int levels(int component) const { return levels_[component]; }

  // Reduces the next row (rows go top to bottom). Modes 0-2 write one palette
  // index per pixel for the whole row; modes 3 and 4 write pixels first..last
  // (last -1 = to the end) at their own positions in `out`, as little-endian
  // 5-5-5 words or as 3-byte pixels. False, writing nothing, on bad arguments.
  bool reduceRow(const std::uint8_t* in, std::uint8_t* out, int first = 0, int last = -1);

  // The cube colours in index order into out[0..255]; returns their count.
  int palette(RgbTriple* out) const;

 private:
  void buildTables();
  void reduceOrdered(const std::uint8_t* in, std::uint8_t* out) const;
  void reduceFiveBit(const std::uint8_t* in, std::uint8_t* out, int first, int last) const;
  void reduceDiffused(const std::uint8_t* in, std::uint8_t* out);

  static constexpr int kMargin = 255;  // clamping entries below 0 and above 255

  bool valid_ = false;
  int mode_;
  int width_;
  int colourCount_ = 0;
  std::array<int, 3> levels_{};
  std::array<int, 3> strides_{};
  std::array<std::vector<std::uint8_t>, 3> levelValues_;  // colour map per component
  std::array<std::vector<std::uint8_t>, 3> indexOf_;      // v + kMargin -> index contribution
  std::array<std::vector<std::uint8_t>, 3> nearest_;      // v -> value of its level
  std::vector<std::uint8_t> ordered_;    // [row 8][column 8][component 3][v 256]
  std::vector<std::uint8_t> fiveBit_;    // [matrix value 64][v 256] -> dithered 8-bit value
  ErrorDiffusionRow errors_;
  int row_ = 0;                          // dither row counter, 0..7
};

}  // namespace imaging::colour
