// decodebench: times the 16BASE decode of one image pack through the image
// reader into a 24-bit bitmap, as the viewer and export decode it.
// Usage: decodebench PACK [RUNS]; prints each run and the median in ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"

namespace {

bool DecodeOnce(const char* path) {
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.displayDepth = 24;  // a 24-bit bitmap of the whole level, no colour reduction
  if (!reader.beginDecode(request)) return false;
  while (reader.progress() < 10000)
    if (reader.step(256) != 1) return false;
  reader.finish(false);
  return reader.width() == 3072 || reader.width() == 2048;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: decodebench PACK [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  g_requestedPcdLevel = 5;
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!DecodeOnce(argv[1])) {
      std::fprintf(stderr, "decodebench: %s does not decode at 16BASE\n", argv[1]);
      return 1;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  for (double m : ms) std::printf("run %.1f ms\n", m);
  std::sort(ms.begin(), ms.end());
  std::printf("median %.1f ms\n", ms[ms.size() / 2]);
  return 0;
}
