#include "decode_test_util.h"

Decoded DecodeRect(ImagePack* pack, const OutputRect* rect) {
  Decoded d;
  const OutputRect whole{0, 0, static_cast<std::int16_t>(pack->outputHeight), static_cast<std::int16_t>(pack->outputWidth)};
  const OutputRect r = rect ? *rect : whole;
  d.rows = r.bottom - r.top;
  d.columns = r.right - r.left;
  d.bytesPerPixel = pack->bytesPerPixel;
  d.pixels.assign(static_cast<std::size_t>(d.rows) * d.columns * d.bytesPerPixel, 0xCD);
  d.status = PcdReadRect(pack, rect, d.pixels.data(), static_cast<std::ptrdiff_t>(d.columns) * d.bytesPerPixel);
  return d;
}
