// Gamma correction tables. Each output stage keeps its own, so decodes on
// different threads never see each other's factor.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/dib_types.h"

namespace imaging {

class GammaTable {
 public:
  GammaTable();
  // A factor of 0 stands for 1.0; the same factor again changes nothing.
  void set(double factor);
  double factor() const { return factor_; }
  bool isIdentity() const { return factor_ == 1.0; }

  std::uint8_t map8(std::uint8_t v) const { return table8_[v]; }
  std::uint8_t map5(unsigned v) const { return table5_[v & 31]; }
  void apply24(std::uint8_t* pixels, std::size_t count) const;     // blue, green, red bytes
  void apply555(std::uint8_t* pixels, std::size_t count) const;    // each 5-bit field, little-endian words
  void apply(RgbTriple* entries, int count) const;

 private:
  double factor_ = 1.0;
  std::uint8_t table8_[256];
  std::uint8_t table5_[32];
};

}  // namespace imaging
