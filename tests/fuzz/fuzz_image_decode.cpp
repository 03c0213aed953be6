// An image pack as hostile input to the decoder: every level, in bands and
// whole, in every output format. Inputs of odd length are followed by a fixed
// pattern up to the end of BASE, so that short inputs hold pictures too.
#include <vector>

#include "fuzz_files.h"
#include "image_decode.h"
#include "pcd_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  static std::uint8_t pixels[3 * 6144 * 16];
  constexpr std::size_t kBaseEnd = pcd::kBaseOffset + 768 * 512 * 3 / 2;
  std::vector<std::uint8_t> file(data, data + size);
  if (size % 2)
    for (std::size_t at = size; at < kBaseEnd; ++at) file.push_back(static_cast<std::uint8_t>(at * 7 / 5));
  std::string path = folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", file.data(), file.size());
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(path.c_str(), pack) != kPcdOk) return 0;
  for (int level = 0; level <= pcd::kMaxLevel; ++level) {
    PcdSetResolution(pack, level);
    PcdSetFormat(pack, 10 + level % 4);
    const std::int16_t width = static_cast<std::int16_t>(pack->outputWidth);
    const OutputRect top{0, 0, 16, width};
    const OutputRect odd{5, 3, 9, 40};
    PcdReadRect(pack, &top, pixels, 3 * width);
    PcdReadRect(pack, &odd, pixels, 3 * 40);
  }
  PcdCloseImagePack(pack);
  return 0;
}
