#include "imaging/colour/colour_cube.h"

#include <cstddef>

namespace imaging::colour {

namespace {

constexpr int kPaletteCubeColours = 240;

// Value of level k of L levels spread evenly over 0..255.
int levelValue(int k, int levels) { return (k * 255 + (levels - 1) / 2) / (levels - 1); }

// Largest input value that level k of L levels still covers.
int levelUpperBound(int k, int levels) {
  return ((2 * k + 1) * 255 + levels - 1) / (2 * (levels - 1));
}

// Ordered-dither offset for matrix value m on a component of L levels.
int orderedOffset(int m, int levels) { return (65 - 2 * m) * 255 / (130 * (levels - 1)); }

// A sample dithered to 5 bits (kept in the top bits of a byte).
int fiveBitValue(int m, int v) {
  int out = ((v >> 3) + (((m - 1) * 7 < (v & 7) * 63) ? 1 : 0)) << 3;
  return out > 255 ? 255 : out;
}

}  // namespace

std::array<int, 3> cubeLevels(int colours) {
  // The palette-display cube gives green the most levels, blue the fewest.
  if (colours == kPaletteCubeColours) return {5, 8, 6};
  int base = 1;
  while ((base + 1) * (base + 1) * (base + 1) <= colours) ++base;
  if (base < 2) return {0, 0, 0};
  std::array<int, 3> levels = {base, base, base};
  int total = base * base * base;
  // One pass, green first, then red, then blue; stop at the first that cannot grow.
  for (int c : {kGreen, kRed, kBlue}) {
    int grown = total / levels[c] * (levels[c] + 1);
    if (grown > colours) break;
    total = grown;
    ++levels[c];
  }
  return levels;
}

ColourCube::ColourCube(int colours, int mode, int width)
    : mode_(mode), width_(width), errors_(mode == kCubeFloydSteinberg && width > 0 ? width : 0) {
  if (width < 1 || mode < kCubeNone || mode > kCubeOrdered5Bit24) return;
  if (colours >= 8 && colours <= kMaxColours) levels_ = cubeLevels(colours);
  bool cube = levels_[0] > 0;
  if (!cube && mode <= kCubeFloydSteinberg) return;
  valid_ = true;
  if (cube) buildTables();
  if (mode == kCubeOrdered555 || mode == kCubeOrdered5Bit24) {
    fiveBit_.resize(64 * 256);
    for (int m = 0; m < 64; ++m)
      for (int v = 0; v < 256; ++v) fiveBit_[m * 256 + v] = static_cast<std::uint8_t>(fiveBitValue(m, v));
  }
}

void ColourCube::buildTables() {
  colourCount_ = levels_[0] * levels_[1] * levels_[2];
  // Blue is the most significant digit of an index, red the least.
  strides_ = {levels_[1] * levels_[2], levels_[2], 1};
  for (int c = 0; c < 3; ++c) {
    int n = levels_[c];
    levelValues_[c].resize(n);
    for (int k = 0; k < n; ++k) levelValues_[c][k] = static_cast<std::uint8_t>(levelValue(k, n));
    indexOf_[c].resize(256 + 2 * kMargin);
    nearest_[c].resize(256);
    int k = 0;
    for (int v = 0; v < 256; ++v) {
      while (v > levelUpperBound(k, n)) ++k;
      indexOf_[c][v + kMargin] = static_cast<std::uint8_t>(k * strides_[c]);
      nearest_[c][v] = levelValues_[c][k];
    }
    // Values pushed out of range by dithering clamp to the end levels.
    for (int i = 0; i < kMargin; ++i) {
      indexOf_[c][i] = indexOf_[c][kMargin];
      indexOf_[c][256 + kMargin + i] = indexOf_[c][255 + kMargin];
    }
  }
  if (mode_ != kCubeOrdered) return;
  ordered_.resize(8 * 8 * 3 * 256);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      for (int c = 0; c < 3; ++c) {
        int offset = orderedOffset(kDitherMatrix[y][x], levels_[c]);
        std::uint8_t* entry = &ordered_[((y * 8 + x) * 3 + c) * 256];
        for (int v = 0; v < 256; ++v) entry[v] = indexOf_[c][v + offset + kMargin];
      }
}

int ColourCube::palette(RgbTriple* out) const {
  if (!out) return 0;
  for (int i = 0; i < colourCount_; ++i) {
    int b = i / strides_[kBlue], g = i / strides_[kGreen] % levels_[kGreen], r = i % levels_[kRed];
    out[i] = RgbTriple{levelValues_[kRed][r], levelValues_[kGreen][g], levelValues_[kBlue][b]};
  }
  return colourCount_;
}

bool ColourCube::reduceRow(const std::uint8_t* in, std::uint8_t* out, int first, int last) {
  if (!valid_ || !in || !out) return false;
  if (last == -1) last = width_ - 1;
  if (first < 0 || first > last || last >= width_) return false;
  switch (mode_) {
    case kCubeNone:
      for (int x = 0; x < width_; ++x, in += 3)
        out[x] = static_cast<std::uint8_t>(indexOf_[kBlue][in[0] + kMargin] + indexOf_[kGreen][in[1] + kMargin] +
                                           indexOf_[kRed][in[2] + kMargin]);
      break;
    case kCubeOrdered:
      reduceOrdered(in, out);
      break;
    case kCubeFloydSteinberg:
      reduceDiffused(in, out);
      break;
    default:
      reduceFiveBit(in, out, first, last);
      break;
  }
  row_ = (row_ + 1) & 7;
  return true;
}

void ColourCube::reduceOrdered(const std::uint8_t* in, std::uint8_t* out) const {
  const std::uint8_t* rowTable = &ordered_[static_cast<std::size_t>(row_) * 8 * 3 * 256];
  for (int x = 0; x < width_; ++x, in += 3) {
    const std::uint8_t* cell = rowTable + (x & 7) * 3 * 256;
    out[x] = static_cast<std::uint8_t>(cell[in[0]] + cell[256 + in[1]] + cell[512 + in[2]]);
  }
}

void ColourCube::reduceFiveBit(const std::uint8_t* in, std::uint8_t* out, int first, int last) const {
  for (int x = first; x <= last; ++x) {
    const std::uint8_t* table = &fiveBit_[kDitherMatrix[row_][x & 7] * 256];
    const std::uint8_t* pixel = in + static_cast<std::size_t>(x) * 3;
    int b = table[pixel[0]], g = table[pixel[1]], r = table[pixel[2]];
    if (mode_ == kCubeOrdered555) {
      unsigned word = static_cast<unsigned>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
      std::uint8_t* o = out + static_cast<std::size_t>(x) * 2;
      o[0] = static_cast<std::uint8_t>(word);
      o[1] = static_cast<std::uint8_t>(word >> 8);
    } else {
      std::uint8_t* o = out + static_cast<std::size_t>(x) * 3;
      o[0] = static_cast<std::uint8_t>(b);
      o[1] = static_cast<std::uint8_t>(g);
      o[2] = static_cast<std::uint8_t>(r);
    }
  }
}

void ColourCube::reduceDiffused(const std::uint8_t* in, std::uint8_t* out) {
  // Plain pointers: stores through `out` could alias the tables' owners.
  const std::uint8_t* index[3] = {&indexOf_[0][kMargin], &indexOf_[1][kMargin], &indexOf_[2][kMargin]};
  const std::uint8_t* nearest[3] = {nearest_[0].data(), nearest_[1].data(), nearest_[2].data()};
  errors_.run(in, out, [](int error) { return error; },
              [&index, &nearest](const int value[3], int chosen[3]) {
                chosen[0] = nearest[0][value[0]];
                chosen[1] = nearest[1][value[1]];
                chosen[2] = nearest[2][value[2]];
                return static_cast<std::uint8_t>(index[0][value[0]] + index[1][value[1]] + index[2][value[2]]);
              });
}

}  // namespace imaging::colour
