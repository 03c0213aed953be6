// decodebench: times the 16BASE decode of one image pack through the image
// reader into a 24-bit bitmap, as the viewer and export decode it.
// Usage: decodebench PACK [RUNS] [--threads N] [--scalar] [--write FILE.bmp];
// prints each run and the median in ms. Two threads by default; --scalar uses
// the portable kernels; --write keeps the last decode as a bitmap file, with
// what it went around on standard error (scripts/bench-damage).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "imagefile/bmp_writer.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "photocd/sample_kernels.h"

namespace {

bool WriteBitmap(imagefile::ImageReader& reader, const std::string& path) {
  imagefile::BmpWriter writer;
  writer.setOutput(path);
  if (writer.setSource(reader.dibSection()) != 0 || writer.open() != 0) return false;
  const bool written = writer.writeRows(writer.source().height) == 0;
  return writer.close() == 0 && written;
}

bool DecodeOnce(const char* path, int threads, const std::string& output) {
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.displayDepth = 24;  // a 24-bit bitmap of the whole level, no colour reduction
  request.threads = threads;
  request.keepFullBitmap = !output.empty();
  if (!reader.beginDecode(request)) return false;
  while (reader.progress() < 10000)
    if (reader.step(256) != 1) return false;
  reader.finish(false);
  for (const std::string& line : reader.damage().details) std::fprintf(stderr, "%s\n", line.c_str());
  if (!output.empty() && !WriteBitmap(reader, output)) return false;
  return reader.width() == 3072 || reader.width() == 2048;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: decodebench PACK [RUNS] [--threads N] [--scalar]\n");
    return 2;
  }
  int runs = 10, threads = 2;
  std::string output;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--threads" && i + 1 < argc)
      threads = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--write" && i + 1 < argc)
      output = argv[++i];
    else if (arg == "--scalar")
      PcdUseVectorKernels(false);
    else
      runs = std::max(1, std::atoi(argv[i]));
  }
  g_requestedPcdLevel = 5;
  std::vector<double> ms;
  const std::clock_t cpuStart = std::clock();
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!DecodeOnce(argv[1], threads, output)) {
      std::fprintf(stderr, "decodebench: %s does not decode at 16BASE\n", argv[1]);
      return 1;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  for (double m : ms) std::printf("run %.1f ms\n", m);
  std::printf("cpu %.1f ms per run, all threads\n", 1000.0 * (std::clock() - cpuStart) / CLOCKS_PER_SEC / runs);
  std::sort(ms.begin(), ms.end());
  std::printf("median %.1f ms\n", ms[ms.size() / 2]);
  return 0;
}
