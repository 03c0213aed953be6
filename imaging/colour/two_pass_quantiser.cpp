#include "imaging/colour/two_pass_quantiser.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/colour/colour_histogram.h"
#include "imaging/colour/inverse_colour_map.h"
#include "imaging/colour/median_cut.h"

namespace imaging::colour {

namespace {

// Limits the error diffused into a sample: small errors pass, middling ones
// are halved, large ones are capped at 32, so flat areas stay clean.
int limitError(int e) {
  int magnitude = std::abs(e);
  int limited = magnitude < 16 ? magnitude : magnitude < 48 ? 16 + (magnitude - 16) / 2 : 32;
  return e < 0 ? -limited : limited;
}

}  // namespace

TwoPassQuantiser::TwoPassQuantiser(int colours, bool diffusion, int width)
    : colourLimit_(colours), diffusion_(diffusion), width_(width), errors_(diffusion && width > 0 ? width : 0) {
  if (colours < 1 || colours > kMaxColours || width < 1) return;
  cells_.assign(kHistogramCells, 0);
  // Owed errors stay within one sample range: |e| <= 255.
  for (int e = -255; e <= 255; ++e) errorLimit_[e + 255] = limitError(e);
  valid_ = true;
}

bool TwoPassQuantiser::countRow(const std::uint8_t* row) {
  if (!valid_ || chosen_ || !row) return false;
  for (int x = 0; x < width_; ++x, row += 3) {
    std::uint16_t& cell = cells_[cellOfPixel(row[0], row[1], row[2])];
    if (cell != 0xFFFF) ++cell;
  }
  return true;
}

int TwoPassQuantiser::chooseColours() {
  if (!valid_) return 0;
  if (!chosen_) {
    colourCount_ = medianCut(cells_.data(), colourLimit_, colours_);
    std::fill(cells_.begin(), cells_.end(), 0);
    chosen_ = true;
  }
  return colourCount_;
}

int TwoPassQuantiser::palette(RgbTriple* out) const {
  if (!out) return 0;
  std::copy(colours_, colours_ + colourCount_, out);
  return colourCount_;
}

std::uint8_t TwoPassQuantiser::lookUp(int blue, int green, int red) {
  std::uint16_t& cell = cells_[cellOfPixel(blue, green, red)];
  if (cell == 0) fillInverseBlock(cells_.data(), colours_, colourCount_, blue >> 3, green >> 2, red >> 3);
  return static_cast<std::uint8_t>(cell - 1);
}

bool TwoPassQuantiser::mapRow(const std::uint8_t* row, std::uint8_t* out) {
  if (!valid_ || !chosen_ || !row || !out) return false;
  if (!diffusion_) {
    for (int x = 0; x < width_; ++x, row += 3) out[x] = lookUp(row[0], row[1], row[2]);
    return true;
  }
  // Plain pointers: stores through `out` could alias the vectors' owners.
  const int* limit = &errorLimit_[255];
  const std::uint16_t* cells = cells_.data();
  const RgbTriple* colours = colours_;
  errors_.run(row, out, [limit](int error) { return limit[error]; },
              [this, cells, colours](const int value[3], int chosen[3]) {
                std::uint16_t cell = cells[cellOfPixel(value[kBlue], value[kGreen], value[kRed])];
                std::uint8_t index = cell ? static_cast<std::uint8_t>(cell - 1)
                                          : lookUp(value[kBlue], value[kGreen], value[kRed]);
                chosen[kBlue] = colours[index].blue;
                chosen[kGreen] = colours[index].green;
                chosen[kRed] = colours[index].red;
                return index;
              });
  return true;
}

}  // namespace imaging::colour
