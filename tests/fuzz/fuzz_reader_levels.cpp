// The image reader on an image pack file as hostile input, through the
// toolkit's 4BASE and 16BASE: bands of rows, or strips of columns for
// quarter-turned photos. The first input byte picks the level (bit 0) and
// turns the photo a quarter (bit 1); the rest is the attribute block and the
// pack from the 4BASE row table on (see WriteResidualPack).
#include "imagefile/requested_level.h"
#include "fuzz_files.h"
#include "imagefile/image_reader.h"

constexpr int kSteps = 2;  // of 64 output rows

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  std::vector<std::uint8_t> rest(data + 1, data + size);
  if ((control & 2) && rest.size() > 2) rest[2] ^= 1;  // rotation code 0 <-> 1, 2 <-> 3
  const std::string path = WriteResidualPack(folder, rest.data(), rest.size());
  if (path.empty()) return 0;
  g_requestedPcdLevel = 5;
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  // The smallest level covering the box: 4BASE for 800, 16BASE for 1600.
  request.targetWidth = request.targetHeight = (control & 1) ? 1600 : 800;
  request.displayDepth = 24;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  if (!reader.beginDecode(request)) return 0;
  // The first 128 output rows cover the 72 rows of each level the seeds
  // hold; decoding the rest of the picture would only slow each input down.
  for (int guard = 0; guard < kSteps && reader.progress() < 10000; ++guard)
    if (reader.step(64) != 1) break;
  reader.finish(true);
  return 0;
}
