#include <cstdlib>

#include "pcd_block.h"

PcdBlock PcdAllocBlock(std::size_t size, void*& memory) {
  memory = std::calloc(1, size ? size : 1);
  return memory;
}

void PcdUnlockBlock(PcdBlock) {}

void* PcdLockBlock(PcdBlock block) { return block; }

void PcdFreeBlock(PcdBlock block) { std::free(block); }
