// Code tables for residual rows: canonical Huffman codes built from residual
// counts, limited in length and with the all-ones code held back, and the
// bit writer that lays rows out behind their syncs.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace pcdmake {

// Longest code written. With the all-ones code reserved no code is all ones,
// so a code holds at most 11 leading and 11 trailing one bits, and no run of
// 23 ones (a sync) can form across any sequence of codes.
constexpr int kMaxCodeLength = 12;

struct HuffmanCode {
  int length = 0;          // 0: residual not in the table
  std::uint16_t bits = 0;  // right-aligned
};

struct HuffmanTable {
  std::array<HuffmanCode, 256> codes;  // indexed by the residual as an unsigned byte
  std::vector<std::uint8_t> stored;    // count - 1, then (length - 1, code << (16 - length), residual)
};

// Longest code with long codes asked for.
constexpr int kMaxLongCodeLength = 16;

// counts[v]: how often residual (int8_t)v occurs. Residuals that never occur
// get no code; a table always has at least one entry. With longCodes the four
// rarest residuals get codes of 13, 14, 15 and 16 bits, which real discs use
// and decoders must take the slow road for.
HuffmanTable BuildHuffmanTable(const std::array<std::uint64_t, 256>& counts, bool longCodes = false);

// How often each residual occurs, indexed as BuildHuffmanTable wants it.
std::array<std::uint64_t, 256> CountResiduals(const std::vector<std::int8_t>& values);

// Writes bits most significant first.
class BitWriter {
 public:
  void Put(std::uint32_t bits, int count);  // count at most 32
  void PutSync();                       // 23 ones and a zero
  void PutRowHeader(int plane, int row);  // 2 bits plane, 1 spare, 12 bits row, 1 spare
  // A residual row: sync, header, then the code of each value.
  void PutRow(const HuffmanTable& table, int plane, int row, const std::int8_t* values, int count);
  void PadToByte();
  std::uint64_t BitPosition() const { return bitCount_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t accumulator_ = 0;
  int pendingBits_ = 0;
  std::uint64_t bitCount_ = 0;
};

}  // namespace pcdmake
