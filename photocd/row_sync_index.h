// Every residual row of a stretch of data, found by one pass over its syncs:
// used when rows are not where their row table points, so that no row is
// searched for more than once. A header whose plane or row number does not
// fit the rows around it (a flipped bit, wrong bytes that read as a sync) is
// passed over rather than taken for the end of the rows.
#pragma once
#include <cstdint>
#include <vector>

#include "bit_reader.h"
#include "pcd_layout.h"

// Which headers count as rows: per plane code (0 luma, 2 chroma 1, 3 chroma 2)
// the number of rows, and how a header's row number maps to a row.
struct RowSyncLayout {
  int rows[3] = {};          // rows of slot 0 (luma), 1 (chroma 1), 2 (chroma 2); 0: not stored
  int chromaRowScale = 1;    // chroma headers carry row x this (2 in 16BASE: the luma row they go with)
  bool anyPlaneIsLuma = false;  // every header is a luma row whatever its plane (4BASE)
};

class RowSyncIndex {
 public:
  // Reads every row header from bit `begin` to bit `end` once and keeps, for
  // each slot, the longest run of rows whose numbers rise with their place.
  // The statuses of reading (a read error ends the pass early; what was
  // found before it is kept).
  PcdStatus Build(BitReader& bits, std::uint64_t begin, std::uint64_t end, const RowSyncLayout& layout);
  bool built() const { return built_; }
  // The bit after the header of a slot's row; 0 when none fits.
  std::uint64_t Find(int slot, int row) const;
  // The last row of a slot found; -1 when none was.
  int lastRow(int slot) const { return lastRow_[slot]; }
  // Why the pass ended early (a read error), else 0.
  PcdStatus scanStatus() const { return scanStatus_; }

 private:
  bool built_ = false;
  PcdStatus scanStatus_ = kPcdOk;
  std::vector<std::uint64_t> starts_[3];
  int lastRow_[3] = {-1, -1, -1};
};

// Calls found(header, bit after it) for every row header from bit `begin` to
// bit `end`; stops early when found returns false. The statuses of reading
// (0 at the end of the stretch or of the file).
template <typename Found>
PcdStatus PcdScanRowHeaders(BitReader& bits, std::uint64_t begin, std::uint64_t end, Found&& found) {
  PcdStatus status = bits.Seek(begin);
  while (status == kPcdOk || status == kPcdReadFailed) {
    RowHeader header{};
    if (status == kPcdReadFailed) {
      // A sector that does not read loses only its own rows: go on after it.
      const std::uint64_t sectorBits = std::uint64_t{pcd::kSectorSize} * 8;
      const std::uint64_t next = (bits.Position() / sectorBits + 1) * sectorBits;
      if (next >= end) break;
      status = bits.Seek(next);
      continue;
    }
    status = bits.NextHeader(header, end);
    if (status == kPcdOk && !found(header, bits.Position())) break;
  }
  return status == kPcdBadSignature || status == kPcdEndOfFile ? PcdStatus{kPcdOk} : status;
}
