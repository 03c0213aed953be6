#include "pcd_upsample.h"

#include <cstring>

void PcdWidenRow2x(const std::uint8_t* src, int n, std::uint8_t* dst) {
  for (int i = 0; i + 1 < n; ++i) {
    dst[2 * i] = src[i];
    dst[2 * i + 1] = static_cast<std::uint8_t>((src[i] + src[i + 1] + 1) >> 1);
  }
  dst[2 * n - 2] = src[n - 1];
  dst[2 * n - 1] = src[n - 1];
}

void PcdBlendRows2x(const std::uint8_t* p, const std::uint8_t* q, int width2n, std::uint8_t* dst) {
  for (int x = 0; x + 2 < width2n; x += 2) {
    dst[x] = static_cast<std::uint8_t>((p[x] + q[x] + 1) >> 1);
    dst[x + 1] = static_cast<std::uint8_t>((p[x] + q[x] + p[x + 2] + q[x + 2] + 2) >> 2);
  }
  const int last = width2n - 2;
  dst[last] = static_cast<std::uint8_t>((p[last] + q[last] + 1) >> 1);
  dst[last + 1] = dst[last];
}

void PcdEnlarge2x(const std::uint8_t* src, int w, int h, std::uint8_t* dst) {
  const int w2 = 2 * w;
  for (int k = 0; k < h; ++k) PcdWidenRow2x(src + static_cast<long>(k) * w, w, dst + static_cast<long>(2 * k) * w2);
  for (int k = 0; k < h; ++k) {
    std::uint8_t* above = dst + static_cast<long>(2 * k) * w2;
    std::uint8_t* between = above + w2;
    if (k + 1 < h)
      PcdBlendRows2x(above, above + 2 * w2, w2, between);
    else
      std::memcpy(between, above, w2);
  }
}

void PcdEnlarge4x(const std::uint8_t* src, int w, int h, std::uint8_t* dst) {
  const long w4 = 4L * w;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* top = src + static_cast<long>(y) * w;
    const std::uint8_t* bottom = src + static_cast<long>(y + 1 < h ? y + 1 : y) * w;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t* out = dst + (4L * y + i) * w4;
      for (int x = 0; x < w; ++x) {
        const int xr = x + 1 < w ? x + 1 : x;
        const int a = top[x], b = top[xr], c = bottom[x], d = bottom[xr];
        for (int j = 0; j < 4; ++j)
          out[4 * x + j] = static_cast<std::uint8_t>(
              ((4 - i) * (4 - j) * a + (4 - i) * j * b + i * (4 - j) * c + i * j * d + 8) >> 4);
      }
    }
  }
}
