// Reading a photo from a disc image against reading it from the folder: the
// whole pack opened and decoded at 16BASE by the toolkit, and at BASE
// through the image reader (where opening the image weighs most).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image_decode.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"

namespace {

const std::string kSample = LUMIVEXA_SOURCE_DIR "/build/sample-disc";
const char* const kRoots[] = {"", ".iso", ".cue"};  // the folder, the .iso, the raw image with Form 2 sectors

std::string Pack(const benchmark::State& state) { return kSample + kRoots[state.range(0)] + "/PHOTO_CD/IMAGES/IMG0001.PCD"; }

void Decode16Base(benchmark::State& state) {
  if (!std::filesystem::exists(kSample + ".cue")) return state.SkipWithError("sample disc images not built");
  std::vector<std::uint8_t> pixels(3072 * 3 * 2048);
  for (auto _ : state) {
    ImagePack* pack = nullptr;
    if (PcdOpenImagePack(Pack(state).c_str(), pack) != kPcdOk || PcdSetResolution(pack, 5) != kPcdOk ||
        PcdReadRect(pack, nullptr, pixels.data(), 3 * pack->outputWidth) != kPcdOk)
      state.SkipWithError("decode failed");
    PcdCloseImagePack(pack);
  }
}
BENCHMARK(Decode16Base)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void ReadBaseThroughReader(benchmark::State& state) {
  if (!std::filesystem::exists(kSample + ".cue")) return state.SkipWithError("sample disc images not built");
  g_requestedPcdLevel = 3;
  for (auto _ : state) {
    imagefile::ImageReader reader;
    reader.open(Pack(state));
    imagefile::DecodeRequest request;
    request.displayDepth = 24;
    request.makeDisplayBitmap = false;
    request.keepFullBitmap = true;
    bool ok = reader.beginDecode(request);
    while (ok && reader.progress() < 10000) ok = reader.step(64) == 1;
    if (!ok) state.SkipWithError("decode failed");
    reader.finish(true);
  }
}
BENCHMARK(ReadBaseThroughReader)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
