// Process-wide sharing of code tables: packs of one disc mostly carry the
// same tables, so a table identical to one in use is not built again.
#pragma once
#include <cstddef>
#include <cstdint>

#include "huffman_table.h"

// The table built from the stored bytes, shared with a use count.
// PcdBuildHuffmanTable's statuses.
PcdStatus PcdAcquireCodeTable(const std::uint8_t* stored, std::size_t size, const HuffmanTable*& table);

// Drops one use; the last user frees the table. Null is ignored.
void PcdReleaseCodeTable(const HuffmanTable* table);

// Tables currently held, for tests.
std::size_t PcdCachedCodeTableCount();
