// Code tables of residual rows. Stored form: one byte n - 1, then n entries
// of four bytes: code length - 1, the code in the most significant bits of a
// big-endian 16-bit word, the residual as a signed byte. An entry whose
// length byte is 255 ends the table early.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pcd_status.h"

constexpr int kPcdMaxCodeLength = 16;
constexpr std::size_t kPcdMaxStoredTableSize = 1 + 4 * 256;

struct HuffmanEntry {
  std::int8_t residual;
  std::uint8_t length;  // 0: no code starts with these bits
};

constexpr int kPcdRunBits = 12;
constexpr int kPcdRunCodes = 4;

// First-level lookup by the next P = min(12, M) bits: up to four codes that
// start there one after another and end within the P bits, their values and
// total length. Short codes dominate residual rows, so most look-ups yield
// two to four samples at once, without a branch on how many.
struct HuffmanRun {
  std::int8_t values[kPcdRunCodes];
  std::uint8_t count;   // 0: the first code does not end within the P bits; use `lookup`
  std::uint8_t length;  // bits of the `count` codes
  std::uint8_t unused[2];
};

// Lookup by the next M bits (M the longest code length): the entry of code c
// of length L fills positions c << (M - L) up to the next code of that length.
struct HuffmanTable {
  int maxLength = 0;
  std::vector<HuffmanEntry> lookup;      // 1 << maxLength entries
  int runBits = 0;                       // P
  std::vector<HuffmanRun> runs;          // 1 << P entries
  std::vector<std::uint8_t> stored;      // the stored bytes it was built from
};

// Size in bytes of the stored table starting with the count byte.
inline std::size_t PcdStoredTableSize(std::uint8_t countByte) { return 1 + 4 * (std::size_t{countByte} + 1); }

// Builds the lookup from size bytes of stored table. 3000 when the table has
// no entry, a length above 16, or codes that overlap (an exact repeat of an
// entry is no overlap); 3016 for memory.
PcdStatus PcdBuildHuffmanTable(const std::uint8_t* stored, std::size_t size, HuffmanTable& table);
