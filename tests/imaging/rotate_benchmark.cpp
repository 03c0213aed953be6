// A quarter turn of a 64BASE photo (6144 x 4096, 24 bits), as the viewer turns
// a decoded photo on the window's thread.
#include <benchmark/benchmark.h>

#include <vector>

#include "imaging/pixel_ops.h"

namespace {

void BM_QuarterTurnOf64Base(benchmark::State& state) {
  constexpr int kWidth = 6144, kHeight = 4096;
  const std::size_t stride = kWidth * 3, turnedStride = kHeight * 3;
  std::vector<std::uint8_t> source(stride * kHeight, 7), turned(turnedStride * kWidth);
  const imaging::PixelView from{source.data(), kWidth, kHeight, 24, stride, true};
  const imaging::PixelView to{turned.data(), kHeight, kWidth, 24, turnedStride, true};
  for (auto _ : state) {
    imaging::rotatePixels(from, to, imaging::kTurnRight);
    benchmark::DoNotOptimize(turned.data());
  }
}
BENCHMARK(BM_QuarterTurnOf64Base)->Unit(benchmark::kMillisecond);

}  // namespace
