// An image pack as hostile input: open, every query of the handle, and the
// sector reader at the places the decoder will read.
#include "fuzz_files.h"
#include "image_pack.h"
#include "pcd_layout.h"

namespace {

void ReadAt(ImagePack* pack, std::uint32_t sector, std::uint32_t size) {
  static std::uint8_t buffer[4096];
  if (PcdSectorSeek(pack->reader, sector) != kPcdOk) return;
  if (PcdSectorRead(pack->reader, buffer, size) != kPcdOk) return;
  PcdSectorSkip(pack->reader, 3 * pcd::kSectorSize + 17);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  std::string path = folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", data, size);
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(path.c_str(), pack) != kPcdOk) return 0;
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack, mask, count);
  ImagePackInfo info{};
  PcdGetImageInfo(pack, info);
  for (int level = 0; level <= pcd::kMaxLevel; ++level) PcdSetResolution(pack, level);
  ReadAt(pack, pcd::k4BaseRowTableSector, pcd::k4BaseRowTableEntries * 2);
  ReadAt(pack, pack->tableSector16Base + pcd::k16BaseRowTableSectorDelta, 4096);
  ReadAt(pack, 1, 100);
  PcdCloseImagePack(pack);
  return 0;
}
