#include "damaged_header.h"

#include <algorithm>
#include <vector>

#include "pcd_bytes.h"
#include "pcd_layout.h"

namespace {

constexpr std::uint32_t kBaseEnd = pcd::kBaseOffset + pcd::RowPairBytes(768) * 256;

bool ReadAt(PcdFile* file, std::uint32_t offset, std::vector<std::uint8_t>& bytes) {
  std::uint32_t got = 0;
  std::vector<std::uint32_t> unreadable;
  if (PcdFileReadAround(file, offset, bytes.data(), static_cast<std::uint32_t>(bytes.size()), got, unreadable) != kPcdOk)
    return false;
  bytes.resize(got);
  return true;
}

// A row starts on a sector: 23 one bits and a zero.
bool SyncAt(const std::uint8_t* p) { return p[0] == 0xFF && p[1] == 0xFF && (p[2] & 0xFE) == 0xFE; }

// The 16BASE table sector T: the first sector after the 4BASE rows whose row
// table (at T + 10) points its first row at T + 13, where a sync begins.
std::uint32_t Find16BaseTables(const std::vector<std::uint8_t>& tail, std::uint32_t firstSector) {
  const std::uint32_t sectors = static_cast<std::uint32_t>(tail.size() / pcd::kSectorSize);
  for (std::uint32_t s = 0; s + pcd::k16BaseFirstRowSectorDelta < sectors; ++s) {
    const std::uint8_t* table = tail.data() + std::size_t{s + pcd::k16BaseRowTableSectorDelta} * pcd::kSectorSize;
    const std::uint8_t* row = tail.data() + std::size_t{s + pcd::k16BaseFirstRowSectorDelta} * pcd::kSectorSize;
    if (PcdBigEndian16(table) == pcd::k16BaseFirstRowSectorDelta && SyncAt(row) &&
        PcdBigEndian16(table + 2) >= PcdBigEndian16(table))
      return firstSector + s;
  }
  return 0;
}

}  // namespace

PcdStatus PcdOpenWithDamagedHeader(ImagePack& pack) {
  std::uint32_t size = 0;
  if (PcdFileSize(pack.file, size) != kPcdOk || size < kBaseEnd) return kPcdBadSignature;
  std::vector<std::uint8_t> base16(pcd::kBase4Offset - pcd::kBase16Offset);
  if (!ReadAt(pack.file, pcd::kBase16Offset, base16) || std::all_of(base16.begin(), base16.end(), [](std::uint8_t b) { return b == 0; }))
    return kPcdBadSignature;
  pack.version = 0;
  pack.storedOrientation = pack.orientation = Orientation{};
  pack.highestOwnLevel = pcd::kLevelBase;
  pack.tableSector16Base = pack.entryOffset16Base = 0;
  // 4BASE: its row table points its first row at sector 389, where a sync begins.
  std::vector<std::uint8_t> tables(2 * pcd::kSectorSize + 3);
  const std::uint32_t rows4 = pcd::k4BaseFirstRowSector - pcd::k4BaseRowBaseSector;
  if (!ReadAt(pack.file, pcd::k4BaseRowTableOffset, tables) || tables.size() < 2 * pcd::kSectorSize + 3 ||
      PcdBigEndian16(tables.data()) != rows4 || !SyncAt(tables.data() + 2 * pcd::kSectorSize))
    return kPcdOk;
  pack.highestOwnLevel = pcd::kLevel4Base;
  std::vector<std::uint8_t> tail(size - pcd::k4BaseFirstRowSector * pcd::kSectorSize);
  if (!ReadAt(pack.file, pcd::k4BaseFirstRowSector * pcd::kSectorSize, tail)) return kPcdOk;
  const std::uint32_t t = Find16BaseTables(tail, pcd::k4BaseFirstRowSector);
  if (t == 0) return kPcdOk;
  pack.highestOwnLevel = pcd::kLevel16Base;
  pack.tableSector16Base = pack.entryOffset16Base = t;
  return kPcdOk;
}
