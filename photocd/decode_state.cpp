// The decoder state an image pack keeps until it is closed, and which
// levels a pack can decode.
#include <new>

#include "code_table_cache.h"
#include "decode_internal.h"
#include "image_decode.h"
#include "pcd_layout.h"

PcdStatus PcdGetDecodeState(ImagePack& pack, DecodeState*& state) {
  if (!pack.decode) pack.decode = new (std::nothrow) DecodeState{};
  state = pack.decode;
  return state ? kPcdOk : kPcdOutOfMemory;
}

void PcdFreeDecodeState(ImagePack& pack) {
  PcdFreeRowTables(pack);
  DecodeState* state = pack.decode;
  if (!state) return;
  for (const HuffmanTable* table : state->packTables) PcdReleaseCodeTable(table);
  for (ExtensionLevel& level : state->extension) PcdCloseExtensionLevel(level);
  PcdFreeDecodeBuffers(state->buffers);
  delete state;
  pack.decode = nullptr;
}

namespace {

// Where the pack's own data of a level begins (BASE/64 is taken from BASE/16).
std::uint32_t LevelStart(const ImagePack& pack, int level) {
  switch (level) {
    case pcd::kLevelBase64:
    case pcd::kLevelBase16: return pcd::kBase16Offset;
    case pcd::kLevelBase4: return pcd::kBase4Offset;
    case pcd::kLevelBase: return pcd::kBaseOffset;
    case pcd::kLevel4Base: return pcd::k4BaseRowTableOffset;
    default: return (pack.tableSector16Base + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize;
  }
}

}  // namespace

PcdStatus PcdCheckLevelAvailable(ImagePack& pack, int level) {
  if (level < 0 || level > pcd::kMaxLevel) return kPcdInvalidArgument;
  // A level the file ends before holds nothing to show.
  std::uint32_t size = 0;
  if (level <= pack.highestOwnLevel && PcdFileSize(pack.file, size) == kPcdOk && size <= LevelStart(pack, level))
    return kPcdEndOfFile;
  for (int above = pack.highestOwnLevel + 1; above <= level; ++above) {
    if (!pack.extension || !(pack.extension->levelFlags & pcd::ExtensionLevelFlag(above))) return kPcdInvalidArgument;
    ExtensionLevel* opened = nullptr;
    PcdStatus status = PcdOpenExtensionLevel(pack, above, opened);
    if (status != kPcdOk) return status;
    if (pack.extension->levelsWithType3 & (1u << above)) return kPcdExtensionUnavailable;
  }
  return kPcdOk;
}

PcdStatus PcdCheckLevel(ImagePack* pack, int level) {
  return pack ? PcdCheckLevelAvailable(*pack, level) : PcdStatus{kPcdInvalidArgument};
}

PcdStatus PcdGetExtensionFlags(ImagePack* pack, std::uint8_t flags[2]) {
  if (!pack || !flags) return kPcdInvalidArgument;
  flags[0] = flags[1] = 0;
  if (!pack->extension) return kPcdOk;
  // Scan the extension's levels up to 4BASE for the kinds of component they hold.
  for (int level = pcd::kLevelBase16; level <= pcd::kLevel4Base; ++level) {
    if (!(pack->extension->levelFlags & pcd::ExtensionLevelFlag(level))) continue;
    ExtensionLevel* opened = nullptr;
    PcdStatus status = PcdOpenExtensionLevel(*pack, level, opened);
    if (status != kPcdOk) return status;
  }
  std::uint8_t first = pack->extension->levelsWithType3;
  // A level of another kind makes every level above it that kind too.
  for (int level = pcd::kLevelBase; level <= pcd::kLevel64Base; ++level)
    if (first & (1u << level)) {
      first = static_cast<std::uint8_t>(first | (0xFFu << level));
      break;
    }
  flags[0] = first;
  flags[1] = pack->extension->levelsWithType2;
  return kPcdOk;
}
