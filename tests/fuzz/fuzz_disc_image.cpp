// Disc images as hostile input. The first byte picks the form: even, the rest
// is an .iso; odd, the rest is a cue sheet, a zero byte and the .bin it names
// (with bit 1 set the .bin is opened alone). Every folder is walked a few
// levels deep (so looping folders end) and every file read.
#include <algorithm>
#include <memory>
#include <vector>

#include "disc_image.h"
#include "disc_info.h"
#include "fuzz_files.h"

namespace {

void Walk(pcdimage::DiscImage& image, const pcdimage::DirectoryEntry& folder, int depth, int& budget) {
  std::vector<pcdimage::DirectoryEntry> entries;
  std::string why;
  if (depth > 3 || image.List(folder, entries, why) != kPcdOk) return;
  static std::vector<std::uint8_t> buffer(1 << 16);
  for (const pcdimage::DirectoryEntry& entry : entries) {
    if (--budget < 0) return;
    if (entry.directory) {
      Walk(image, entry, depth + 1, budget);
      continue;
    }
    std::uint32_t got = 0;
    image.Read(entry, 0, buffer.data(), static_cast<std::uint32_t>(buffer.size()), got);
    image.Read(entry, entry.size > 3000 ? entry.size - 3000 : 0, buffer.data(), 5000, got);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  if (size < 1) return 0;
  std::string path;
  if (data[0] & 1) {
    const std::uint8_t* end = data + size;
    const std::uint8_t* zero = std::find(data + 1, end, 0);
    std::string cue = folder.Write("disc.cue", data + 1, static_cast<std::size_t>(zero - data - 1));
    std::string bin = folder.Write("disc.bin", zero == end ? end : zero + 1, zero == end ? 0 : end - zero - 1);
    path = data[0] & 2 ? bin : cue;
  } else {
    path = folder.Write("disc.iso", data + 1, size - 1);
  }
  std::unique_ptr<pcdimage::DiscImage> image;
  std::string why;
  if (pcdimage::DiscImage::Open(path, image, why) == kPcdOk) {
    pcdimage::DirectoryEntry root;
    int budget = 200;
    if (image->Find("", root, why) == kPcdOk) Walk(*image, root, 0, budget);
  }
  // The same through the file layer, as the decoder meets it.
  DiscInfo info{};
  PcdReadDiscInfo((path + "/PHOTO_CD/INFO.PCD").c_str(), info);
  return 0;
}
