#include "ycc.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pcdmake {
namespace {

// The toolkit's output curve from linear sums 0..511 to display bytes.
constexpr std::uint8_t kOutputCurve[328] = {
    2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33,
    34, 35, 36, 37, 38, 39, 40, 41, 42, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63,
    64, 65, 66, 67, 68, 68, 69, 70, 71, 72, 73, 74, 74, 75, 76, 77, 78, 79, 80, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 90, 91,
    92, 93, 94, 95, 96, 97, 98, 98, 99, 100, 101, 102, 103, 104, 105, 106, 106, 107, 108, 109, 110, 111, 112, 113, 113, 114, 115, 116, 117, 118, 119, 119,
    120, 121, 122, 123, 124, 125, 126, 126, 127, 128, 129, 130, 131, 132, 132, 133, 134, 135, 136, 137, 138, 139, 139, 140, 141, 142, 143, 144, 145, 145, 146, 147,
    148, 149, 150, 151, 152, 152, 153, 154, 155, 156, 157, 158, 158, 159, 160, 161, 162, 163, 164, 164, 165, 166, 167, 168, 169, 170, 170, 171, 172, 173, 174, 175,
    176, 176, 177, 178, 179, 180, 181, 182, 182, 183, 184, 185, 186, 187, 188, 188, 189, 190, 191, 192, 193, 194, 195, 195, 196, 197, 198, 199, 200, 201, 202, 202,
    203, 204, 205, 206, 207, 208, 208, 209, 210, 211, 212, 213, 214, 214, 215, 216, 217, 218, 219, 219, 220, 221, 222, 223, 224, 224, 225, 226, 227, 227, 228, 229,
    230, 230, 231, 232, 233, 234, 234, 235, 235, 236, 237, 237, 238, 239, 239, 240, 240, 241, 242, 242, 243, 243, 244, 244, 245, 245, 245, 246, 246, 247, 247, 247,
    248, 248, 249, 249, 249, 250, 250, 250, 250, 251, 251, 251, 251, 251, 252, 252, 252, 252, 252, 252, 253, 253, 253, 253, 253, 253, 253, 253, 254, 254, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254};  // 328 and above: 255

int Curve(int sum) { return sum < 0 ? kOutputCurve[0] : sum >= 328 ? 255 : kOutputCurve[sum]; }

constexpr double kLuma = 1.3584, kC2R = 1.8215, kC1G = 0.4302726, kC2G = 0.9271435, kC1B = 2.2179;
constexpr int kC1Centre = 156, kC2Centre = 137;
constexpr double kWhiteSum = 332;  // a little inside the run of sums that give 255

int Rnd(double x) { return static_cast<int>(std::trunc(x + 0.5)); }

// Linear sum that the curve maps to each display byte: the middle of the run
// of sums giving that byte, halfway between neighbours when no sum gives it,
// extrapolated below the curve's first value.
std::array<double, 256> BuildCurveInverse() {
  std::array<double, 256> inverse{};
  for (int v = 0; v < 256; ++v) {
    int first = -1, last = -1;
    for (int s = 0; s < 328; ++s)
      if (kOutputCurve[s] == v) { if (first < 0) first = s; last = s; }
    if (v == 255) {
      inverse[v] = kWhiteSum;
    } else if (first >= 0) {
      inverse[v] = (first + last) / 2.0;
    } else if (v < kOutputCurve[0]) {
      inverse[v] = v - kOutputCurve[0];
    } else {
      int below = 0;
      while (below + 1 < 328 && kOutputCurve[below + 1] < v) ++below;
      inverse[v] = below + 0.5;
    }
  }
  return inverse;
}

const std::array<double, 256>& CurveInverse() {
  static const std::array<double, 256> inverse = BuildCurveInverse();
  return inverse;
}

std::uint8_t ToCode(float v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

YccSample RgbToYcc(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const auto& inv = CurveInverse();
  const double sr = inv[r], sg = inv[g], sb = inv[b];
  // sr = L + kC2R·c2', sb = L + kC1B·c1', sg = L - kC1G·c1' - kC2G·c2' with L = kLuma·y.
  const double kb = kC1G / kC1B, kr = kC2G / kC2R;
  const double lum = (sg + kb * sb + kr * sr) / (1 + kb + kr);
  return {static_cast<float>(lum / kLuma), static_cast<float>(kC1Centre + (sb - lum) / kC1B),
          static_cast<float>(kC2Centre + (sr - lum) / kC2R)};
}

void YccToRgb(std::uint8_t y, std::uint8_t c1, std::uint8_t c2, std::uint8_t rgb[3]) {
  const int lum = Rnd(kLuma * y);
  rgb[0] = static_cast<std::uint8_t>(Curve(lum + Rnd(kC2R * (c2 - kC2Centre))));
  rgb[1] = static_cast<std::uint8_t>(Curve(lum - Rnd(kC1G * (c1 - kC1Centre)) - Rnd(kC2G * (c2 - kC2Centre))));
  rgb[2] = static_cast<std::uint8_t>(Curve(lum + Rnd(kC1B * (c1 - kC1Centre))));
}

YccPlanes ConvertToYcc(const RgbImage& image) {
  YccPlanes out{Plane(image.width, image.height), Plane(image.width, image.height), Plane(image.width, image.height)};
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* ly = out.luma.Row(y);
    std::uint8_t* c1 = out.c1.Row(y);
    std::uint8_t* c2 = out.c2.Row(y);
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      const YccSample s = RgbToYcc(p[0], p[1], p[2]);
      ly[x] = ToCode(s.y);
      c1[x] = ToCode(s.c1);
      c2[x] = ToCode(s.c2);
    }
  }
  return out;
}

}  // namespace pcdmake
