// Residual bit streams: bits most significant first, read through a sector
// reader into a 64-bit buffer; row syncs (23 or more one bits and a zero),
// 16-bit row headers and Huffman codes.
#pragma once
#include <cstdint>

#include "huffman_table.h"
#include "pcd_status.h"
#include "sector_reader.h"

struct RowHeader {
  int plane;  // 0 luma, 2 chroma 1, 3 chroma 2
  int row;
};

class BitReader {
 public:
  explicit BitReader(SectorReader& reader) : reader_(reader) {}

  // Starts reading at a file bit offset. 3009, 3007, 5.
  PcdStatus Seek(std::uint64_t bitOffset);
  // Starts reading at the first bit of a sector.
  PcdStatus SeekSector(std::uint32_t sector) { return Seek(std::uint64_t{sector} * 2048 * 8); }
  // File bit offset of the next bit.
  std::uint64_t Position() const;

  // Consumes everything up to and including the zero that ends the next run
  // of at least 23 ones, then the 16-bit row header. 5 at the end of the file;
  // 3000 when no such zero lies before bit `before`.
  PcdStatus NextHeader(RowHeader& header, std::uint64_t before = kNoLimit);
  static constexpr std::uint64_t kNoLimit = ~std::uint64_t{0};
  // Whether the next bits are the 23 ones a sync starts with.
  bool AtSync();
  // Whether the next bits are a sync after nothing but zeros (fill bits, or
  // the end of the data); 32 zeros or more count as fill.
  bool AtFillOrSync();

  // Decodes count codes; values may be null to pass them by. Bits that start
  // no code mean damage (kPcdRowBadCode): the rest of the values are zero (the
  // samples keep their interpolated value) and reading stays at those bits,
  // so the next sync search starts there. 5 when the file ends inside the codes.
  PcdStatus Decode(const HuffmanTable& table, int count, std::int8_t* values);

 private:
  void Refill();
  void RefillSlow();
  PcdStatus EndRowAtDamage(std::int8_t* values, int done, int count);
  void Consume(int n) {
    bits_ <<= n;
    count_ -= n;
  }
  bool Overrun() const { return ended_ && count_ < padding_; }
  // Why reading stopped: a failed read or seek, else the end of the file.
  PcdStatus EndStatus() const { return failure_ != kPcdOk ? failure_ : PcdStatus{kPcdEndOfFile}; }

  SectorReader& reader_;
  std::uint64_t bits_ = 0;  // next bit in the most significant position
  int count_ = 0;           // bits of bits_ that are stream (or padding) bits
  int padding_ = 0;         // zero bits added past the end of the file, at the bottom of bits_
  bool ended_ = false;
  PcdStatus failure_ = kPcdOk;  // why the stream ended early, if not the end of the file
};

constexpr int kPcdRowHeaderBits = 16;
// Fill bits may stand between a row's last code and the next row's sync: the
// next row is looked for this far on from where a row ended.
constexpr std::uint64_t kPcdMaxFillBits = 2048 * 8;
inline RowHeader PcdParseRowHeader(std::uint32_t word) {
  return {static_cast<int>(word >> 14), static_cast<int>((word >> 1) & 0xFFF)};
}
