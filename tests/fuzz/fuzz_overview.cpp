// An overview pack as hostile input: open, select and make every kind of
// thumbnail bitmap.
#include "fuzz_files.h"
#include "overview_pack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  std::string path = folder.Write("PHOTO_CD/OVERVIEW.PCD", data, size);
  OverviewPack* overview = nullptr;
  if (PcdOpenOverview(path.c_str(), overview) != kPcdOk) return 0;
  std::uint16_t count = 0;
  PcdGetPhotoCount(overview, count);
  for (int n = 0; n <= count + 1 && n < 4; ++n) {
    if (PcdSelectPhoto(overview, n) != kPcdOk) continue;
    for (int format = 10; format <= 13; ++format) {
      PcdSetFormat(overview, format);
      PcdSetThumbnailLevel(overview, format & 1);
      PcdBlock block = nullptr;
      if (PcdMakeThumbnailBitmap(overview, block) == kPcdOk) PcdFreeBlock(block);
    }
  }
  PcdCloseOverview(overview);
  return 0;
}
