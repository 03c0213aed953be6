#include "image.h"

#include <algorithm>
#include <cmath>

namespace pcdmake {
namespace {

// Scales one axis of an interleaved image with a weight table per output index.
struct Tap {
  int index;
  float weight;
};

std::vector<std::vector<Tap>> AxisWeights(int from, int to) {
  std::vector<std::vector<Tap>> taps(to);
  const double scale = static_cast<double>(from) / to;
  for (int o = 0; o < to; ++o) {
    if (to <= from) {  // box filter over the source span of this output
      const double lo = o * scale, hi = lo + scale;
      for (int i = static_cast<int>(lo); i < std::min(from, static_cast<int>(std::ceil(hi))); ++i) {
        const double w = std::min(hi, i + 1.0) - std::max(lo, static_cast<double>(i));
        if (w > 0) taps[o].push_back({i, static_cast<float>(w / scale)});
      }
    } else {  // bilinear between the two nearest source centres
      const double pos = std::clamp((o + 0.5) * scale - 0.5, 0.0, from - 1.0);
      const int i = static_cast<int>(pos);
      const double f = pos - i;
      taps[o].push_back({i, static_cast<float>(1 - f)});
      if (i + 1 < from) taps[o].push_back({i + 1, static_cast<float>(f)});
    }
  }
  return taps;
}

}  // namespace

RgbImage Resample(const RgbImage& src, int w, int h) {
  if (src.width == w && src.height == h) return src;
  const auto tx = AxisWeights(src.width, w);
  const auto ty = AxisWeights(src.height, h);
  std::vector<float> rows(static_cast<std::size_t>(src.height) * w * 3);  // horizontal pass
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < w; ++x) {
      float acc[3] = {0, 0, 0};
      for (const Tap& t : tx[x])
        for (int c = 0; c < 3; ++c) acc[c] += t.weight * src.Pixel(t.index, y)[c];
      for (int c = 0; c < 3; ++c) rows[(static_cast<std::size_t>(y) * w + x) * 3 + c] = acc[c];
    }
  RgbImage out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float acc[3] = {0, 0, 0};
      for (const Tap& t : ty[y])
        for (int c = 0; c < 3; ++c) acc[c] += t.weight * rows[(static_cast<std::size_t>(t.index) * w + x) * 3 + c];
      for (int c = 0; c < 3; ++c)
        out.Pixel(x, y)[c] = static_cast<std::uint8_t>(std::clamp(std::lround(acc[c]), 0L, 255L));
    }
  return out;
}

RgbImage TurnClockwise(const RgbImage& src, int quarterTurns) {
  quarterTurns &= 3;
  if (quarterTurns == 0) return src;
  const bool swap = quarterTurns != 2;
  RgbImage out(swap ? src.height : src.width, swap ? src.width : src.height);
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      int ox = x, oy = y;
      if (quarterTurns == 1) { ox = src.height - 1 - y; oy = x; }
      if (quarterTurns == 2) { ox = src.width - 1 - x; oy = src.height - 1 - y; }
      if (quarterTurns == 3) { ox = y; oy = src.width - 1 - x; }
      std::copy_n(src.Pixel(x, y), 3, out.Pixel(ox, oy));
    }
  return out;
}

Plane Reduce2x(const Plane& src) {
  const int w = src.width / 2, h = src.height / 2;
  auto at = [&](int x, int y) {
    return static_cast<int>(src.Row(std::clamp(y, 0, src.height - 1))[std::clamp(x, 0, src.width - 1)]);
  };
  Plane out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = 2 * x, sy = 2 * y;
      int sum = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        const int wy = dy == 0 ? 2 : 1;
        sum += wy * (at(sx - 1, sy + dy) + 2 * at(sx, sy + dy) + at(sx + 1, sy + dy));
      }
      out.Row(y)[x] = static_cast<std::uint8_t>((sum + 8) >> 4);
    }
  return out;
}

}  // namespace pcdmake
