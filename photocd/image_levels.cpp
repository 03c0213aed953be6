// Resolution levels of an image pack: which are available, their sizes and
// the current one.
#include "image_pack.h"
#include "pcd_layout.h"

PcdStatus PcdGetResolutionMask(const ImagePack* pack, std::uint16_t& mask, int& count) {
  mask = 0;
  count = 0;
  if (!pack) return kPcdInvalidArgument;
  const std::uint8_t flags = pack->extension ? pack->extension->levelFlags : 0;
  mask = 0x0F;  // BASE/64 to BASE are always there
  count = 4;
  // Each further level counts only when every level below it is available.
  for (int level = pcd::kLevel4Base; level <= 8; ++level) {
    bool own = level <= pack->highestOwnLevel;
    if (!own && !(flags & pcd::ExtensionLevelFlag(level))) break;
    mask = static_cast<std::uint16_t>(mask | (1u << level));
    ++count;
  }
  return kPcdOk;
}

PcdStatus PcdGetLevelSize(int level, int& width, int& height) {
  width = height = 0;
  if (level < 0 || level > pcd::kMaxLevel) return kPcdInvalidArgument;
  width = pcd::LevelWidth(level);
  height = pcd::LevelHeight(level);
  return kPcdOk;
}

PcdStatus PcdSetResolution(ImagePack* pack, int level) {
  int width = 0, height = 0;
  if (!pack || PcdGetLevelSize(level, width, height) != kPcdOk) return kPcdInvalidArgument;
  if (pack->orientation & kOrientationSwapsAxes) {
    int stored = width;
    width = height;
    height = stored;
  }
  pack->level = level;
  pack->outputWidth = width;
  pack->outputHeight = height;
  pack->rect = {0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
  return kPcdOk;
}
