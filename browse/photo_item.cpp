#include "browse/photo_item.h"

namespace browse {

void NominalPhotoSize(int orientation, std::uint16_t& width, std::uint16_t& height) {
  bool quarterTurn = orientation >= 4 && orientation <= 7;
  width = quarterTurn ? 2048 : 3072;
  height = quarterTurn ? 3072 : 2048;
}

std::uint64_t PhotoDate(std::uint64_t localEpoch, std::uint32_t seconds) {
  return localEpoch + static_cast<std::uint64_t>(seconds) * 10000000u;
}

PhotoItem::~PhotoItem() {
  delete thumbnail.load();
  if (block) {
    PcdUnlockBlock(block);
    PcdFreeBlock(block);
  }
}

}  // namespace browse
