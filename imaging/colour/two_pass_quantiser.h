// Two-pass colour quantisation of 24-bit blue, green, red rows: pass 1 counts
// every row into a colour histogram, median cut then chooses the colours, and
// pass 2 maps the kept rows onto them, with or without limited error diffusion.
//
// How a decode drives it (the reader's output stage):
//   pass 1  for every decoded row, top to bottom: countRow(row) on the 24-bit
//           row (after gamma), while the row is shown through a ColourCube of
//           240 colours in mode 1 and the full 24-bit copy keeps it;
//           progress = rows * 5000 / height.
//   switch  after the last row: chooseColours(); palette(out) gives the
//           colours (gamma goes into the logical palette made from them);
//           the display bitmap's colour table is set to them.
//   pass 2  for each kept row, top to bottom: mapRow(row, indices), store the
//           indices as the display row; progress = 5000 + rows * 5000 / height.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/colour/colour_types.h"
#include "imaging/colour/error_diffusion.h"

namespace imaging::colour {

class TwoPassQuantiser {
 public:
  // `colours` 1..256 (236 for palette displays); `width` is the row length.
  TwoPassQuantiser(int colours, bool diffusion, int width);

  bool valid() const { return valid_; }

  // Pass 1: counts a row; each cell saturates at 65535. False once the
  // colours are chosen or on bad arguments.
  bool countRow(const std::uint8_t* row);

  // Ends pass 1: chooses the colours and returns their count (0 if invalid).
  // A picture with fewer occupied cells than colours gets fewer colours.
  int chooseColours();

  // The chosen colours into out[0..255]; returns their count.
  int palette(RgbTriple* out) const;

  // Pass 2: writes one palette index per pixel. Rows go top to bottom.
  // False before chooseColours() or on bad arguments.
  bool mapRow(const std::uint8_t* row, std::uint8_t* out);

 private:
  std::uint8_t lookUp(int blue, int green, int red);

  bool valid_ = false;
  bool chosen_ = false;
  int colourLimit_;
  bool diffusion_;
  int width_;
  std::vector<std::uint16_t> cells_;  // histogram in pass 1, inverse map in pass 2
  RgbTriple colours_[kMaxColours];
  int colourCount_ = 0;
  ErrorDiffusionRow errors_;
  int errorLimit_[511];  // error + 255 -> limited error
};

}  // namespace imaging::colour
