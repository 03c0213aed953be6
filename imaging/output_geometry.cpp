#include "imaging/output_geometry.h"

#include <algorithm>
#include <cmath>

#include "imaging/colour_reducer.h"
#include "imaging/dib_format.h"

namespace imaging {

OutputSize fitOutputSize(int sourceWidth, int sourceHeight, int boxWidth, int boxHeight) {
  OutputSize size;
  if (sourceWidth <= 0 || sourceHeight <= 0) return size;
  float rx = static_cast<float>(boxWidth > 0 ? boxWidth : sourceWidth) / sourceWidth;
  float ry = static_cast<float>(boxHeight > 0 ? boxHeight : sourceHeight) / sourceHeight;
  float scale = std::min(std::min(rx, ry), 1.0f);
  size.width = std::max(1, static_cast<int>(std::lround(sourceWidth * static_cast<double>(scale))));
  size.height = std::max(1, static_cast<int>(std::lround(sourceHeight * static_cast<double>(scale))));
  return size;
}

namespace {
int normalise(int bits) { return bits <= 1 ? 1 : bits <= 8 ? 8 : bits <= 16 ? 16 : 24; }
}  // namespace

OutputDepths chooseDepths(int sourceBits, int displayDepth) {
  // A display below 8 bits still gets palette bitmaps: the reducers aim at 8.
  int depth = displayDepth > 24 ? 24 : displayDepth == 15 ? 16 : displayDepth < 8 ? 8 : displayDepth;
  OutputDepths d;
  d.display = normalise(std::min(sourceBits, depth));
  d.row = normalise(sourceBits);
  d.full = sourceBits <= 1 ? 1 : sourceBits <= 8 ? 8 : sourceBits <= 15 ? 16 : 24;
  return d;
}

PalettePlan planPalette(int sourceBits, bool grey, const std::vector<RgbTriple>& ownPalette, int displayBits,
                        int displayDepth, const std::vector<RgbTriple>& cubeColours) {
  PalettePlan plan;
  for (int i = 0; i < 256; ++i) plan.indices[i] = static_cast<std::uint16_t>(i);
  std::vector<RgbTriple> sourceColours;
  if (sourceBits <= 8) {
    if (grey || ownPalette.empty()) {
      int n = 1 << std::max(sourceBits, 1);
      for (int i = 0; i < n; ++i) {
        auto v = static_cast<std::uint8_t>(i * 255 / (n - 1));
        sourceColours.push_back(RgbTriple{v, v, v});
      }
    } else {
      sourceColours.assign(ownPalette.begin(), ownPalette.begin() + std::min<std::size_t>(ownPalette.size(), 256));
    }
  }
  bool greyLevels = sourceBits == 8 && (grey || ownPalette.empty()) && sourceColours.size() >= 237;
  if (!cubeColours.empty() && displayBits < 9) {
    plan.entries = cubeColours;
  } else if (greyLevels && displayDepth == 8) {
    // 236 greys leave the system colours of a 256-colour display alone.
    for (int k = 0; k < 236; ++k) {
      auto v = static_cast<std::uint8_t>(std::trunc(k * 1.0851063829787233));
      plan.entries.push_back(RgbTriple{v, v, v});
    }
    for (int v = 0; v < 256; ++v)
      plan.indices[v] = static_cast<std::uint16_t>(std::trunc(v * 0.9215686274509804));
    plan.declaredColours = 256;
    return plan;
  } else {
    plan.entries = sourceColours;
  }
  plan.declaredColours = static_cast<int>(plan.entries.size());
  return plan;
}

ReductionChoice chooseReduction(int rowBits, int displayBits, int dither8, int dither16) {
  ReductionChoice choice;
  if (rowBits > 8 && displayBits == 8) {
    choice.cube = true;
    choice.cubeColours = 240;
    choice.cubeMode = dither8 == 2 ? 2 : (dither8 == 1 || dither8 == 3 || dither8 == 4) ? 1 : 0;
    if (dither8 == 3 || dither8 == 4) {
      choice.twoPass = true;
      choice.twoPassColours = 236;
      choice.diffusion = dither8 == 4;
    }
  } else if (rowBits == 24 && displayBits == 16 && dither16 != 0) {
    choice.cube = true;
    choice.cubeMode = 3;
  }
  return choice;
}

namespace {

// Emits one output pixel from the group in[first .. first + count).
void emit(const std::uint8_t* in, int first, int count, std::uint8_t* out, int index, LineKind kind) {
  int middle = first + (count - 1) / 2;
  switch (kind) {
    case LineKind::Bits1: {
      setBitAt(out, index, bitAt(in, middle));
      break;
    }
    case LineKind::Index8:
      out[index] = in[middle];
      break;
    case LineKind::Grey8: {
      unsigned sum = 0;
      for (int i = first; i < first + count; ++i) sum += in[i];
      out[index] = static_cast<std::uint8_t>(sum / count);
      break;
    }
    case LineKind::Bgr24:
      for (int c = 0; c < 3; ++c) {
        unsigned sum = 0;
        for (int i = first; i < first + count; ++i) sum += in[i * 3 + c];
        out[index * 3 + c] = static_cast<std::uint8_t>(sum / count);
      }
      break;
    case LineKind::Rgb555: {
      unsigned sums[3] = {0, 0, 0};
      for (int i = first; i < first + count; ++i) {
        unsigned p = in[i * 2] | in[i * 2 + 1] << 8;
        sums[0] += p & 31;
        sums[1] += (p >> 5) & 31;
        sums[2] += (p >> 10) & 31;
      }
      unsigned p = (sums[2] / count) << 10 | (sums[1] / count) << 5 | sums[0] / count;
      out[index * 2] = static_cast<std::uint8_t>(p);
      out[index * 2 + 1] = static_cast<std::uint8_t>(p >> 8);
      break;
    }
  }
}

}  // namespace

void reduceLine(const std::uint8_t* in, int inCount, std::uint8_t* out, int outCount, LineKind kind) {
  long long accumulator = 0;
  int first = 0, emitted = 0;
  for (int i = 0; i < inCount && emitted < outCount; ++i) {
    accumulator += outCount;
    if (accumulator >= inCount) {
      emit(in, first, i + 1 - first, out, emitted++, kind);
      first = i + 1;
      accumulator -= inCount;
    }
  }
}

}  // namespace imaging
