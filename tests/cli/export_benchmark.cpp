// Exporting the sample disc's 16BASE photos to LZW TIFF: one photo at a time,
// two at once, and ImageMagick converting the same packs one after another;
// and drawing the disc's contact sheet.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/contact_sheet.h"
#include "cli/export_job.h"
#include "cli/image_output.h"
#include "cli/photo_inputs.h"
#include "imaging/gdi_backend.h"
#include "photocd/image_pack.h"

namespace fs = std::filesystem;

namespace {

const std::string kDisc = LUMIVEXA_SOURCE_DIR "/build/sample-disc";

// The packs that hold 16BASE (ImageMagick refuses a level a pack lacks).
std::vector<std::string> discPacks() {
  cli::DiscInput disc;
  std::string error;
  cli::findImagePacks(kDisc, disc, error);
  std::vector<std::string> packs;
  for (const std::string& path : disc.packs) {
    ImagePack* pack = nullptr;
    if (PcdOpenImagePack(path.c_str(), pack) != kPcdOk) continue;
    std::uint16_t mask = 0;
    int count = 0;
    PcdGetResolutionMask(pack, mask, count);
    if (mask & (1u << 5)) packs.push_back(path);
    PcdCloseImagePack(pack);
  }
  return packs;
}

fs::path outputFolder() {
  fs::path p = fs::temp_directory_path() / "lumivexa-export-benchmark";
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

void BM_ExportDisc16BaseLzw(benchmark::State& state) {
  std::vector<std::string> packs = discPacks();
  if (packs.empty()) return state.SkipWithError("sample disc not built");
  cli::ExportSettings settings;
  settings.folder = outputFolder().string();
  settings.format = "tif";
  settings.tiff.compression = imagefile::kTiffLzw;
  settings.decode.level = 5;
  settings.jobs = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (const cli::ExportResult& r : cli::exportPhotos(packs, settings))
      if (!r.ok) return state.SkipWithError(r.error.c_str());
  }
  state.counters["photos/s"] = benchmark::Counter(static_cast<double>(packs.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportDisc16BaseLzw)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_ImageMagickDisc16BaseLzw(benchmark::State& state) {
  std::vector<std::string> packs = discPacks();
  if (packs.empty()) return state.SkipWithError("sample disc not built");
  fs::path out = outputFolder();
  for (auto _ : state) {
    for (const std::string& pack : packs) {
      std::string command = "convert '" + pack + "[5]' -compress LZW '" + (out / "im.tif").string() + "' 2>/dev/null";
      if (std::system(command.c_str()) != 0) return state.SkipWithError("convert failed");
    }
  }
  state.counters["photos/s"] = benchmark::Counter(static_cast<double>(packs.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImageMagickDisc16BaseLzw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// A contact sheet of the sample disc (24 photos), drawn and written as PNG;
// the counter scales the time to a disc of 100.
void BM_ContactSheet(benchmark::State& state) {
  cli::DiscInput disc;
  std::string error;
  if (!cli::findImagePacks(kDisc, disc, error)) return state.SkipWithError("sample disc not built");
  cli::WriteOptions options;
  options.format = "png";
  options.fastPng = true;
  options.overwrite = true;
  const std::string sheet = (outputFolder() / "sheet.png").string();
  for (auto _ : state) {
    std::vector<std::string> problems;
    imaging::BitmapHandle bitmap = cli::makeContactSheet(disc, 6, "PHOTO CD", problems, error);
    const bool written =
        bitmap && cli::writeImageFile(bitmap, nullptr, options, sheet, error) == cli::WriteOutcome::Written;
    imaging::deleteBitmap(bitmap);
    if (!written) return state.SkipWithError(error.c_str());
  }
  state.counters["s per 100 photos"] = benchmark::Counter(static_cast<double>(disc.packs.size()) / 100.0,
                                                          benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}
BENCHMARK(BM_ContactSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
