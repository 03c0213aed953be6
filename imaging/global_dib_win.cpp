// Global memory blocks through the kernel's movable global memory.
#include <windows.h>

#include "imaging/global_dib.h"

namespace imaging {

namespace {
HGLOBAL hglobal(GlobalHandle block) { return reinterpret_cast<HGLOBAL>(block); }
}  // namespace

GlobalHandle allocGlobalDib(int width, int height, int bitCount, bool displayPalette) {
  GlobalDibLayout layout = globalDibLayout(width, height, bitCount, displayPalette);
  if (layout.blockSize == 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, layout.blockSize);
  if (!block) return nullptr;
  auto* data = static_cast<std::uint8_t*>(GlobalLock(block));
  if (!data) {
    GlobalFree(block);
    return nullptr;
  }
  writeGlobalDibHeader(data, width, height, bitCount, displayPalette);
  GlobalUnlock(block);
  return reinterpret_cast<GlobalHandle>(block);
}

std::uint8_t* lockGlobal(GlobalHandle block) {
  return block ? static_cast<std::uint8_t*>(GlobalLock(hglobal(block))) : nullptr;
}

void unlockGlobal(GlobalHandle block) {
  if (block) GlobalUnlock(hglobal(block));
}

std::size_t globalSize(GlobalHandle block) { return block ? GlobalSize(hglobal(block)) : 0; }

void freeGlobalDib(GlobalHandle block) {
  if (!block) return;
  for (UINT locks = GlobalFlags(hglobal(block)) & GMEM_LOCKCOUNT; locks > 0; --locks) GlobalUnlock(hglobal(block));
  GlobalFree(hglobal(block));
}

}  // namespace imaging
