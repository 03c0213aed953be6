// Opening, closing and the image information of an image pack.
#include "image_pack.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "damaged_header.h"
#include "decode_internal.h"
#include "image_attributes.h"
#include "pcd_bytes.h"
#include "pcd_layout.h"
#include "resolve_extension.h"

namespace {

PcdStatus ReadIpiBlock(PcdFile* file, std::uint8_t* block) {
  if (PcdFileSeek(file, pcd::kIpiOffset) != kPcdOk) return kPcdSeekFailed;
  std::uint32_t got = 0;
  if (PcdFileRead(file, block, pcd::kIpiBlockSize, got) != kPcdOk || got != pcd::kIpiBlockSize)
    return kPcdReadFailed;
  return kPcdOk;
}

// Frees what the handle holds except the file.
void ReleaseContents(ImagePack& pack) {
  PcdFreeDecodeState(pack);
  delete pack.extension;
  delete pack.info;
  std::free(pack.path);
  pack.path = nullptr;
  std::free(pack.rowTable4Base);
  std::free(pack.rowTable16Base);
  PcdSectorReaderFree(pack.reader);
}

PcdStatus FindExtension(const char* path, ImagePack& pack) {
  char imagePack[kPcdMaxPath];
  char folder[kPcdMaxPath];
  if (PcdResolveExtension(path, imagePack, folder) != kPcdOk || !folder[0]) return kPcdOk;
  pack.extension = new (std::nothrow) ExtensionInfo{};
  if (!pack.extension) return kPcdOutOfMemory;
  std::memcpy(pack.extension->folder, folder, sizeof folder);
  return kPcdOk;
}

bool AllZero(const std::uint8_t* bytes, std::size_t size) {
  return std::all_of(bytes, bytes + size, [](std::uint8_t b) { return b == 0; });
}

PcdStatus ReadHeader(ImagePack& pack) {
  std::uint8_t block[pcd::kIpiBlockSize];
  PcdStatus status = ReadIpiBlock(pack.file, block);
  if (status == kPcdSeekFailed) return status;
  // A header sector that does not read, reads as zeros or has lost its
  // version word is damage: the picture sectors may still hold the photo.
  const bool signature = status == kPcdOk && std::memcmp(block, pcd::kIpiSignature, std::strlen(pcd::kIpiSignature)) == 0;
  if (status != kPcdOk || AllZero(block, sizeof block) || (signature && PcdBigEndian16(block + pcd::kIpiVersionOffset) == 0)) {
    if (PcdOpenWithDamagedHeader(pack) == kPcdOk) {
      pack.headerDamaged = true;
      return kPcdOk;
    }
    if (status != kPcdOk) return status;
  }
  if (!signature) return kPcdBadSignature;
  pack.version = PcdBigEndian16(block + pcd::kIpiVersionOffset);
  if (pack.version < pcd::kMinFormatVersion) return kPcdBadVersion;

  ImageAttributes attributes;
  status = PcdParseAttributes(block + pcd::kIpiAttributeOffset, pcd::kIpiBlockSize - pcd::kIpiAttributeOffset,
                              attributes);
  if (status != kPcdOk) return status;
  pack.storedOrientation = PcdOrientationFromRotation(attributes.rotationCode);
  pack.orientation = pack.storedOrientation;
  pack.highestOwnLevel = PcdHighestOwnLevel(attributes);
  pack.attributeBits56 = attributes.bits56;
  pack.interleaveImage = attributes.imageSectors;
  pack.interleaveAudio = attributes.audioSectors;
  pack.tableSector16Base = PcdTableSector16Base(attributes);
  pack.entryOffset16Base = PcdEntryOffset16Base(attributes);
  return kPcdOk;
}

PcdStatus Build(const char* path, ImagePack& pack) {
  PcdStatus status = FindExtension(path, pack);
  if (status != kPcdOk) return status;
  pack.format = OutputFormat::Rgb24;
  pack.bytesPerPixel = 3;
  pack.componentSpacing = 1;
  status = PcdSectorReaderInit(pack.reader, pack.file);
  if (status != kPcdOk) return status;
  status = ReadHeader(pack);
  if (status != kPcdOk) return status;
  status = PcdSetResolution(&pack, pcd::kLevelBase);
  if (status != kPcdOk || !pack.extension) return status;
  char folder[kPcdMaxPath];
  std::memcpy(folder, pack.extension->folder, sizeof folder);
  status = PcdReadExtensionInfo(folder, *pack.extension);
  if (status != kPcdExtensionMismatch) return status;
  // An INFO.IPE that reads but does not fit its layout is ignored: the pack
  // still shows every level it holds itself.
  delete pack.extension;
  pack.extension = nullptr;
  return kPcdOk;
}

}  // namespace

PcdStatus PcdAttachImagePack(const char* path, PcdFile* file, ImagePack*& pack) {
  pack = nullptr;
  if (!path || !file) return kPcdInvalidArgument;
  if (!*path) return kPcdBadSignature;
  ImagePack* made = new (std::nothrow) ImagePack{};
  if (!made) return kPcdOutOfMemory;
  made->file = file;
  made->path = static_cast<char*>(std::malloc(std::strlen(path) + 1));
  if (!made->path) {
    delete made;
    return kPcdOutOfMemory;
  }
  std::strcpy(made->path, path);
  PcdStatus status = Build(path, *made);
  if (status != kPcdOk) {
    ReleaseContents(*made);
    delete made;
    return status;
  }
  pack = made;
  return kPcdOk;
}

PcdStatus PcdOpenImagePack(const char* path, ImagePack*& pack) {
  pack = nullptr;
  if (!path) return kPcdInvalidArgument;
  if (!*path) return kPcdBadSignature;
  PcdFile* file = nullptr;
  PcdStatus status = PcdFileOpen(path, file);
  if (status != kPcdOk) return status;
  status = PcdAttachImagePack(path, file, pack);
  if (status != kPcdOk) PcdFileClose(file);
  return status;
}

PcdStatus PcdCloseImagePack(ImagePack* pack) {
  if (!pack) return kPcdInvalidArgument;
  ReleaseContents(*pack);
  PcdStatus status = PcdFileClose(pack->file);
  delete pack;
  return status;
}

PcdStatus PcdGetImageInfo(ImagePack* pack, ImagePackInfo& info) {
  if (!pack) return kPcdInvalidArgument;
  if (!pack->info) {
    auto* block = static_cast<std::uint8_t*>(std::malloc(pcd::kIpiBlockSize));
    if (!block) return kPcdOutOfMemory;
    ImagePackInfo* read = new (std::nothrow) ImagePackInfo{};
    PcdStatus status = kPcdOutOfMemory;
    if (read) status = ReadIpiBlock(pack->file, block);
    if (status == kPcdOk) status = PcdParseImageInfo(block, pcd::kIpiBlockSize, *read);
    std::free(block);
    if (status != kPcdOk) {
      delete read;
      return status;
    }
    pack->info = read;
  }
  info = *pack->info;
  return kPcdOk;
}
