#include "imaging/gamma.h"

#include <cmath>

namespace imaging {

namespace {
// The small margin keeps exact results (such as the identity) from falling a
// step short through rounding in pow.
void fill(std::uint8_t* table, int top, double exponent) {
  for (int i = 0; i <= top; ++i)
    table[i] = static_cast<std::uint8_t>(std::trunc(top * std::pow(static_cast<double>(i) / top, exponent) + 1e-9));
}
}  // namespace

GammaTable::GammaTable() {
  fill(table8_, 255, 1.0);
  fill(table5_, 31, 1.0);
}

void GammaTable::set(double factor) {
  if (factor == 0.0) factor = 1.0;
  if (factor == factor_ || !(factor > 0.0)) return;
  factor_ = factor;
  fill(table8_, 255, 1.0 / factor);
  fill(table5_, 31, 1.0 / factor);
}

void GammaTable::apply24(std::uint8_t* pixels, std::size_t count) const {
  for (std::size_t i = 0; i < count * 3; ++i) pixels[i] = table8_[pixels[i]];
}

void GammaTable::apply555(std::uint8_t* pixels, std::size_t count) const {
  for (std::size_t i = 0; i < count; ++i, pixels += 2) {
    unsigned p = pixels[0] | pixels[1] << 8;
    p = table5_[(p >> 10) & 31] << 10 | table5_[(p >> 5) & 31] << 5 | table5_[p & 31];
    pixels[0] = static_cast<std::uint8_t>(p);
    pixels[1] = static_cast<std::uint8_t>(p >> 8);
  }
}

void GammaTable::apply(RgbTriple* entries, int count) const {
  for (int i = 0; i < count; ++i)
    entries[i] = RgbTriple{table8_[entries[i].red], table8_[entries[i].green], table8_[entries[i].blue]};
}

}  // namespace imaging
