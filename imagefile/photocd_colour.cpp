#include "imagefile/photocd_colour.h"

#include <cstddef>

#include "photocd/colour_tables.h"

namespace imagefile {

namespace {

// Truncation toward zero, as the conversion is defined.
std::int32_t Scaled(double factor, int v, int centre) { return static_cast<std::int32_t>(factor * (v - centre)); }

}  // namespace

PcdReaderColour::PcdReaderColour() {
  for (int v = 0; v < 256; ++v) {
    luma_[v] = Scaled(1.35638, v, 0);
    c1Green_[v] = Scaled(-0.43018, v, 156);
    c1Blue_[v] = Scaled(2.21802, v, 156);
    c2Red_[v] = Scaled(1.82153, v, 137);
    c2Green_[v] = Scaled(-0.92725, v, 137);
  }
  for (int i = 0; i < kClampSize; ++i) {
    int v = i - kClampBias;
    clamp_[i] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
}

void PcdReaderColour::convertRow(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int width,
                                 std::uint8_t* out, bool reversed) const {
  const std::uint8_t* clamp = clamp_ + kClampBias;
  std::ptrdiff_t step = 3;
  if (reversed) {
    out += 3 * static_cast<std::ptrdiff_t>(width - 1);
    step = -3;
  }
  if (rollOff_) {
    for (int k = 0; k < width; ++k, out += step) {
      const pcd::Rgb rgb = pcd::YccToRgb(y[k], c1[k >> 1], c2[k >> 1]);
      out[0] = rgb.b;
      out[1] = rgb.g;
      out[2] = rgb.r;
    }
    return;
  }
  for (int x = 0; x < width; x += 2) {
    const int blue = c1Blue_[c1[x >> 1]];
    const int green = c1Green_[c1[x >> 1]] + c2Green_[c2[x >> 1]];
    const int red = c2Red_[c2[x >> 1]];
    for (int k = x; k < x + 2 && k < width; ++k, out += step) {
      const int l = luma_[y[k]];
      out[0] = clamp[l + blue];
      out[1] = clamp[l + green];
      out[2] = clamp[l + red];
    }
  }
}

void PcdReaderColour::convertPixels(std::uint8_t* pixels, int width) const {
  const std::uint8_t* clamp = clamp_ + kClampBias;
  for (std::uint8_t* p = pixels; p < pixels + 3 * static_cast<std::ptrdiff_t>(width); p += 3) {
    const int l = luma_[p[0]], c1 = p[1], c2 = p[2];
    p[0] = clamp[l + c1Blue_[c1]];
    p[1] = clamp[l + c1Green_[c1] + c2Green_[c2]];
    p[2] = clamp[l + c2Red_[c2]];
  }
}

}  // namespace imagefile
