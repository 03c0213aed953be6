// Image packs with 4BASE and 16BASE residuals, built for the decoder tests
// with a small code table, together with the whole planes the decoder must
// reproduce at each level.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using Residuals = std::vector<std::int8_t>;

struct Ycc {
  int width = 0, height = 0;  // all three planes at full resolution
  Bytes y, c1, c2;
};

struct PackRecipe {
  int topLevel = 5;            // 4 or 5
  int rotation = 0;            // 0 to 3
  int imageSectors = 1;        // interleave a
  int audioSectors = 0;        // interleave b
  bool chromaAfterLuma = true; // 16BASE chroma after all luma rows; else after luma row n | 1
  int fillEvery = 0;           // 8 zero bits before the sync of every n-th 4BASE row
  unsigned seed = 1;
};

struct BuiltPack {
  Bytes file;
  Bytes baseY, baseC1, baseC2;  // 768 x 512, 384 x 256
  Residuals r4, r16, c16[2];    // 1536 x 1024, 3072 x 2048, 1536 x 1024
  std::uint32_t table4Sector = 0, rows4Sector = 0, sector16 = 0;
};

BuiltPack BuildPack(const PackRecipe& recipe);
// The decoded image of level 4 or 5 computed on whole planes.
Ycc ReferenceImage(const BuiltPack& pack, int level);

// A writer of MSB-first bit streams with syncs and row headers.
class Bits {
 public:
  void Put(std::uint32_t value, int count);
  void Sync(int ones = 23);
  void Header(int plane, int row) { Put(static_cast<std::uint32_t>((plane << 14) | (row << 1)), 16); }
  void Residual(std::int8_t value);  // through the test code table
  void Pad();
  std::size_t BitCount() const { return bits_; }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  std::size_t bits_ = 0;
};

// The stored form of the test code table: 0 -> "0", v != 0 in -8..7 -> "1" and
// four bits (never "1111", so no code run can fake a sync).
Bytes TestCodeTable();
// Random residuals in -8..7, half of them zero.
Residuals RandomResiduals(std::size_t count, unsigned seed);

// A minimal overview pack: count photos, attribute bytes, thumbnails from seeds.
Bytes OverviewBytes(int count, const Bytes& attributes, std::uint8_t major = 1, std::uint8_t minor = 0);

void WriteFile(const std::string& path, const Bytes& bytes);
