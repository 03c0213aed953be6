#include "huffman_table.h"

#include <new>

#include "pcd_bytes.h"

namespace {

// The run table from the full lookup: codes are taken while the next one
// ends within the P bits of the index.
void BuildRuns(HuffmanTable& table) {
  const int p = table.runBits;
  const int spare = table.maxLength - p;  // lookup bits beyond the window
  const std::uint32_t mask = (1u << p) - 1;
  for (std::uint32_t v = 0; v <= mask; ++v) {
    HuffmanRun& run = table.runs[v];
    int used = 0;
    while (run.count < kPcdRunCodes) {
      const HuffmanEntry code = table.lookup[((v << used) & mask) << spare];
      if (!code.length || used + code.length > p) break;
      run.values[run.count++] = code.residual;
      used += code.length;
    }
    run.length = static_cast<std::uint8_t>(used);
  }
}

}  // namespace

PcdStatus PcdBuildHuffmanTable(const std::uint8_t* stored, std::size_t size, HuffmanTable& table) {
  if (!stored || size < 1 || size < PcdStoredTableSize(stored[0])) return kPcdBadSignature;
  const int count = stored[0] + 1;
  constexpr std::uint8_t kEndOfTable = 255;

  int entries = 0;
  int maxLength = 0;
  for (; entries < count; ++entries) {
    const std::uint8_t lengthByte = stored[1 + 4 * entries];
    if (lengthByte == kEndOfTable) break;
    if (lengthByte + 1 > kPcdMaxCodeLength) return kPcdBadSignature;
    if (lengthByte + 1 > maxLength) maxLength = lengthByte + 1;
  }
  if (entries == 0) return kPcdBadSignature;

  try {
    table.stored.assign(stored, stored + PcdStoredTableSize(stored[0]));
    table.lookup.assign(std::size_t{1} << maxLength, HuffmanEntry{0, 0});
    table.runBits = maxLength < kPcdRunBits ? maxLength : kPcdRunBits;
    table.runs.assign(std::size_t{1} << table.runBits, HuffmanRun{});
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  table.maxLength = maxLength;
  for (int e = 0; e < entries; ++e) {
    const std::uint8_t* entry = stored + 1 + 4 * e;
    const int length = entry[0] + 1;
    const std::uint32_t code = PcdBigEndian16(entry + 1) >> (16 - length);
    const std::uint32_t first = code << (maxLength - length);
    const std::uint32_t span = 1u << (maxLength - length);
    const HuffmanEntry filled{static_cast<std::int8_t>(entry[3]), static_cast<std::uint8_t>(length)};
    for (std::uint32_t i = first; i < first + span; ++i) {
      // An entry repeated exactly fills the same positions with the same
      // values; any other claim on bits already taken is a conflict.
      const HuffmanEntry taken = table.lookup[i];
      if (taken.length && (taken.length != filled.length || taken.residual != filled.residual)) return kPcdBadSignature;
      table.lookup[i] = filled;
    }
  }
  BuildRuns(table);
  return kPcdOk;
}
