#include <gtest/gtest.h>

#include <cmath>

#include "pcd_upsample.h"
#include "ycc.h"

namespace pcdmake {
namespace {

std::uint8_t Code(float v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

TEST(Ycc, RoundTripThroughTheToolkitConversionIsClose) {
  int worst = 0;
  long total = 0, count = 0;
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        const YccSample s = RgbToYcc(r, g, b);
        if (s.y < 0 || s.y > 255 || s.c1 < 0 || s.c1 > 255 || s.c2 < 0 || s.c2 > 255) continue;  // outside the codes
        std::uint8_t out[3];
        YccToRgb(Code(s.y), Code(s.c1), Code(s.c2), out);
        for (int c = 0; c < 3; ++c) {
          const int d = std::abs(out[c] - (c == 0 ? r : c == 1 ? g : b));
          worst = std::max(worst, d);
          total += d;
          ++count;
        }
      }
  EXPECT_GT(count, 3 * 2000);
  EXPECT_LE(worst, 4);
  EXPECT_LT(static_cast<double>(total) / count, 1.0);
}

TEST(Ycc, GreysHaveCentredChromaAndKnownEnds) {
  for (int v : {0, 60, 128, 200, 255}) {
    const YccSample s = RgbToYcc(v, v, v);
    EXPECT_EQ(Code(s.c1), 156);
    EXPECT_EQ(Code(s.c2), 137);
  }
  std::uint8_t out[3];
  YccToRgb(0, 156, 137, out);  // the darkest code gives the curve's first value
  EXPECT_EQ(out[0], 2);
  YccToRgb(Code(RgbToYcc(255, 255, 255).y), 156, 137, out);
  EXPECT_EQ(out[1], 255);
}

TEST(Enlarge, TwoTimesRoundsAndRepeatsEdges) {
  const std::uint8_t src[6] = {10, 21, 40,  //
                               30, 50, 70};
  std::uint8_t dst[24];
  PcdEnlarge2x(src, 3, 2, dst);
  const std::uint8_t expect[24] = {10, 16, 21, 31, 40, 40,   // (10+21+1)>>1 = 16
                                   20, 28, 36, 45, 55, 55,   // (10+21+30+50+2)>>2 = 28
                                   30, 40, 50, 60, 70, 70,
                                   30, 40, 50, 60, 70, 70};  // last row repeated
  for (int i = 0; i < 24; ++i) EXPECT_EQ(dst[i], expect[i]) << "sample " << i;
}

TEST(Enlarge, FourTimesUsesBilinearWeights) {
  const std::uint8_t src[4] = {0, 100, 200, 40};
  std::uint8_t dst[64];
  PcdEnlarge4x(src, 2, 2, dst);
  EXPECT_EQ(dst[0], 0);
  EXPECT_EQ(dst[1], 25);   // (3a + b + 2) >> 2
  EXPECT_EQ(dst[2], 50);   // (a + b + 1) >> 1
  EXPECT_EQ(dst[3], 75);
  EXPECT_EQ(dst[2 * 8 + 2], 85);  // centre: (a + b + c + d + 2) >> 2
  EXPECT_EQ(dst[4], 100);  // past the last column the last value stands
  EXPECT_EQ(dst[7 * 8 + 0], 200);
}

}  // namespace
}  // namespace pcdmake
