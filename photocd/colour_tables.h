// Process-wide tables of the toolkit's colour conversion: PhotoYCC to RGB
// terms, the highlight roll-off curve and the 3-3-2 palette. All are
// computed at compile time, so both decoding threads only ever read them.
#pragma once
#include <cstdint>

namespace pcd {

// rnd(x) = trunc(x + 0.5), also for negative x.
constexpr int RoundHalfUp(double x) { return static_cast<int>(x + 0.5); }

struct ColourTables {
  std::int16_t lumaR[256], lumaG[256], lumaB[256];  // 1.3584 v
  std::int16_t chroma2R[256];                       // 1.8215 (v - 137)
  std::int16_t chroma1G[256];                       // 0.4302726 (v - 156)
  std::int16_t chroma2G[256];                       // 0.9271435 (v - 137)
  std::int16_t chroma1B[256];                       // 2.2179 (v - 156)
};

constexpr ColourTables BuildColourTables() {
  ColourTables t{};
  for (int v = 0; v < 256; ++v) {
    const auto luma = static_cast<std::int16_t>(RoundHalfUp(1.3584 * v));
    t.lumaR[v] = t.lumaG[v] = t.lumaB[v] = luma;
    t.chroma2R[v] = static_cast<std::int16_t>(RoundHalfUp(1.8215 * (v - 137)));
    t.chroma1G[v] = static_cast<std::int16_t>(RoundHalfUp(0.4302726 * (v - 156)));
    t.chroma2G[v] = static_cast<std::int16_t>(RoundHalfUp(0.9271435 * (v - 137)));
    t.chroma1B[v] = static_cast<std::int16_t>(RoundHalfUp(2.2179 * (v - 156)));
  }
  return t;
}

inline constexpr ColourTables kColourTables = BuildColourTables();

// Output curve over sums 0..511: linear-ish up to white, then a soft
// roll-off of the highlights PhotoYCC encodes above white.
extern const std::uint8_t kOutputCurve[512];

// A converted sum through the curve; sums outside 0..511 take its ends.
inline std::uint8_t CurveValue(int sum) {
  if (sum < 0) return kOutputCurve[0];
  if (sum > 511) return kOutputCurve[511];
  return kOutputCurve[sum];
}

struct Rgb {
  std::uint8_t r, g, b;
};

// The curve over every sum the tables can give (about -350 to 570), so that
// converting a pixel needs look-ups only.
constexpr int kCurveSumMin = -512;
constexpr int kCurveSumMax = 1023;
struct ExtendedCurve {
  std::uint8_t values[kCurveSumMax - kCurveSumMin + 1];
};
extern const ExtendedCurve kExtendedCurve;
inline std::uint8_t CurveOfSum(int sum) { return kExtendedCurve.values[sum - kCurveSumMin]; }

// One pixel of PhotoYCC to curve-mapped RGB.
inline Rgb YccToRgb(std::uint8_t y, std::uint8_t c1, std::uint8_t c2) {
  const ColourTables& t = kColourTables;
  return {CurveOfSum(t.lumaR[y] + t.chroma2R[c2]), CurveOfSum(t.lumaG[y] - t.chroma1G[c1] - t.chroma2G[c2]),
          CurveOfSum(t.lumaB[y] + t.chroma1B[c1])};
}

// The 256-colour palette of 8-bit output: entry i * 32 + j * 4 + k is red
// i * 36, green j * 36, blue k * 85.
constexpr Rgb PaletteEntry(int index) {
  return {static_cast<std::uint8_t>((index >> 5) * 36), static_cast<std::uint8_t>(((index >> 2) & 7) * 36),
          static_cast<std::uint8_t>((index & 3) * 85)};
}

// Palette index of a colour: red 3 bits, green 3 bits, blue 2 bits.
constexpr std::uint8_t PaletteIndex(int r, int g, int b) {
  return static_cast<std::uint8_t>((r & 0xE0) | ((g >> 5) << 2) | (b >> 6));
}

}  // namespace pcd
