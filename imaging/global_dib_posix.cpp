// Global memory blocks natively: a heap block with a lock count.
#include <cstdlib>
#include <new>

#include "imaging/global_dib.h"

namespace imaging {

struct GlobalBlockObject {
  std::uint8_t* data = nullptr;
  std::size_t size = 0;
  int locks = 0;
};

GlobalHandle allocGlobalDib(int width, int height, int bitCount, bool displayPalette) {
  GlobalDibLayout layout = globalDibLayout(width, height, bitCount, displayPalette);
  if (layout.blockSize == 0) return nullptr;
  auto* block = new (std::nothrow) GlobalBlockObject;
  if (!block) return nullptr;
  block->data = static_cast<std::uint8_t*>(std::calloc(layout.blockSize, 1));
  if (!block->data) {
    delete block;
    return nullptr;
  }
  block->size = layout.blockSize;
  writeGlobalDibHeader(block->data, width, height, bitCount, displayPalette);
  return block;
}

std::uint8_t* lockGlobal(GlobalHandle block) {
  if (!block) return nullptr;
  ++block->locks;
  return block->data;
}

void unlockGlobal(GlobalHandle block) {
  if (block && block->locks > 0) --block->locks;
}

std::size_t globalSize(GlobalHandle block) { return block ? block->size : 0; }

void freeGlobalDib(GlobalHandle block) {
  if (!block) return;
  while (block->locks > 0) unlockGlobal(block);
  std::free(block->data);
  delete block;
}

}  // namespace imaging
