// A small reader of residual rows for checking what pcdmake writes: parses a
// stored code table, finds syncs and row headers, and decodes codes.
#pragma once
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace pcdmake_test {

class CodeTable {
 public:
  // Parses the stored form at data; false when it is malformed.
  bool Parse(const std::uint8_t* data, std::size_t size);
  std::size_t StoredSize() const { return 1 + 4 * codes_.size(); }
  // (length, right-aligned code) -> residual
  const std::map<std::pair<int, std::uint32_t>, std::int8_t>& Codes() const { return codes_; }
  // By the next 16 bits: code length (0 when no code matches) and residual.
  std::pair<int, std::int8_t> Lookup(std::uint32_t next16) const { return lookup_[next16]; }

 private:
  std::map<std::pair<int, std::uint32_t>, std::int8_t> codes_;
  std::vector<std::pair<int, std::int8_t>> lookup_;
};

class BitReader {
 public:
  BitReader(const std::vector<std::uint8_t>& bytes, std::size_t byteOffset) : bytes_(bytes), bit_(byteOffset * 8) {}
  int Bit();
  std::uint32_t Bits(int n);
  std::uint32_t Peek16() const;
  // Skips to the end of the next run of at least 23 ones and its zero;
  // returns the number of ones, 0 at the end of the data.
  int NextSync();
  // Decodes one code; false when no code matches within 16 bits.
  bool Decode(const CodeTable& table, std::int8_t& value);
  std::size_t BitPosition() const { return bit_; }
  bool AtEnd() const { return bit_ >= bytes_.size() * 8; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t bit_;
};

struct RowHeader {
  int plane;
  int row;
};
inline RowHeader ParseHeader(std::uint32_t h) { return {static_cast<int>(h >> 14), static_cast<int>((h >> 1) & 0xFFF)}; }

}  // namespace pcdmake_test
