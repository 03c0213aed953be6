// Small helpers for tests: make DIB sections with known pixels and read them back.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"
#include "imaging/pixel_ops.h"

namespace testing_bitmaps {

// A DIB section whose pixel (x, y) is value(x, y); grey colour table for <= 8 bits.
template <typename Fn>
imaging::BitmapHandle makeSection(int width, int height, int bits, bool bottomUp, Fn value) {
  imaging::DibHeader h = imaging::makeDibHeader(width, height, bits, bottomUp, 0);
  imaging::RgbQuad colours[256];
  int n = bits <= 8 ? 1 << bits : 0;
  for (int i = 0; i < n; ++i) {
    auto v = static_cast<std::uint8_t>(i * 255 / (n - 1));
    colours[i] = imaging::RgbQuad{v, v, v, 0};
  }
  imaging::BitmapHandle bitmap = imaging::createDibSection(h, n ? colours : nullptr);
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(bitmap, info)) return bitmap;
  imaging::PixelView view = imaging::makeView(info.header, info.bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) imaging::setPixel(view, x, y, value(x, y));
  return bitmap;
}

// Pixel values row by row, top row first.
inline std::vector<std::uint32_t> pixelsOf(imaging::BitmapHandle bitmap) {
  std::vector<std::uint32_t> out;
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(bitmap, info)) return out;
  imaging::PixelView view = imaging::makeView(info.header, info.bits);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) out.push_back(imaging::getPixel(view, x, y));
  return out;
}

inline imaging::DibHeader headerOf(imaging::BitmapHandle bitmap) {
  imaging::DibSectionInfo info;
  imaging::describeDibSection(bitmap, info);
  return info.header;
}

}  // namespace testing_bitmaps
