// Speed of the decoder: one 16BASE photo in the 16-row bands the image
// reader asks for (with one thread and with two), BASE through the image
// reader, every thumbnail of a 100-photo overview pack, and the colour
// conversion's scalar and SSE2 kernels.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "image_decode.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "overview_pack.h"
#include "pcd_test_files.h"
#include "sample_kernels.h"
#include "test_packs.h"

namespace {

// The authored sample disc when it has been built, else a pack of our own.
std::string SixteenBasePack(const TempDir& dir) {
  const std::string sample = LUMIVEXA_SOURCE_DIR "/build/sample-disc/PHOTO_CD/IMAGES/IMG0001.PCD";
  if (std::filesystem::exists(sample)) return sample;
  return dir.Write("IMG0001.PCD", BuildPack(PackRecipe{}).file);
}

ImagePack* Open16Base(const TempDir& dir, benchmark::State& state) {
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(SixteenBasePack(dir).c_str(), pack) == kPcdOk && PcdSetResolution(pack, 5) == kPcdOk) return pack;
  PcdCloseImagePack(pack);
  state.SkipWithError("no 16BASE pack");
  return nullptr;
}

void Decode16BaseInBands(benchmark::State& state) {
  TempDir dir;
  ImagePack* pack = Open16Base(dir, state);
  if (!pack) return;
  PcdSetDecodeThreads(pack, static_cast<int>(state.range(0)));
  const int width = pack->outputWidth, height = pack->outputHeight;
  std::vector<std::uint8_t> band(static_cast<std::size_t>(width) * 3 * 16);
  for (auto _ : state) {
    for (int top = 0; top < height; top += 16) {
      const OutputRect rect{static_cast<std::int16_t>(top), 0, static_cast<std::int16_t>(top + 16),
                            static_cast<std::int16_t>(width)};
      if (PcdReadRect(pack, &rect, band.data(), 3 * width) != kPcdOk) state.SkipWithError("decode failed");
    }
    benchmark::DoNotOptimize(band.data());
  }
  PcdCloseImagePack(pack);
}
BENCHMARK(Decode16BaseInBands)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void Decode16BaseWhole(benchmark::State& state) {
  TempDir dir;
  ImagePack* pack = Open16Base(dir, state);
  if (!pack) return;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pack->outputWidth) * 3 * pack->outputHeight);
  for (auto _ : state)
    if (PcdReadRect(pack, nullptr, pixels.data(), 3 * pack->outputWidth) != kPcdOk) state.SkipWithError("decode failed");
  PcdCloseImagePack(pack);
}
BENCHMARK(Decode16BaseWhole)->Unit(benchmark::kMillisecond);

// The viewer's and export's road: the image reader into a 24-bit bitmap, at
// a level (3 BASE, from the file through the reader's own colour tables; 5
// 16BASE, through the toolkit) whose width is known.
void DecodeThroughImageReader(benchmark::State& state, int level, int width) {
  TempDir dir;
  const std::string path = SixteenBasePack(dir);
  g_requestedPcdLevel = level;
  for (auto _ : state) {
    imagefile::ImageReader reader;
    reader.open(path);
    imagefile::DecodeRequest request;
    request.displayDepth = 24;
    bool ok = reader.beginDecode(request);
    while (ok && reader.progress() < 10000) ok = reader.step(256) == 1;
    if (!ok || reader.width() != width) state.SkipWithError("decode failed");
  }
}
void Decode16BaseThroughImageReader(benchmark::State& state) { DecodeThroughImageReader(state, 5, 3072); }
BENCHMARK(Decode16BaseThroughImageReader)->Unit(benchmark::kMillisecond);
void DecodeBaseThroughImageReader(benchmark::State& state) { DecodeThroughImageReader(state, 3, 768); }
BENCHMARK(DecodeBaseThroughImageReader)->Unit(benchmark::kMillisecond);

void HundredThumbnails(benchmark::State& state) {
  TempDir dir;
  const std::string path = dir.Write("OVERVIEW.PCD", OverviewBytes(100, Bytes(100, 0)));
  OverviewPack* overview = nullptr;
  if (PcdOpenOverview(path.c_str(), overview) != kPcdOk) {
    state.SkipWithError("no overview");
    return;
  }
  for (auto _ : state) {
    for (int n = 1; n <= 100; ++n) {
      PcdBlock block = nullptr;
      if (PcdSelectPhoto(overview, n) != kPcdOk || PcdMakeThumbnailBitmap(overview, block) != kPcdOk)
        state.SkipWithError("thumbnail failed");
      PcdFreeBlock(block);
    }
  }
  PcdCloseOverview(overview);
}
BENCHMARK(HundredThumbnails)->Unit(benchmark::kMillisecond);

// One 16BASE picture's worth of pixels (6.3 million) through the colour
// conversion: scalar kernels (0) or SSE2 (1).
void ColourConversion(benchmark::State& state) {
  const PcdSampleKernels* kernels = state.range(0) ? kPcdSse2Kernels : &kPcdScalarKernels;
  if (!kernels) {
    state.SkipWithError("no SSE2");
    return;
  }
  constexpr int kWidth = 3072;
  std::vector<std::uint8_t> y(kWidth), c1(kWidth), c2(kWidth), bgr(3 * kWidth);
  for (int x = 0; x < kWidth; ++x) {
    y[x] = static_cast<std::uint8_t>(x * 7);
    c1[x] = static_cast<std::uint8_t>(100 + x % 100);
    c2[x] = static_cast<std::uint8_t>(180 - x % 90);
  }
  for (auto _ : state) {
    for (int row = 0; row < 2048; ++row) kernels->yccToBgr(y.data(), c1.data(), c2.data(), kWidth, bgr.data());
    benchmark::DoNotOptimize(bgr.data());
  }
}
BENCHMARK(ColourConversion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
