// INFO.IPE as hostile input, read while a valid image pack beside it opens.
#include <cstring>

#include "fuzz_files.h"
#include "image_pack.h"
#include "pcd_layout.h"

namespace {

// A minimal image pack header offering levels up to 4BASE.
std::string WritePack(const FuzzFolder& folder) {
  static std::uint8_t pack[pcd::kIpiOffset + pcd::kIpiBlockSize];
  std::memcpy(pack + pcd::kIpiOffset, pcd::kIpiSignature, 7);
  pack[pcd::kIpiOffset + pcd::kIpiVersionOffset + 1] = 5;
  pack[pcd::kAttributeOffset + pcd::kAttrRotationByte] = 0x04;
  return folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", pack, sizeof pack);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  static std::string packPath = WritePack(folder);
  folder.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE", data, size);
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(packPath.c_str(), pack) != kPcdOk) return 0;
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack, mask, count);
  // With or without the extension, the pack offers at least its own levels.
  if ((mask & 0x1F) != 0x1F) std::abort();
  PcdCloseImagePack(pack);
  return 0;
}
