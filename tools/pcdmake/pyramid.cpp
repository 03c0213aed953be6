#include "pyramid.h"

#include <algorithm>
#include <array>

#include "pcd_upsample.h"
#include "ycc.h"

namespace pcdmake {
namespace {

// Nearest representable residual for each difference -255..255.
std::array<std::int8_t, 511> BuildQuantiser() {
  std::vector<int> allowed;
  for (int v = -127; v <= 127; ++v) {
    const int a = v < 0 ? -v : v;
    if (a <= 24 || (a <= 64 && a % 2 == 0) || a % 4 == 0) allowed.push_back(v);
  }
  std::array<std::int8_t, 511> table{};
  for (int d = -255; d <= 255; ++d) {
    int best = allowed.front();
    for (int v : allowed)
      if (std::abs(v - d) < std::abs(best - d)) best = v;
    table[d + 255] = static_cast<std::int8_t>(best);
  }
  return table;
}

// Residuals of source against the enlargement prediction; prediction is
// replaced by what the decoder reconstructs (prediction + residual, clamped).
Residuals Encode(const Plane& source, Plane& prediction) {
  Residuals r{source.width, source.height, std::vector<std::int8_t>(source.samples.size())};
  for (std::size_t i = 0; i < source.samples.size(); ++i) {
    const int predicted = prediction.samples[i];
    const std::int8_t q = QuantiseResidual(source.samples[i] - predicted);
    r.values[i] = q;
    prediction.samples[i] = static_cast<std::uint8_t>(std::clamp(predicted + q, 0, 255));
  }
  return r;
}

Plane Enlarge2x(const Plane& p) {
  Plane out(2 * p.width, 2 * p.height);
  PcdEnlarge2x(p.samples.data(), p.width, p.height, out.samples.data());
  return out;
}

Plane Enlarge4x(const Plane& p) {
  Plane out(4 * p.width, 4 * p.height);
  PcdEnlarge4x(p.samples.data(), p.width, p.height, out.samples.data());
  return out;
}

}  // namespace

std::int8_t QuantiseResidual(int difference) {
  static const std::array<std::int8_t, 511> table = BuildQuantiser();
  return table[std::clamp(difference, -255, 255) + 255];
}

PhotoLevels BuildLevels(const RgbImage& picture, int topLevel) {
  PhotoLevels out;
  out.topLevel = topLevel;
  const int sourceLevel = topLevel == 6 ? 6 : 5;

  // luma[L] and chroma[L] for every level from the source level down to BASE/16.
  std::array<Plane, 7> luma, c1, c2;
  {
    YccPlanes full = ConvertToYcc(picture);
    luma[sourceLevel] = std::move(full.luma);
    c1[sourceLevel] = Reduce2x(full.c1);
    c2[sourceLevel] = Reduce2x(full.c2);
  }
  for (int level = sourceLevel - 1; level >= 1; --level) {
    luma[level] = Reduce2x(luma[level + 1]);
    c1[level] = Reduce2x(c1[level + 1]);
    c2[level] = Reduce2x(c2[level + 1]);
  }
  out.base16 = {luma[1], c1[1], c2[1]};
  out.base4 = {luma[2], c1[2], c2[2]};
  out.base = {luma[3], c1[3], c2[3]};
  if (topLevel < 4) return out;

  Plane lumaRec = Enlarge2x(out.base.luma);
  out.luma4 = Encode(luma[4], lumaRec);
  if (topLevel < 5) return out;

  Plane c1Rec = Enlarge4x(out.base.c1), c2Rec = Enlarge4x(out.base.c2);
  out.c1of16 = Encode(c1[5], c1Rec);
  out.c2of16 = Encode(c2[5], c2Rec);
  lumaRec = Enlarge2x(lumaRec);
  out.luma16 = Encode(luma[5], lumaRec);
  if (topLevel < 6) return out;

  c1Rec = Enlarge2x(c1Rec);
  c2Rec = Enlarge2x(c2Rec);
  out.c1of64 = Encode(c1[6], c1Rec);
  out.c2of64 = Encode(c2[6], c2Rec);
  lumaRec = Enlarge2x(lumaRec);
  out.luma64 = Encode(luma[6], lumaRec);
  return out;
}

}  // namespace pcdmake
