// Cost of reducing a 1536 x 1024 picture (the BASE*4 level) for display.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "imaging/colour/colour_cube.h"
#include "imaging/colour/two_pass_quantiser.h"
#include "synthetic_photo.h"

using namespace imaging::colour;

namespace {

constexpr int kWidth = 1536, kHeight = 1024;

const std::vector<std::uint8_t>& photo() {
  static const std::vector<std::uint8_t> pixels = colour_test::syntheticPhoto(kWidth, kHeight);
  return pixels;
}

const std::uint8_t* rowAt(int y) { return &photo()[static_cast<std::size_t>(y) * kWidth * 3]; }

void colourCube(benchmark::State& state) {
  int mode = static_cast<int>(state.range(0));
  std::vector<std::uint8_t> out(kWidth * 3);
  for (auto _ : state) {
    ColourCube cube(mode == kCubeOrdered555 || mode == kCubeOrdered5Bit24 ? 0 : 240, mode, kWidth);
    for (int y = 0; y < kHeight; ++y) cube.reduceRow(rowAt(y), out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(colourCube)->DenseRange(kCubeNone, kCubeOrdered5Bit24)->Unit(benchmark::kMillisecond);

// Pass 1 alone: counting every row into the histogram.
void twoPassCount(benchmark::State& state) {
  for (auto _ : state) {
    TwoPassQuantiser q(236, false, kWidth);
    for (int y = 0; y < kHeight; ++y) q.countRow(rowAt(y));
    benchmark::DoNotOptimize(&q);
  }
}
BENCHMARK(twoPassCount)->Unit(benchmark::kMillisecond);

// The whole two-pass reduction: count, choose colours, map every row.
void twoPassWhole(benchmark::State& state) {
  bool diffusion = state.range(0) != 0;
  std::vector<std::uint8_t> out(kWidth);
  for (auto _ : state) {
    TwoPassQuantiser q(236, diffusion, kWidth);
    for (int y = 0; y < kHeight; ++y) q.countRow(rowAt(y));
    q.chooseColours();
    for (int y = 0; y < kHeight; ++y) q.mapRow(rowAt(y), out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(twoPassWhole)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
