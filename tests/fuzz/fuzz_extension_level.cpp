// A 64BASE extension level as hostile input: the input is INFO.IC followed by
// the bytes of data file 0 (its length in the first two bytes of the input).
#include <cstring>

#include "decode_internal.h"
#include "fuzz_files.h"
#include "image_decode.h"
#include "pcd_layout.h"

namespace {

// A class-2 pack header and an INFO.IPE that offers 64BASE.
void WriteFixedFiles(const FuzzFolder& folder) {
  std::uint8_t pack[0x1000] = {};
  std::memcpy(pack + pcd::kIpiOffset, "PCD_IPI", 7);
  pack[pcd::kIpiOffset + pcd::kIpiVersionOffset] = 1;
  pack[pcd::kAttributeOffset + pcd::kAttrRotationByte] = 0x08;
  folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", pack, sizeof pack);
  std::uint8_t ipe[64] = {};
  ipe[pcd::kIpeLevelFlagsOffset] = pcd::ExtensionLevelFlag(pcd::kLevel64Base);
  ipe[pcd::kIpeLevelRecordOffset + 3] = 32;
  folder.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE", ipe, sizeof ipe);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  static bool written = false;
  if (!written) {
    WriteFixedFiles(folder);
    written = true;
  }
  if (size < 2) return 0;
  std::size_t infoSize = static_cast<std::size_t>(data[0] << 8 | data[1]);
  if (infoSize > size - 2) infoSize = size - 2;
  folder.Write("PHOTO_CD/IPE/IMG0001/64BASE/INFO.IC", data + 2, infoSize);
  folder.Write("PHOTO_CD/IPE/IMG0001/64BASE/Y0001.ICR", data + 2 + infoSize, size - 2 - infoSize);

  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(folder.Join("PHOTO_CD/IMAGES/IMG0001.PCD").c_str(), pack) != kPcdOk) return 0;
  std::uint8_t flags[2];
  PcdGetExtensionFlags(pack, flags);
  ExtensionLevel* level = nullptr;
  if (PcdOpenExtensionLevel(*pack, pcd::kLevel64Base, level) == kPcdOk) {
    for (int plane = 0; plane < 3; ++plane)
      for (int row : {0, 1, 2, 64, 4095}) {
        const std::int8_t* values = nullptr;
        PcdExtensionResidualRow(*pack, pcd::kLevel64Base, plane, row, values);
      }
  }
  PcdCloseImagePack(pack);
  return 0;
}
