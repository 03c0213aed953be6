// Movable, zero-filled memory blocks that carry thumbnail bitmaps from the
// loader thread to the user interface (global memory on Windows).
#pragma once
#include <cstddef>

using PcdBlock = void*;

// A zero-filled block of size bytes, locked at `memory`; null on failure.
PcdBlock PcdAllocBlock(std::size_t size, void*& memory);
void PcdUnlockBlock(PcdBlock block);
void* PcdLockBlock(PcdBlock block);
void PcdFreeBlock(PcdBlock block);
