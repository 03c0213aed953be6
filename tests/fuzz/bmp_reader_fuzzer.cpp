// Feeds arbitrary bytes through the image reader: identification, the BMP
// and Photo CD format modules (a memory source reads Photo CD base levels
// from the bytes alone) and the output stage, at two boxes and display depths.
#include <cstddef>
#include <cstdint>

#include "imagefile/image_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (int depth : {24, 8}) {
    imagefile::ImageReader reader;
    reader.open(data, size);
    reader.width();
    imagefile::DecodeRequest request;
    request.displayDepth = depth;
    request.targetWidth = depth == 8 ? 7 : 0;
    request.targetHeight = depth == 8 ? 5 : 0;
    request.keepFullBitmap = true;
    request.gamma = 1.7;
    if (!reader.beginDecode(request)) continue;
    for (int guard = 0; guard < 100000 && reader.progress() < 10000; ++guard)
      if (reader.step(64) != 1) break;
    reader.finish(true);
    reader.rotate(imaging::kTurnRight);
  }
  return 0;
}
