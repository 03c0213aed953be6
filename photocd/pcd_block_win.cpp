#include <windows.h>

#include "pcd_block.h"

PcdBlock PcdAllocBlock(std::size_t size, void*& memory) {
  memory = nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  memory = GlobalLock(block);
  if (!memory) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

void PcdUnlockBlock(PcdBlock block) { GlobalUnlock(static_cast<HGLOBAL>(block)); }

void* PcdLockBlock(PcdBlock block) { return GlobalLock(static_cast<HGLOBAL>(block)); }

void PcdFreeBlock(PcdBlock block) {
  if (block) GlobalFree(static_cast<HGLOBAL>(block));
}
