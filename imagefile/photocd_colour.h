// The Photo CD reader's own PhotoYCC to B, G, R conversion of base-level rows:
// table look-ups and a clamp table, no multiplication per pixel. Its tables
// differ slightly from the toolkit's and it neither rounds nor rolls off
// highlights, so base levels look as they always have in this reader.
#pragma once
#include <cstdint>

namespace imagefile {

class PcdReaderColour {
 public:
  PcdReaderColour();

  // Converts `width` pixels: luma row y, chroma rows c1 and c2 of width / 2
  // samples (each serves two neighbouring pixels). Writes B, G, R from out on,
  // or, when reversed, from the last pixel's place backwards.
  void convertRow(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int width,
                  std::uint8_t* out, bool reversed) const;
  // Converts `width` pixels of luma, chroma 1, chroma 2 triples with a chroma
  // sample per pixel (the toolkit's raw PhotoYCC output) into B, G, R in place.
  void convertPixels(std::uint8_t* pixels, int width) const;
  // convertRow rolls highlights off through the toolkit's output curve instead
  // of clipping them, so that base levels have the tone of the higher ones.
  void setRollOff(bool rollOff) { rollOff_ = rollOff; }

 private:
  // Sums reach -346 (C1B of 0) to 564 (Y and C1B of 255); the clamp table
  // covers -512..767 so that every sum is a valid index.
  static constexpr int kClampBias = 512;
  static constexpr int kClampSize = 1280;

  std::int32_t luma_[256];
  std::int32_t c1Green_[256], c1Blue_[256];
  std::int32_t c2Red_[256], c2Green_[256];
  std::uint8_t clamp_[kClampSize];
  bool rollOff_ = false;
};

}  // namespace imagefile
